// The picture frame: a button-face background inside a 2-pixel sunken border, with the picture
// drawn unscaled from the top-left corner of the inner area. The border scales with the screen
// like every other length, and the picture takes the rendering for the screen's scale.
#pragma once

#include <QPixmap>
#include <QWidget>

#include "app/control_table.h"

namespace fernwick::qt {

class PictureFrameWidget : public QWidget {
    Q_OBJECT
  public:
    // Decodes the picture now, once for each scale the frame is shown at; an empty slot or bytes
    // that do not decode leave the frame showing only its background.
    PictureFrameWidget(QWidget* parent, const ImageSlot& picture);

    // The picture as it is drawn; null when there is none.
    const QPixmap& picture() const { return picture_; }
    // Takes the rendering for the scale of the screen the frame is on now.
    void takeRendering();

  private:
    void paintEvent(QPaintEvent* event) override;

    const ImageSlot& slot_;
    int renderingScale_ = 0;  // of the rendering decoded; 0 before the first
    QPixmap picture_;
};

}  // namespace fernwick::qt
