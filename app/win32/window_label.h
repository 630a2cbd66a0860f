// A label: text that the main window draws itself in its client area, in the label's font and
// colour, broken into lines by the shared label layout and cut at the label's rectangle. It is no
// window of its own, so its operations change state held here and invalidate its rectangle.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/control_table.h"
#include "app/controls.h"
#include "app/label_layout.h"

namespace fernwick::win32 {

class WindowLabel final : public Label {
  public:
    // `rect` is in client pixels. The label draws in its own font when the record names one,
    // otherwise in `windowFont`, which it does not own.
    WindowLabel(const ControlRecord& record, const RECT& rect, int dpiY, HFONT windowFont);
    ~WindowLabel() override;
    WindowLabel(const WindowLabel&) = delete;
    WindowLabel& operator=(const WindowLabel&) = delete;

    // The window that draws the label. Until it is set, or once it is destroyed, every operation
    // fails with ERROR_INVALID_WINDOW_HANDLE.
    void attach(HWND window) { window_ = window; }

    Result getText(std::u16string& text) const override;
    Result setText(std::u16string_view text) override;
    Result setFontSize(float points) override;

    // Draws the label on `dc`, the window's client area, unless it is hidden.
    void paint(HDC dc);

    const RECT& rect() const { return rect_; }
    bool visible() const { return visible_; }
    HFONT font() const { return ownFont_ ? ownFont_ : windowFont_; }

  private:
    Result invalidate() const;
    const std::vector<LabelLine>& lines(HDC dc);

    HWND window_ = nullptr;
    RECT rect_;
    bool visible_;
    std::u16string text_;
    std::optional<COLORREF> colour_;  // none: the system button-text colour
    int dpiY_;
    HFONT windowFont_;
    HFONT ownFont_ = nullptr;
    LOGFONTW logFont_{};  // the font the label draws in, for size changes
    std::vector<LabelLine> lines_;
    bool linesValid_ = false;
};

// The code GetLastError gives for a call that just failed, or `fallback` where the call left none.
std::uint32_t lastErrorOr(std::uint32_t fallback);

}  // namespace fernwick::win32
