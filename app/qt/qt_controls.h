// The control operations the game uses, carried out on Qt widgets. An operation on a widget that
// no longer exists fails with the code for a vanished window instead of touching freed memory.
#pragma once

#include <QPointer>
#include <QPushButton>
#include <optional>

#include "app/control_table.h"
#include "app/controls.h"
#include "app/qt/label_widget.h"

namespace fernwick::qt {

class QtLabel final : public Label {
  public:
    QtLabel(LabelWidget* widget, std::optional<FontDescription> font)
        : widget_(widget), font_(font) {}
    Result getText(std::u16string& text) const override;
    Result setText(std::u16string_view text) override;
    Result setFontSize(float points) override;

  private:
    QPointer<LabelWidget> widget_;
    // Face, weight and style stay; only the size changes. None: the window's font.
    std::optional<FontDescription> font_;
};

class QtPushButton final : public PushButton {
  public:
    explicit QtPushButton(QPushButton* button) : button_(button) {}
    Result setCaption(std::u16string_view caption) override;

  private:
    QPointer<QPushButton> button_;
};

class QtPictureFrame final : public PictureFrame {};

}  // namespace fernwick::qt
