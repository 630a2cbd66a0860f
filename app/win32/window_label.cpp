#include "app/win32/window_label.h"

#include <algorithm>

#include "app/text_colour.h"

namespace fernwick::win32 {

namespace {

bool highContrastOn() {
    HIGHCONTRASTW settings{};
    settings.cbSize = sizeof settings;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof settings, &settings, 0) &&
           (settings.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace

Result<> WindowLabel::useFont(const LabelFont& font) {
    LOGFONTW logFont{};
    if (windowFont_) GetObjectW(windowFont_, sizeof logFont, &logFont);
    if (const FontDescription* f = font.face) {
        logFont = LOGFONTW{};
        logFont.lfWeight = f->weight;
        logFont.lfItalic = f->italic;
        logFont.lfUnderline = f->underline;
        logFont.lfStrikeOut = f->strikeout;
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

int WindowLabel::textWidth(std::u16string_view run) const {
    SIZE size{};
    GetTextExtentPoint32W(measure_.get(), reinterpret_cast<const wchar_t*>(run.data()),
                          static_cast<int>(run.size()), &size);
    return static_cast<int>(size.cx);
}

LineMetrics WindowLabel::lineMetrics() const {
    TEXTMETRICW metrics{};
    GetTextMetricsW(measure_.get(), &metrics);
    return {metrics.tmAscent, metrics.tmDescent};
}

void WindowLabel::paint(HDC dc) const {
    const LabelControl* label = control();
    if (!label || !label->visible()) return;
    const RECT r = rect();
    RECT clip{};
    const int clipKind = GetClipBox(dc, &clip);
    if (clipKind == NULLREGION) return;
    if (clipKind != ERROR && !IntersectRect(&clip, &clip, &r)) return;

    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    SelectObject(dc, font());
    // A COLORREF is laid out as a colour value is, red in the low byte.
    const ColourValue c =
        labelTextColour(label->colour(),
                        {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT), highContrastOn()});
    SetTextColor(dc, RGB(red(c), green(c), blue(c)));
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    for (const DrawnLine& line : label->linesToDraw())
        TextOutW(dc, r.left, r.top + line.top, reinterpret_cast<const wchar_t*>(line.text.data()),
                 static_cast<int>(line.text.size()));
    RestoreDC(dc, saved);
}

}  // namespace fernwick::win32
