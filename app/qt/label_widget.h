// A label drawn by the window: button-face fill, no border, left-aligned text from the top-left
// corner, broken into lines at spaces and CR LF, cut at the edges. It never resizes to its text
// and takes no keyboard focus.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>
#include <vector>

#include "app/label_layout.h"

namespace fernwick::qt {

class LabelWidget : public QWidget {
    Q_OBJECT
  public:
    explicit LabelWidget(QWidget* parent);

    QString text() const { return text_; }
    void setText(const QString& text);

    // The font the text is drawn in; a change of size re-wraps the text.
    const QFont& labelFont() const { return font_; }
    void setLabelFont(const QFont& font);

    // No colour means the system button-text colour.
    void setTextColour(const QColor& colour);

    // The lines of the current text as they are drawn, after the line breaking.
    const std::vector<LabelLine>& lines() const;
    int lineHeight() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void textOrFontChanged();

    QString text_;
    QFont font_;
    QColor colour_;  // invalid: the palette's button text
    mutable std::vector<LabelLine> lines_;
    mutable bool linesValid_ = false;
};

}  // namespace fernwick::qt
