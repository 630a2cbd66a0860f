// Form1, the program's only window, built from the control table with the Windows API: a
// top-level window that draws the labels itself, a BUTTON child for STARTBUTTON and a child
// window for the picture frame.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "app/control_table.h"
#include "app/form1.h"
#include "app/label_control.h"
#include "app/window_model.h"

namespace fernwick::win32 {

class WindowLabel;
class WindowAccessibility;

class Form1Window {
  public:
    // How the program ends after a failed click has been reported: at once, handling no further
    // message; tests put a recorder in its place.
    using EndProgram = std::function<void(int status)>;
    static constexpr int kFailureExitStatus = 3;

    // STARTBUTTON's control identifier: neither IDOK (1) nor IDCANCEL (2), the identifiers the
    // dialog keys Enter and Escape send, so neither key can pass for a click.
    static constexpr int kFirstControlId = 100;

    // Builds the window and its controls, hidden. `instance` holds the icon resources. Throws
    // TableError when the table lacks a control the game needs.
    explicit Form1Window(HINSTANCE instance, const ControlTable& table = controlTable());
    ~Form1Window();
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    // The top-level window; null if it could not be made (GetLastError tells why).
    HWND hwnd() const { return hwnd_; }

    // The child window of the control named `name`; null for labels, which are not windows.
    HWND controlWindow(std::u16string_view name) const;

    // A label by name, and the font it is drawn in; nullptr when there is no such label.
    LabelControl* label(std::u16string_view name) const;
    HFONT labelFont(std::u16string_view name) const;

    // The window as the game sees it.
    Form1& form() { return *form_; }
    // What the window is laid out from, at the window's DPI.
    const WindowModel& model() const { return model_; }

    // Shows the window in the table's initial state with keyboard focus on the first control in
    // tab order that can take it.
    void showFirstWelcomeScreen();

    // Offers a queued message to the window's keyboard interface: Tab moves the focus and Space
    // presses the focused button. True when the message was handled and must not be dispatched.
    bool handleDialogKeys(MSG& msg);

    // Runs the message loop until the window is closed; returns the program's exit status.
    int run();

    void setEndProgram(EndProgram endProgram) { endProgram_ = std::move(endProgram); }

  private:
    struct Controls;

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Lays the window out for `dpi` in the outer rectangle `frame`, keeping the game's state.
    void applyDpi(int dpi, const RECT& frame);
    void paintLabels(HDC dc);
    void focusControl();
    void reportFailure(std::uint32_t code);

    WindowModel model_;
    HWND hwnd_ = nullptr;
    std::unique_ptr<Controls> controls_;
    std::unique_ptr<Form1> form_;
    std::unique_ptr<WindowAccessibility> accessibility_;  // made when a reader first asks
    EndProgram endProgram_;
};

}  // namespace fernwick::win32
