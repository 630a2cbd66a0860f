// A label drawn by the window: button-face fill, no border, left-aligned text from the top-left
// corner in the lines its LabelControl lays out, cut at the edges. It never resizes to its text
// and takes no keyboard focus.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <QWidget>

#include "app/label_control.h"

namespace fernwick::qt {

class LabelWidget : public QWidget, public LabelSurface {
    Q_OBJECT
  public:
    LabelWidget(QWidget* parent, LabelControl& control);

    QString text() const;
    // The font the text is drawn in.
    const QFont& labelFont() const { return font_; }

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
    QFont font_;
    QFontMetrics metrics_;  // of font_ on this widget's screen; layout measures every word
};

}  // namespace fernwick::qt
