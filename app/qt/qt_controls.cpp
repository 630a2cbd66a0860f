#include "app/qt/qt_controls.h"

#include "app/qt/heading_face.h"
#include "app/qt/text.h"
#include "app/units.h"

namespace fernwick::qt {

Result QtLabel::getText(std::u16string& text) const {
    if (!widget_) return Result::failure(status_code::kInvalidWindowHandle);
    text = widget_->text().toStdU16String();
    return Result::success();
}

Result QtLabel::setText(std::u16string_view text) {
    if (!widget_) return Result::failure(status_code::kInvalidWindowHandle);
    widget_->setText(toQString(text));
    return Result::success();
}

Result QtLabel::setFontSize(float points) {
    if (!widget_) return Result::failure(status_code::kInvalidWindowHandle);
    if (emPixels(points) == 0) return Result::failure(status_code::kInvalidParameter);
    QFont font = widget_->labelFont();
    if (font_) {
        font = fontFromDescription(*font_, points);
    } else {
        font.setPixelSize(emPixels(points));
    }
    widget_->setLabelFont(font);
    return Result::success();
}

Result QtPushButton::setCaption(std::u16string_view caption) {
    if (!button_) return Result::failure(status_code::kInvalidWindowHandle);
    button_->setText(toQString(caption));
    return Result::success();
}

}  // namespace fernwick::qt
