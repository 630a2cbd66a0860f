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

// The window's name is its title: QAccessibleWidget's name for a window.
class WindowInterface final : public QAccessibleWidget {
  public:
    explicit WindowInterface(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

    int childCount() const override { return int(shownChildren().size()); }

    QAccessibleInterface* child(int index) const override {
        return QAccessible::queryAccessibleInterface(shownChildren().value(index));
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? int(shownChildren().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    }

  private:
    QList<QWidget*> shownChildren() const {
        QList<QWidget*> shown = widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        shown.removeIf([](const QWidget* child) { return child->isWindow() || child->isHidden(); });
        return shown;
    }
};

// A shown label is the heading; a hidden label has no name, for anything that comes across it.
// CR LF reads as a line break.
class LabelInterface final : public QAccessibleWidget {
  public:
    explicit LabelInterface(LabelWidget* label) : QAccessibleWidget(label, QAccessible::Heading) {}

    QString text(QAccessible::Text kind) const override {
        if (kind != QAccessible::Name) return QAccessibleWidget::text(kind);
        if (widget()->isHidden()) return QString();
        const auto* label = static_cast<const LabelWidget*>(widget());
        return label->text().replace(QLatin1String("\r\n"), QLatin1String("\n"));
    }
};

QAccessibleInterface* interfaceFor(const QString&, QObject* object) {
    if (auto* window = qobject_cast<Form1Window*>(object)) return new WindowInterface(window);
    if (auto* label = qobject_cast<LabelWidget*>(object)) return new LabelInterface(label);
    if (auto* frame = qobject_cast<PictureFrameWidget*>(object))
        return new QAccessibleWidget(frame, QAccessible::Graphic);
    return nullptr;
}

}  // namespace

void installAccessibility() { QAccessible::installFactory(interfaceFor); }

}  // namespace fernwick::qt
