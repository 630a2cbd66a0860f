// The main window as the game sees it: its controls as named members, and its one event handler.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "app/controls.h"

namespace fernwick {

struct Form1 {
    // Called when a control operation fails during a click. The front end tells the user the
    // code in a modal message and then ends the program without handling any further event.
    using ControlFailed = std::function<void(std::uint32_t code)>;

    // The click of STARTBUTTON: switches between the welcome screen and the won screen.
    void STARTBUTTON_Click();
    // Every caption the click gives STARTBUTTON, so that a front end can size its font for them.
    static std::span<const std::u16string_view> STARTBUTTON_Captions();

    // The controls, named as the window names them. The window owns them for its whole life.
    PictureFrame& Picture1;
    PushButton& STARTBUTTON;
    Label& status;
    Label& HEADING;
    ControlFailed controlFailed;
};

}  // namespace fernwick
