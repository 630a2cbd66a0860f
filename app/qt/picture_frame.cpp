#include "app/qt/picture_frame.h"

#include <QPainter>

#include "app/qt/images.h"
#include "app/window_model.h"

namespace fernwick::qt {

PictureFrameWidget::PictureFrameWidget(QWidget* parent, const ImageSlot& picture) : QFrame(parent) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    const ShownPicture shown = decodePicture(picture, devicePixelRatioF());
    if (shown.image) {
        picture_ = QPixmap::fromImage(toQImage(*shown.image));
        picture_.setDevicePixelRatio(shown.scale);
    }
}

void PictureFrameWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(contentsRect().topLeft(), picture_);
}

}  // namespace fernwick::qt
