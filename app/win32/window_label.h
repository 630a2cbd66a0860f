// Where a label is drawn on Windows: the main window paints it on its own client area, in the
// label's font and colour, as its LabelControl lays the lines out. It is no window of its own.
#pragma once

#include <windows.h>

#include <algorithm>

#include "app/label_control.h"
#include "app/text_colour.h"
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
    Result<> useFont(const LabelFont& font) override {
        LOGFONTW logFont{};
        if (windowFont_) GetObjectW(windowFont_, sizeof logFont, &logFont);
        if (const FontDescription* f = font.face) {
            logFont = LOGFONTW{};
            logFont.lfWeight = f->weight;
            logFont.lfCharSet = f->charset;
            const std::size_t n = std::min(f->face.size(), std::size_t{LF_FACESIZE - 1});
            std::copy_n(f->face.begin(), n, logFont.lfFaceName);
        } else if (font.emPixels == 0) {
            return {};  // the window's font as it is
        }
        // A negative height asks for the em height rather than the cell height.
        if (font.emPixels > 0) logFont.lfHeight = -font.emPixels;
        SetLastError(ERROR_SUCCESS);
        HFONT made = CreateFontIndirectW(&logFont);
        if (!made) return Failure{lastErrorOr(ERROR_INVALID_PARAMETER)};
        SelectObject(measure_.get(), made);
        ownFont_.reset(made);
        return {};
    }
    int textWidth(std::u16string_view run) const override {
        SIZE size{};
        GetTextExtentPoint32W(measure_.get(), reinterpret_cast<const wchar_t*>(run.data()),
                              static_cast<int>(run.size()), &size);
        return static_cast<int>(size.cx);
    }
    LineMetrics lineMetrics() const override {
        TEXTMETRICW metrics{};
        GetTextMetricsW(measure_.get(), &metrics);
        return {metrics.tmAscent, metrics.tmDescent};
    }
    void invalidate() override {
        const RECT r = rect();
        InvalidateRect(window_, &r, TRUE);
    }
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

    // Draws the label on `dc`, the window's client area.
    void paint(HDC dc) const {
        const LabelControl* label = control();
        if (!label || !label->visible()) return;
        const RECT r = rect();
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        SelectObject(dc, font());
        // A COLORREF is laid out as a colour value is, red in the low byte.
        const ColourValue c = labelTextColour(
            label->colour(),
            {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT), highContrastOn()});
        SetTextColor(dc, RGB(red(c), green(c), blue(c)));
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        for (const DrawnLine& line : label->linesToDraw())
            TextOutW(dc, r.left, r.top + line.top,
                     reinterpret_cast<const wchar_t*>(line.text.data()),
                     static_cast<int>(line.text.size()));
        RestoreDC(dc, saved);
    }
    HFONT font() const { return ownFont_ ? ownFont_.get() : windowFont_; }

  private:
    static bool highContrastOn() {
        HIGHCONTRASTW settings{};
        settings.cbSize = sizeof settings;
        return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof settings, &settings, 0) &&
               (settings.dwFlags & HCF_HIGHCONTRASTON);
    }
    RECT rect() const { return control() ? toRect(control()->rect()) : RECT{}; }

    HWND window_;
    HFONT windowFont_;
    Font ownFont_;
    MemoryDc measure_;  // holds the label's font, for measuring; deleted before it
    LONG accessibleId_ = 0;
};

}  // namespace fernwick::win32
