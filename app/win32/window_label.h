// Where a label is drawn on Windows: the main window paints it on its own client area, in the
// label's font and colour, as its LabelControl lays the lines out. It is no window of its own.
#pragma once

#include <windows.h>

#include "app/label_control.h"
#include "app/win32/window_base.h"

namespace fernwick::win32 {

class WindowLabel final : public LabelSurface {
  public:
    // `window` paints the label; `windowFont`, the window's font, is not owned.
    WindowLabel(HWND window, HFONT windowFont)
        : window_(window), windowFont_(windowFont), measure_(CreateCompatibleDC(nullptr)) {
        SelectObject(measure_.get(), windowFont_);
    }

    bool exists() const override { return IsWindow(window_); }
    Result<> useFont(const LabelFont& font) override;
    int textWidth(std::u16string_view run) const override;
    LineMetrics lineMetrics() const override;
    void invalidate() override {
        const RECT r = rect();
        InvalidateRect(window_, &r, TRUE);
    }
    // Tells screen readers the label's name changed, if they can see the label.
    void textChanged() override {
        if (accessibleId_)
            NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window_, OBJID_CLIENT, accessibleId_);
    }

    // The window's font changed (a new DPI, say); the label's own font is made anew by useFont.
    void setWindowFont(HFONT windowFont) {
        windowFont_ = windowFont;
        if (!ownFont_) SelectObject(measure_.get(), windowFont_);
    }
    // The label's child id in the window's accessible object; 0 while readers cannot see it.
    void setAccessibleId(LONG id) { accessibleId_ = id; }

    // Draws the label on `dc`, the window's client area, unless it is hidden.
    void paint(HDC dc) const;
    HFONT font() const { return ownFont_ ? ownFont_.get() : windowFont_; }

  private:
    RECT rect() const { return control() ? toRect(control()->rect()) : RECT{}; }

    HWND window_;
    HFONT windowFont_;
    Font ownFont_;
    MemoryDc measure_;  // holds the label's font, for measuring; deleted before it
    LONG accessibleId_ = 0;
};

}  // namespace fernwick::win32
