#include "app/button_caption.h"

#include "game/start_button_toggle.h"

namespace fernwick {

int captionPixels(int systemPixels, int contentWidth, int contentHeight,
                  const MeasureCaption& measure) {
    const auto fits = [&](int pixels) {
        for (std::u16string_view caption : {toggle::kWelcomeCaption, toggle::kWonCaption}) {
            const TextExtent e = measure(caption, pixels);
            if (e.width > contentWidth || e.height > contentHeight) return false;
        }
        return true;
    };
    int pixels = systemPixels;
    while (pixels > 1 && !fits(pixels)) --pixels;
    return pixels < 1 ? 1 : pixels;
}

}  // namespace fernwick
