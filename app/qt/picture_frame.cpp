#include "app/qt/picture_frame.h"

#include <QPainter>

#include "app/qt/convert.h"
#include "app/window_model.h"

namespace fernwick::qt {

PictureFrameWidget::PictureFrameWidget(QWidget* parent, const ImageSlot& picture)
    : QWidget(parent), slot_(picture) {
    setContentsMargins(2, 2, 2, 2);  // inside the sunken border
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    takeRendering();
}

// Qt's GIF reader decodes the first frame, its pixels of the transparent index that frame declares
// left transparent; bytes that do not decode are reported.
void PictureFrameWidget::takeRendering() {
    const ChosenPicture chosen = choosePicture(slot_, devicePixelRatioF());
    if (chosen.scale == renderingScale_) return;
    renderingScale_ = chosen.scale;
    picture_ = {};
    if (chosen.bytes.empty()) return;
    QString error;
    const QImage image = readImage(chosen.bytes, "gif", &error);
    if (image.isNull()) return reportUndecodablePicture(error.toStdString());
    picture_ = QPixmap::fromImage(image);
    picture_.setDevicePixelRatio(chosen.scale);
    update();
}

void PictureFrameWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // One ring of the sunken border, in logical pixels: `topLeft` along the top and left edges,
    // `bottomRight` along the bottom and right ones, which take the corners they share.
    const auto ring = [&](const QRect& r, auto topLeft, auto bottomRight) {
        painter.fillRect(r.left(), r.top(), r.width(), 1, palette().color(topLeft));
        painter.fillRect(r.left(), r.top(), 1, r.height(), palette().color(topLeft));
        painter.fillRect(r.left(), r.bottom(), r.width(), 1, palette().color(bottomRight));
        painter.fillRect(r.right(), r.top(), 1, r.height(), palette().color(bottomRight));
    };
    ring(rect(), QPalette::Dark, QPalette::Light);
    ring(rect().adjusted(1, 1, -1, -1), QPalette::Shadow, QPalette::Midlight);
    if (!picture_.isNull()) painter.drawPixmap(contentsRect().topLeft(), picture_);
}

}  // namespace fernwick::qt
