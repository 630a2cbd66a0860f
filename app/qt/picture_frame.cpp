#include "app/qt/picture_frame.h"

#include <QPainter>
#include <cstdio>
#include <string>

#include "app/gif_decoder.h"
#include "app/qt/images.h"

namespace fernwick::qt {

namespace {

// The picture for a screen of this scale: the double-size rendering where the scale is 2 or
// more and there is one, so the dog stays sharp; otherwise the picture pixel for pixel.
QPixmap decodePicture(const ImageSlot& slot, qreal scale) {
    const bool doubled = scale >= 1.5 && !slot.image2x.empty();
    const EmbeddedBytes& bytes = doubled ? slot.image2x : slot.image;
    std::string error;
    const std::optional<DecodedImage> decoded = decodeFirstGifFrame(bytes.data, bytes.size, &error);
    if (!decoded) {
        std::fprintf(stderr,
                     "fernwick: the picture could not be decoded (%s); its frame stays empty\n",
                     error.c_str());
        return {};
    }
    QPixmap pixmap = QPixmap::fromImage(toQImage(*decoded));
    pixmap.setDevicePixelRatio(doubled ? 2.0 : 1.0);
    return pixmap;
}

}  // namespace

PictureFrameWidget::PictureFrameWidget(QWidget* parent, const ImageSlot& picture) : QFrame(parent) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::NoFocus);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    // Decoded once, here, before the window is shown; nothing changes it afterwards.
    if (!picture.empty()) picture_ = decodePicture(picture, devicePixelRatioF());
}

void PictureFrameWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(contentsRect().topLeft(), picture_);
}

}  // namespace fernwick::qt
