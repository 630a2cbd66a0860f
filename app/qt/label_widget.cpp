#include "app/qt/label_widget.h"

#include <QAccessible>
#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QStyleHints>

#include "app/qt/convert.h"
#include "app/text_colour.h"

#if QT_VERSION >= QT_VERSION_CHECK(6, 10, 0)
#include <QAccessibilityHints>
#endif

namespace fernwick::qt {

LabelWidget::LabelWidget(QWidget* parent) : QWidget(parent) {
    // The label paints every pixel of its rectangle itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QString LabelWidget::text() const { return control() ? toQString(control()->text()) : QString(); }

const QFont& LabelWidget::labelFont() const {
    if (font_) return *font_;
    // A label without a face of its own draws in the window's font, at its own size if any.
    if (asked_.face) {
        font_ = fontFromDescription(*asked_.face, asked_.points.value_or(0.0f));
    } else {
        font_ = parentWidget()->font();
        if (asked_.emPixels > 0) font_->setPixelSize(asked_.emPixels);
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

// Tells screen readers that the text, and so the name, has changed. A label that is not on the
// screen says nothing: readers take its name when it appears.
void LabelWidget::textChanged() {
    if (!isVisible()) return;
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
    describeButtons(parentWidget());
}

// Told before a press changes the button's caption, a screen reader says the new heading first: it
// reads a description again only when it changes.
void describeButtons(QWidget* window) {
    QStringList shown;
    for (LabelWidget* label : window->findChildren<LabelWidget*>()) {
        if (!label->isHidden())
            shown << label->text().split(QLatin1String("\r\n"), Qt::SkipEmptyParts);
    }
    for (QPushButton* button : window->findChildren<QPushButton*>())
        button->setAccessibleDescription(shown.join(QLatin1Char(' ')));
}

void LabelWidget::changeEvent(QEvent* event) {
    // A new screen can bring other font metrics.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        metrics_.reset();
        if (control()) control()->discardLines();
    }
    QWidget::changeEvent(event);
}

void LabelWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor face = palette().color(QPalette::Button);
    painter.fillRect(rect(), face);
    if (!control()) return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 10, 0)
    // Whether the system says a high-contrast mode is on, as Qt reports it from 6.10 on.
    const bool highContrast =
        QGuiApplication::styleHints()->accessibility()->contrastPreference() ==
        Qt::ContrastPreference::HighContrast;
#else
    // Before 6.10 Qt has no public word for it: a high-contrast theme shows only in the palette.
    const bool highContrast = false;
#endif
    const auto value = [](const QColor& c) { return colourValue(c.red(), c.green(), c.blue()); };
    const ColourValue colour =
        labelTextColour(control()->colour(),
                        {value(face), value(palette().color(QPalette::ButtonText)), highContrast});
    painter.setFont(labelFont());
    painter.setPen(QColor(red(colour), green(colour), blue(colour)));
    for (const DrawnLine& line : control()->linesToDraw())
        painter.drawText(QPoint(0, line.baseline), toQString(line.text));
}

}  // namespace fernwick::qt
