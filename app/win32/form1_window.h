// Form1 with the Windows API: a top-level window that draws the labels itself, a BUTTON child for
// STARTBUTTON and a child window for the picture frame, made as the core walks the table.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string_view>
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
    // says why). The icon is `instance`'s. Throws TableError when the table lacks a control.
    explicit Form1Window(HINSTANCE instance, const ControlTable& table = controlTable());
    ~Form1Window() override;

    // The child window of the control named `name`; null for labels, which are not windows.
    HWND controlWindow(std::u16string_view name) const;
    // A label by name, and the font it is drawn in; nullptr when there is no such label.
    LabelControl* label(std::u16string_view name) const { return built_->label(name); }
    HFONT labelFont(std::u16string_view name) const;

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
    void controlsMade(std::span<const std::size_t> focusOrder) override;
    void paint(HDC dc) override;  // the labels
    void focusControl();

    WindowModel model_;
    HINSTANCE instance_;
    Font font_;                  // the window's: the system's message font at its DPI
    std::vector<HWND> windows_;  // each control's window, in table order; null for labels
    std::vector<std::unique_ptr<WindowLabel>> labels_;
    std::vector<AccessibleElement> shown_;  // what a screen reader sees, in table order
    std::vector<HWND> focusOrder_;          // the controls that take focus, in tab order
    HWND lastFocus_ = nullptr;  // the control that had focus when the window was deactivated
    std::vector<std::function<void()>> clicks_;  // each button's click handler, in table order
    std::unique_ptr<BuiltForm> built_;
    ClientObject accessibility_;  // made when a reader first asks
    std::function<void(int status)> endProgram_;
};

}  // namespace fernwick::win32
