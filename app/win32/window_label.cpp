#include "app/win32/window_label.h"

#include <algorithm>
#include <cwchar>

#include "app/units.h"

namespace fernwick::win32 {

std::uint32_t lastErrorOr(std::uint32_t fallback) {
    const DWORD code = GetLastError();
    return code != ERROR_SUCCESS ? code : fallback;
}

WindowLabel::WindowLabel(const ControlRecord& record, const RECT& rect, int dpiY, HFONT windowFont)
    : rect_(rect),
      visible_(record.visible),
      text_(record.text.value_or(std::u16string_view{})),
      dpiY_(dpiY),
      windowFont_(windowFont) {
    if (record.textColour) {
        const ColourValue c = *record.textColour;
        colour_ = RGB(red(c), green(c), blue(c));
    }
    if (windowFont_) GetObjectW(windowFont_, sizeof logFont_, &logFont_);
    if (record.font) {
        const FontDescription& f = *record.font;
        logFont_ = LOGFONTW{};
        // A negative height asks for the em height rather than the cell height.
        logFont_.lfHeight = -emPixels(pointsFromTenThousandths(f.size), dpiY_);
        logFont_.lfWeight = f.weight;
        logFont_.lfItalic = f.italic;
        logFont_.lfUnderline = f.underline;
        logFont_.lfStrikeOut = f.strikeout;
        logFont_.lfCharSet = f.charset;
        logFont_.lfOutPrecision = OUT_DEFAULT_PRECIS;
        logFont_.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        logFont_.lfQuality = DEFAULT_QUALITY;
        logFont_.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
        const std::size_t n = std::min(f.face.size(), std::size_t{LF_FACESIZE - 1});
        std::copy_n(f.face.begin(), n, logFont_.lfFaceName);
        logFont_.lfFaceName[n] = L'\0';
        // Should the face not be made, the label still shows, in the window's font.
        ownFont_ = CreateFontIndirectW(&logFont_);
    }
}

WindowLabel::~WindowLabel() {
    if (ownFont_) DeleteObject(ownFont_);
}

Result WindowLabel::invalidate() const {
    if (!IsWindow(window_)) return Result::failure(ERROR_INVALID_WINDOW_HANDLE);
    SetLastError(ERROR_SUCCESS);
    if (!InvalidateRect(window_, &rect_, TRUE)) {
        return Result::failure(lastErrorOr(ERROR_INVALID_WINDOW_HANDLE));
    }
    return Result::success();
}

Result WindowLabel::getText(std::u16string& text) const {
    if (!IsWindow(window_)) return Result::failure(ERROR_INVALID_WINDOW_HANDLE);
    text = text_;
    return Result::success();
}

Result WindowLabel::setText(std::u16string_view text) {
    // The rectangle is repainted later, so invalidating first leaves nothing half done.
    if (Result r = invalidate(); !r.ok()) return r;
    text_ = text;
    linesValid_ = false;
    return Result::success();
}

Result WindowLabel::setFontSize(float points) {
    if (!IsWindow(window_)) return Result::failure(ERROR_INVALID_WINDOW_HANDLE);
    const int em = emPixels(points, dpiY_);
    if (em == 0) return Result::failure(ERROR_INVALID_PARAMETER);
    LOGFONTW changed = logFont_;
    changed.lfHeight = -em;
    SetLastError(ERROR_SUCCESS);
    HFONT font = CreateFontIndirectW(&changed);
    if (!font) return Result::failure(lastErrorOr(ERROR_INVALID_PARAMETER));
    if (Result r = invalidate(); !r.ok()) {
        DeleteObject(font);
        return r;
    }
    if (ownFont_) DeleteObject(ownFont_);
    ownFont_ = font;
    logFont_ = changed;
    linesValid_ = false;
    return Result::success();
}

const std::vector<LabelLine>& WindowLabel::lines(HDC dc) {
    if (!linesValid_) {
        const auto measure = [dc](std::u16string_view run) {
            SIZE size{};
            const auto* chars = reinterpret_cast<const wchar_t*>(run.data());
            GetTextExtentPoint32W(dc, chars, static_cast<int>(run.size()), &size);
            return static_cast<int>(size.cx);
        };
        lines_ = layoutLabelLines(text_, rect_.right - rect_.left, measure);
        linesValid_ = true;
    }
    return lines_;
}

void WindowLabel::paint(HDC dc) {
    if (!visible_) return;
    // Nothing to do when the label lies outside the area being painted.
    RECT clip{};
    const int clipKind = GetClipBox(dc, &clip);
    if (clipKind == NULLREGION) return;
    if (clipKind != ERROR && !IntersectRect(&clip, &clip, &rect_)) return;

    const int saved = SaveDC(dc);
    IntersectClipRect(dc, rect_.left, rect_.top, rect_.right, rect_.bottom);
    FillRect(dc, &rect_, GetSysColorBrush(COLOR_BTNFACE));
    SelectObject(dc, font());
    SetTextColor(dc, colour_ ? *colour_ : GetSysColor(COLOR_BTNTEXT));
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);

    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    // No external leading: lines sit ascent plus descent apart.
    const int step = metrics.tmAscent + metrics.tmDescent;
    const std::vector<LabelLine>& all = lines(dc);
    const std::size_t shown = visibleLineCount(all.size(), step, rect_.bottom - rect_.top);
    for (std::size_t i = 0; i < shown; ++i) {
        if (all[i].length == 0) continue;
        const auto* chars = reinterpret_cast<const wchar_t*>(text_.data() + all[i].start);
        TextOutW(dc, rect_.left, rect_.top + static_cast<int>(i) * step, chars,
                 static_cast<int>(all[i].length));
    }
    RestoreDC(dc, saved);
}

}  // namespace fernwick::win32
