// A label drawn by the window: button-face fill, no border, left-aligned text from the top-left
// corner in the lines its LabelControl lays out, cut at the edges. It never resizes to its text
// and takes no keyboard focus.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <QWidget>
#include <optional>

#include "app/control_table.h"
#include "app/label_control.h"

namespace fernwick::qt {

class LabelWidget : public QWidget, public LabelSurface {
    Q_OBJECT
  public:
    explicit LabelWidget(QWidget* parent);

    QString text() const;
    const QFont& labelFont() const;

    bool exists() const override { return true; }
    Result<> useFont(const LabelFont& font) override;
    int textWidth(std::u16string_view run) const override;
    LineMetrics lineMetrics() const override;
    void invalidate() override { update(); }
    void textChanged() override;

  private:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    const QFontMetrics& metrics() const;

    // Made when first measured or drawn, not when asked for: it reads the system's font list.
    LabelFont asked_;
    mutable std::optional<QFont> font_;
    // Of the font on this widget's screen; layout measures every word.
    mutable std::optional<QFontMetrics> metrics_;
};

// The font a description names, at `points`, its em a whole number of pixels (so 27.75 pt and
// 28 pt draw alike). Where the named face is missing, DejaVu Sans Condensed Bold, whose widths
// follow Tahoma Bold's, stands in by name: the system's copy where fontconfig has one, else the
// bundled copy, registered only then.
QFont fontFromDescription(const FontDescription& description, double points);

// A button is described by the labels on show, the heading: a screen reader that comes to it says
// what the game says.
void describeButtons(QWidget* window);

}  // namespace fernwick::qt
