// Counts the paint events a widget receives, to tell that a click was repainted.
#pragma once

#include <QEvent>
#include <QObject>

namespace fernwick {

class PaintCounter : public QObject {
  public:
    long paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace fernwick
