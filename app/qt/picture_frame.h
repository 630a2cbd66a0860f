// The picture frame: a button-face background inside a 2-pixel sunken border, with the picture
// drawn unscaled from the top-left corner of the inner area.
#pragma once

#include <QFrame>
#include <QPixmap>

#include "app/control_table.h"

namespace fernwick::qt {

class PictureFrameWidget : public QFrame {
    Q_OBJECT
  public:
    // Decodes the picture now, once; an empty slot or bytes that do not decode leave the frame
    // showing only its background.
    PictureFrameWidget(QWidget* parent, const ImageSlot& picture);

    // The picture as it is drawn; null when there is none.
    const QPixmap& picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
};

}  // namespace fernwick::qt
