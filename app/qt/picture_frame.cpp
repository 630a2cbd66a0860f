#include "app/qt/picture_frame.h"

#include <QPainter>

#include "app/qt/images.h"
#include "app/window_model.h"

namespace fernwick::qt {

namespace {

// The rendering for a screen of `scale`, decoded by Qt's GIF reader: the first frame, its pixels
// of the transparent index that frame declares left transparent. Null when the bytes do not
// decode, which is said on stderr.
QPixmap decodePicture(const ImageSlot& slot, qreal scale) {
    const ChosenPicture chosen = choosePicture(slot, scale);
    if (chosen.bytes.empty()) return {};
    QString error;
    const QImage image = readImage(chosen.bytes, "gif", &error);
    if (image.isNull()) {
        reportUndecodablePicture(error.toStdString());
        return {};
    }
    QPixmap picture = QPixmap::fromImage(image);
    picture.setDevicePixelRatio(chosen.scale);
    return picture;
}

}  // namespace

PictureFrameWidget::PictureFrameWidget(QWidget* parent, const ImageSlot& picture) : QFrame(parent) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    picture_ = decodePicture(picture, devicePixelRatioF());
}

void PictureFrameWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(contentsRect().topLeft(), picture_);
}

}  // namespace fernwick::qt
