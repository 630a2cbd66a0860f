// Where the window's controls are, in pixels at 96 DPI, as the game's own table places them: the
// tests that look at a window take them from here, and only the core's test compares them with
// the design's numbers.
#pragma once

#include <QRect>
#include <QSize>
#include <string_view>

#include "app/window_model.h"

namespace fernwick::design {

inline QRect rect(std::u16string_view control) {
    const WindowModel model;
    const PixelRect r = model.rect(model.table().indexOf(control));
    return {r.left, r.top, r.width, r.height};
}

inline QSize clientSize() {
    const WindowModel model;
    return {model.clientWidth(), model.clientHeight()};
}

}  // namespace fernwick::design
