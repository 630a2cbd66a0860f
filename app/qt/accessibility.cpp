#include "app/qt/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QList>
#include <QWidget>

#include "app/qt/form1_window.h"
#include "app/qt/label_widget.h"
#include "app/qt/picture_frame.h"

namespace fernwick::qt {

namespace {

// The window: a frame, named by its title (QAccessibleWidget's name for a window), whose
// children are the child controls that are not hidden.
class WindowInterface final : public QAccessibleWidget {
  public:
    explicit WindowInterface(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

    int childCount() const override { return int(shownChildren().size()); }

    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = shownChildren();
        if (index < 0 || index >= children.size()) return nullptr;
        return QAccessible::queryAccessibleInterface(children[index]);
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child || !child->object() || !child->object()->isWidgetType()) return -1;
        return int(shownChildren().indexOf(static_cast<QWidget*>(child->object())));
    }

  private:
    QList<QWidget*> shownChildren() const {
        QList<QWidget*> shown;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child && !child->isWindow() && !child->isHidden()) shown.append(child);
        }
        return shown;
    }
};

// A label: static text named by what it shows. A hidden label has no name, so that nothing
// that comes across it can read its text.
class LabelInterface final : public QAccessibleWidget {
  public:
    explicit LabelInterface(LabelWidget* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override {
        if (kind != QAccessible::Name) return QAccessibleWidget::text(kind);
        const auto* label = static_cast<const LabelWidget*>(widget());
        return label->isHidden() ? QString() : readableText(label->text());
    }
};

QAccessibleInterface* interfaceFor(const QString& className, QObject* object) {
    if (className == QLatin1String(Form1Window::staticMetaObject.className())) {
        return new WindowInterface(static_cast<QWidget*>(object));
    }
    if (className == QLatin1String(LabelWidget::staticMetaObject.className())) {
        return new LabelInterface(static_cast<LabelWidget*>(object));
    }
    if (className == QLatin1String(PictureFrameWidget::staticMetaObject.className())) {
        // Named by its accessible name, which says what the picture shows.
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    }
    return nullptr;
}

}  // namespace

void installAccessibility() { QAccessible::installFactory(interfaceFor); }

QString readableText(const QString& text) {
    QString readable = text;
    readable.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return readable;
}

void announceLabelText(QWidget* label) {
    if (!label->isVisible()) return;
    QAccessibleEvent event(label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

}  // namespace fernwick::qt
