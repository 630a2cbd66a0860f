#include "app/button_caption.h"

#include <algorithm>

namespace fernwick {

int captionEmPixels(int preferred, std::span<const std::u16string_view> captions, int width,
                    int height, const MeasureCaption& measure) {
    // The room the captions need at `em`, as a share of the room there is: 1 or less fits.
    const auto need = [&](int em) {
        double share = 0;
        for (std::u16string_view caption : captions) {
            const TextSize size = measure(caption, em);
            share = std::max({share, size.width / std::max<double>(width, 1e-9),
                              size.height / std::max<double>(height, 1e-9)});
        }
        return share;
    };
    int em = preferred;
    // Text grows about as its em does: each try is near the em that fits, and smaller.
    for (double share; em > 1 && (share = need(em)) > 1;) {
        em = std::min(em - 1, static_cast<int>(em / share));
    }
    em = std::max(em, 1);
    // Sizes do not grow quite in proportion: a larger em may fit too.
    while (em < preferred && need(em + 1) <= 1) ++em;
    return em;
}

}  // namespace fernwick
