#include "app/qt/picture_frame.h"

#include <QPainter>

namespace fernwick::qt {

PictureFrameWidget::PictureFrameWidget(QWidget* parent, const ImageSlot& picture) : QFrame(parent) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::NoFocus);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    (void)picture;
}

void PictureFrameWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(contentsRect().topLeft(), picture_);
}

}  // namespace fernwick::qt
