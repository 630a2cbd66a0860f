#include "app/qt/label_widget.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <string_view>

#include "app/qt/accessibility.h"
#include "app/qt/text.h"

namespace fernwick::qt {

LabelWidget::LabelWidget(QWidget* parent) : QWidget(parent), font_(parent->font()) {
    setFocusPolicy(Qt::NoFocus);
    // The label paints every pixel of its rectangle itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LabelWidget::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    textOrFontChanged();
    announceLabelText(this);  // screen readers read the new text
}

void LabelWidget::setLabelFont(const QFont& font) {
    if (font == font_) return;
    font_ = font;
    textOrFontChanged();
}

void LabelWidget::setTextColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void LabelWidget::textOrFontChanged() {
    linesValid_ = false;
    update();
}

void LabelWidget::changeEvent(QEvent* event) {
    // A new screen can bring other font metrics.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        linesValid_ = false;
    }
    QWidget::changeEvent(event);
}

const std::vector<LabelLine>& LabelWidget::lines() const {
    if (!linesValid_) {
        const QFontMetrics metrics(font_, this);
        const QString& text = text_;
        lines_ = layoutLabelLines(toView(text), width(), [&metrics](std::u16string_view run) {
            return metrics.horizontalAdvance(toQString(run));
        });
        linesValid_ = true;
    }
    return lines_;
}

int LabelWidget::lineHeight() const {
    const QFontMetrics metrics(font_, this);
    // No external leading: lines sit ascent plus descent apart.
    return metrics.ascent() + metrics.descent();
}

void LabelWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.setFont(font_);
    painter.setPen(colour_.isValid() ? colour_ : palette().color(QPalette::ButtonText));

    const QFontMetrics metrics(font_, this);
    const int ascent = metrics.ascent();
    const int step = ascent + metrics.descent();
    const std::vector<LabelLine>& all = lines();
    const std::size_t shown = visibleLineCount(all.size(), step, height());
    for (std::size_t i = 0; i < shown; ++i) {
        if (all[i].length == 0) continue;
        const QString line = text_.mid(qsizetype(all[i].start), qsizetype(all[i].length));
        painter.drawText(QPoint(0, int(i) * step + ascent), line);
    }
}

}  // namespace fernwick::qt
