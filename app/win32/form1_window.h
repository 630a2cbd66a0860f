// Form1 with the Windows API: a top-level window that draws the labels itself, a BUTTON child for
// STARTBUTTON and a child window for the picture frame, made as the core walks the table.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "app/control_table.h"
#include "app/form_builder.h"
#include "app/win32/accessible.h"
#include "app/win32/window_base.h"

namespace fernwick::win32 {

class WindowLabel;

class Form1Window final : public Window, private ControlFactory {
  public:
    // Builds the window and its controls, hidden; hwnd() is null if that failed (GetLastError
    // says why). The icon is `instance`'s.
    explicit Form1Window(HINSTANCE instance);
    ~Form1Window() override;

    // The child window of the control at `index`; null for labels, which are not windows.
    HWND controlWindow(std::size_t index) const { return windows_.at(index); }
    // The label at `index`, and the font it is drawn in; null for another kind of control.
    LabelControl* label(std::size_t index) const { return built_->label(index); }
    HFONT labelFont(std::size_t index) const;

    Form1& form() { return built_->form(); }

    // Shows the window in the table's initial state, the focus on the first control to take it.
    void showFirstWelcomeScreen();

    // Tab and Space for a queued message; true when it was handled and must not be dispatched.
    bool handleDialogKeys(MSG& msg);

    // Handles the thread's messages until WM_QUIT; returns its exit status.
    int run();

    // Ends the program after a failed click is reported (at once); tests record it instead.
    void setEndProgram(std::function<void(int status)> end) { endProgram_ = std::move(end); }

  private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::unique_ptr<PictureFrame> makePictureFrame(const ControlRequest& request) override;
    std::unique_ptr<PushButton> makePushButton(const ControlRequest& request,
                                               std::function<void()> clicked) override;
    LabelSurface& makeLabelSurface(const ControlRequest& request, LabelControl& label) override;
    void paint(HDC dc) override;  // the labels
    void focusControl();

    WindowModel model_;
    HINSTANCE instance_;
    Font font_;  // the window's: the system's message font at its DPI
    std::array<HWND, kControlCount> windows_{};  // each control's, in table order; null for labels
    std::vector<std::unique_ptr<WindowLabel>> labels_;
    std::vector<AccessibleElement> shown_;  // what a screen reader sees, in table order
    HWND lastFocus_ = nullptr;  // the control that had focus when the window was deactivated
    std::array<std::function<void()>, kControlCount> clicks_;  // each button's click handler
    std::unique_ptr<BuiltForm> built_;
    ClientObject accessibility_;  // made when a reader first asks
    std::function<void(int status)> endProgram_;
};

}  // namespace fernwick::win32
