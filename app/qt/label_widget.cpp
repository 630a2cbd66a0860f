#include "app/qt/label_widget.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QStyleHints>

#include "app/qt/accessibility.h"
#include "app/qt/heading_face.h"
#include "app/qt/text.h"
#include "app/text_colour.h"

#if QT_VERSION >= QT_VERSION_CHECK(6, 10, 0)
#include <QAccessibilityHints>
#endif

namespace fernwick::qt {

namespace {

ColourValue fromQColor(const QColor& c) { return colourValue(c.red(), c.green(), c.blue()); }

// Whether the system says a high-contrast mode is on. Qt reports it from 6.10 on; before that Qt
// has no public word for it on any platform, and a high-contrast theme shows only in the palette.
bool highContrast() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 10, 0)
    return QGuiApplication::styleHints()->accessibility()->contrastPreference() ==
           Qt::ContrastPreference::HighContrast;
#else
    return false;
#endif
}

}  // namespace

LabelWidget::LabelWidget(QWidget* parent) : QWidget(parent) {
    // The label paints every pixel of its rectangle itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QString LabelWidget::text() const { return control() ? toQString(control()->text()) : QString(); }

const QFont& LabelWidget::labelFont() const {
    if (!font_) {
        // A label without a face of its own draws in the window's font, at its own size if any.
        if (asked_.face) {
            font_ = fontFromDescription(*asked_.face, asked_.points.value_or(0.0f));
        } else {
            font_ = parentWidget()->font();
            if (asked_.emPixels > 0) font_->setPixelSize(asked_.emPixels);
        }
    }
    return *font_;
}

const QFontMetrics& LabelWidget::metrics() const {
    if (!metrics_) metrics_.emplace(labelFont(), this);
    return *metrics_;
}

Result<> LabelWidget::useFont(const LabelFont& font) {
    asked_ = font;
    font_.reset();
    metrics_.reset();
    update();
    return {};
}

int LabelWidget::textWidth(std::u16string_view run) const {
    return metrics().horizontalAdvance(toQString(run));
}

LineMetrics LabelWidget::lineMetrics() const { return {metrics().ascent(), metrics().descent()}; }

void LabelWidget::textChanged() { announceLabelText(this); }

void LabelWidget::changeEvent(QEvent* event) {
    // A new screen can bring other font metrics.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        metrics_.reset();
        if (control()) control()->relayout();
    }
    QWidget::changeEvent(event);
}

void LabelWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    if (!control()) return;
    const ColourValue colour = labelTextColour(
        control()->colour(), {fromQColor(palette().color(QPalette::Button)),
                              fromQColor(palette().color(QPalette::ButtonText)), highContrast()});
    painter.setFont(labelFont());
    painter.setPen(QColor(red(colour), green(colour), blue(colour)));
    for (const DrawnLine& line : control()->linesToDraw()) {
        painter.drawText(QPoint(0, line.baseline), toQString(line.text));
    }
}

}  // namespace fernwick::qt
