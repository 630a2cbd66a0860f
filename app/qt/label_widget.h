// A label drawn by the window: button-face fill, no border, left-aligned text from the top-left
// corner in the lines its LabelControl lays out, cut at the edges. It never resizes to its text
// and takes no keyboard focus.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <QWidget>
#include <optional>

#include "app/label_control.h"

namespace fernwick::qt {

class LabelWidget : public QWidget, public LabelSurface {
    Q_OBJECT
  public:
    // Draws the LabelControl that attaches to it.
    explicit LabelWidget(QWidget* parent);

    QString text() const;
    // The font the text is drawn in.
    const QFont& labelFont() const;

    bool exists() const override { return true; }
    Result<> useFont(const LabelFont& font) override;
    int textWidth(std::u16string_view run) const override;
    LineMetrics lineMetrics() const override;
    void invalidate() override { update(); }
    void textChanged() override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    const QFontMetrics& metrics() const;

    // The font is made when the label is first measured or drawn, not when it is asked for:
    // making the heading's font reads the system's font list, which the window does best once it
    // is on its way to the screen (see Form1Window::showFirstWelcomeScreen).
    LabelFont asked_;
    mutable std::optional<QFont> font_;
    // Of the font on this widget's screen; layout measures every word.
    mutable std::optional<QFontMetrics> metrics_;
};

}  // namespace fernwick::qt
