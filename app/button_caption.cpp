#include "app/button_caption.h"

#include <algorithm>

#include "game/start_button_toggle.h"

namespace fernwick {

int captionPixels(int systemPixels, int contentWidth, int contentHeight,
                  const MeasureCaption& measure) {
    int pixels = systemPixels;
    const auto fits = [&](std::u16string_view caption) {
        const TextExtent e = measure(caption, pixels);
        return e.width <= contentWidth && e.height <= contentHeight;
    };
    while (pixels > 1 && !(fits(toggle::kWelcomeCaption) && fits(toggle::kWonCaption))) --pixels;
    return std::max(pixels, 1);
}

}  // namespace fernwick
