#include "app/text_colour.h"

#include <algorithm>
#include <cmath>

namespace fernwick {

double contrastRatio(ColourValue a, ColourValue b) {
    // WCAG 2 relative luminance, from 0 (black) to 1 (white).
    const auto relativeLuminance = [](ColourValue c) {
        const auto linear = [](int channel) {
            const double v = channel / 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(red(c)) + 0.7152 * linear(green(c)) + 0.0722 * linear(blue(c));
    };
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

ColourValue labelTextColour(std::optional<ColourValue> asked, const SystemColours& system) {
    if (system.highContrast || !asked) return system.buttonText;
    // Step from the asked colour towards the theme's own text colour until the text reads.
    constexpr int kSteps = 64;
    for (int step = 0; step < kSteps; ++step) {
        const auto mix = [&](int (*channel)(ColourValue)) {
            const int from = channel(*asked), to = channel(system.buttonText);
            return static_cast<int>(std::lround(from + (to - from) * step / double{kSteps}));
        };
        const ColourValue c = colourValue(mix(red), mix(green), mix(blue));
        if (contrastRatio(c, system.buttonFace) >= kReadableContrast) return c;
    }
    return system.buttonText;
}

}  // namespace fernwick
