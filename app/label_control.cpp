#include "app/label_control.h"

#include "app/units.h"

namespace fernwick {

constexpr Failure kGone{status_code::kInvalidWindowHandle};

LabelSurface::~LabelSurface() {
    if (control_) control_->surface_ = nullptr;
}

LabelControl::LabelControl(const ControlRecord& record, const PixelRect& rect, int dpi)
    : record_(record), text_(record.text.value_or(std::u16string_view{})), rect_(rect), dpi_(dpi) {
    // Its em height is worked out when it is placed.
    if (record.font) font_ = {&*record.font, float(pointsFromTenThousandths(record.font->size))};
}

LabelControl::~LabelControl() {
    if (surface_) surface_->control_ = nullptr;
}

void LabelControl::attach(LabelSurface& surface) {
    surface_ = &surface;
    surface.control_ = this;
    place(rect_, dpi_);
}

void LabelControl::place(const PixelRect& rect, int dpi) {
    rect_ = rect;
    dpi_ = dpi;
    if (font_.points) font_.emPixels = emPixels(*font_.points, dpi_);
    // Should the font not be made, the label still shows, in the surface's own font.
    if (attached()) (void)surface_->useFont(font_);
    linesValid_ = false;
}

Result<std::u16string> LabelControl::getText() const {
    return attached() ? Result<std::u16string>(text_) : kGone;
}

Result<> LabelControl::setText(std::u16string_view text) {
    if (!attached()) return kGone;
    text_ = text;
    linesValid_ = false;
    surface_->invalidate();
    surface_->textChanged();
    return {};
}

Result<> LabelControl::setFontSize(float points) {
    if (!attached()) return kGone;
    const int em = emPixels(points, dpi_);
    if (em == 0) return Failure{status_code::kInvalidParameter};
    const LabelFont font{font_.face, points, em};
    if (Result<> made = surface_->useFont(font); !made.ok()) return made;
    font_ = font;
    linesValid_ = false;
    surface_->invalidate();
    return {};
}

const std::vector<LabelLine>& LabelControl::lines() const {
    if (!linesValid_) {
        const auto width = [this](std::u16string_view run) { return surface_->textWidth(run); };
        lines_ = surface_ ? layoutLabelLines(text_, rect_.width, width) : std::vector<LabelLine>{};
        linesValid_ = true;
    }
    return lines_;
}

int LabelControl::lineHeight() const {
    if (!surface_) return 0;
    // No external leading: lines sit ascent plus descent apart.
    const LineMetrics m = surface_->lineMetrics();
    return m.ascent + m.descent;
}

std::vector<DrawnLine> LabelControl::linesToDraw() const {
    std::vector<DrawnLine> drawn;
    if (!surface_ || !visible()) return drawn;
    const int step = lineHeight(), ascent = surface_->lineMetrics().ascent;
    const std::vector<LabelLine>& all = lines();
    const std::size_t shown = visibleLineCount(all.size(), step, rect_.height);
    for (std::size_t i = 0; i < shown; ++i) {
        const int top = static_cast<int>(i) * step;
        if (all[i].length > 0)
            drawn.push_back({std::u16string_view(text_).substr(all[i].start, all[i].length), top,
                             top + ascent});
    }
    return drawn;
}

}  // namespace fernwick
