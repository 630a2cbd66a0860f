// A label as the game and the window see it: its text, its font and the lines it shows. The front
// end draws it on a LabelSurface, which measures text in the label's font and repaints it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/control_table.h"
#include "app/controls.h"
#include "app/label_layout.h"

namespace fernwick {

// The font a label draws in. Its size is kept in points; the em is in pixels for the screen.
struct LabelFont {
    const FontDescription* face = nullptr;  // none: the window's font
    std::optional<float> points;            // none: the window font's own size
    int emPixels = 0;                       // 0: the window font's own size
};

struct LineMetrics {
    int ascent = 0;
    int descent = 0;
};

// One line as it is drawn: its text and where it goes, relative to the label's top-left corner.
struct DrawnLine {
    std::u16string_view text;
    int top;
    int baseline;
};

class LabelControl;

// What a front end does for a label: make its font, measure in it, and repaint the label.
class LabelSurface {
  public:
    virtual ~LabelSurface();
    // False once the window that draws the label is gone: every operation then fails.
    virtual bool exists() const = 0;
    // Makes `font` the one the label is measured and drawn in from now on.
    virtual Result<> useFont(const LabelFont& font) = 0;
    virtual int textWidth(std::u16string_view run) const = 0;
    virtual LineMetrics lineMetrics() const = 0;
    // Asks for the label's rectangle to be painted again at the next repaint.
    virtual void invalidate() = 0;
    // The text has just changed (screen readers are told, say).
    virtual void textChanged() {}

    LabelControl* control() const { return control_; }

  private:
    friend class LabelControl;
    LabelControl* control_ = nullptr;
};

class LabelControl final : public Label {
  public:
    // Starts from `record`, which outlives it, at `rect` on a screen of `dpi`.
    LabelControl(const ControlRecord& record, const PixelRect& rect, int dpi);
    ~LabelControl() override;
    LabelControl(const LabelControl&) = delete;
    LabelControl& operator=(const LabelControl&) = delete;

    // Draws on `surface`, once, from now on; without a live surface, every operation fails with
    // kInvalidWindowHandle.
    void attach(LabelSurface& surface);

    Result<std::u16string> getText() const override;
    Result<> setText(std::u16string_view text) override;
    Result<> setFontSize(float points) override;

    const std::u16string& text() const { return text_; }
    const LabelFont& font() const { return font_; }
    std::optional<ColourValue> colour() const { return record_.textColour; }  // none: button text
    bool visible() const { return record_.visible; }
    const PixelRect& rect() const { return rect_; }

    // The text's lines after line breaking, and the height between them.
    const std::vector<LabelLine>& lines() const;
    int lineHeight() const;
    // The lines that show, at least in part, inside the rectangle; empty lines are left out.
    std::vector<DrawnLine> linesToDraw() const;
    // The surface's metrics changed (another screen, say): lines are laid out anew when asked.
    void discardLines() { linesValid_ = false; }
    // The em height is worked out for `dpi`; the text and the size in points stay.
    void place(const PixelRect& rect, int dpi) override;

  private:
    friend class LabelSurface;
    bool attached() const { return surface_ && surface_->exists(); }

    const ControlRecord& record_;
    LabelSurface* surface_ = nullptr;
    std::u16string text_;
    LabelFont font_;
    PixelRect rect_;
    int dpi_;
    mutable std::vector<LabelLine> lines_;
    mutable bool linesValid_ = false;
};

}  // namespace fernwick
