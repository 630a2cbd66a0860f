#include "app/window_model.h"

#include <algorithm>
#include <cstdio>

namespace fernwick {

WindowModel::WindowModel(int dpi) : dpi_(dpi) {
    const auto before = [](std::size_t a, std::size_t b) {
        return kControlTable.controls[a].tabIndex < kControlTable.controls[b].tabIndex;
    };
    for (std::size_t i = 0; i < kControlCount; ++i)  // each after those of its tab index or lower
        if (takesFocus(i))
            focusOrder_.insert(std::upper_bound(focusOrder_.begin(), focusOrder_.end(), i, before),
                               i);
}

PixelRect WindowModel::rect(std::size_t index) const {
    const ControlRecord& r = kControlTable.controls.at(index);
    return {twipsToPixels(r.left, dpi_), twipsToPixels(r.top, dpi_), twipsToPixels(r.width, dpi_),
            twipsToPixels(r.height, dpi_)};
}

bool WindowModel::takesFocus(std::size_t index) const {
    const ControlRecord& r = kControlTable.controls.at(index);
    return r.visible && r.kind == ControlKind::PushButton;
}

ChosenPicture choosePicture(const ImageSlot& slot, double scale) {
    if (slot.empty()) return {};
    if (scale >= 1.5 && !slot.image2x.empty()) return {slot.image2x, 2};
    return {slot.image, 1};
}

void reportUndecodablePicture(std::string_view why) {
    std::fprintf(stderr,
                 "fernwick: the picture could not be decoded (%.*s); its frame stays empty\n",
                 static_cast<int>(why.size()), why.data());
}

}  // namespace fernwick
