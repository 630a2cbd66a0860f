// The main window as the game sees it: its controls as named members, and its one event handler.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <utility>

#include "app/controls.h"

namespace fernwick {

class Form1 {
  public:
    // Called when a control operation fails during a click. The front end tells the user the
    // code in a modal message and then ends the program without handling any further event.
    using ControlFailed = std::function<void(std::uint32_t code)>;

    Form1(PictureFrame& picture1, PushButton& startButton, Label& status, Label& heading,
          ControlFailed controlFailed)
        : Picture1(picture1),
          STARTBUTTON(startButton),
          status(status),
          HEADING(heading),
          controlFailed_(std::move(controlFailed)) {}
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The click of STARTBUTTON: switches between the welcome screen and the won screen.
    void STARTBUTTON_Click();
    // Every caption the click gives STARTBUTTON, so that a front end can size its font for them.
    static std::span<const std::u16string_view> STARTBUTTON_Captions();

    // The controls, named as the window names them. The window owns them for its whole life.
    PictureFrame& Picture1;
    PushButton& STARTBUTTON;
    Label& status;
    Label& HEADING;

  private:
    ControlFailed controlFailed_;
};

}  // namespace fernwick
