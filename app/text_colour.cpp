#include "app/text_colour.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace fernwick {

namespace {

// Nothing here calls the maths library. The heading's colour is worked out for the first paint,
// and libm's pow, lround and fmod would bring in pages of its code and tables that nothing else at
// start-up reads, resident memory out of all proportion to a handful of calls.

// Hue in sixths of a turn [0, 6), saturation and lightness in [0, 1].
struct Hsl {
    double hue = 0, saturation = 0, lightness = 0;
};

Hsl toHsl(ColourValue c) {
    const double r = red(c) / 255.0, g = green(c) / 255.0, b = blue(c) / 255.0;
    const double high = std::max({r, g, b}), low = std::min({r, g, b});
    Hsl hsl;
    hsl.lightness = (high + low) / 2;
    const double chroma = high - low;
    if (chroma == 0) return hsl;  // a grey: no hue
    hsl.saturation = chroma / (1 - std::abs(2 * hsl.lightness - 1));
    if (high == r) {
        hsl.hue = (g - b) / chroma;  // from -1 to 1, the reds either side of hue 0
        if (hsl.hue < 0) hsl.hue += 6;
    } else if (high == g) {
        hsl.hue = (b - r) / chroma + 2;
    } else {
        hsl.hue = (r - g) / chroma + 4;
    }
    return hsl;
}

ColourValue fromHsl(const Hsl& hsl) {
    const double chroma = (1 - std::abs(2 * hsl.lightness - 1)) * hsl.saturation;
    const double withinPair = hsl.hue - 2 * static_cast<int>(hsl.hue / 2);  // the hue modulo 2
    const double second = chroma * (1 - std::abs(withinPair - 1));
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(hsl.hue)) {
        case 0:
            r = chroma, g = second;
            break;
        case 1:
            r = second, g = chroma;
            break;
        case 2:
            g = chroma, b = second;
            break;
        case 3:
            g = second, b = chroma;
            break;
        case 4:
            r = second, b = chroma;
            break;
        default:
            r = chroma, b = second;
            break;
    }
    const double m = hsl.lightness - chroma / 2;
    const auto channel = [m](double v) {
        return static_cast<int>(std::clamp((v + m) * 255, 0.0, 255.0) + 0.5);  // rounded
    };
    return colourValue(channel(r), channel(g), channel(b));
}

// x^(1/5) for x in (0, 1], by Newton's method from above: each step falls towards the root, until
// the arithmetic gets no nearer.
constexpr double fifthRoot(double x) {
    double root = 1.0;
    while (true) {
        const double next = (4 * root + x / (root * root * root * root)) / 5;
        if (next >= root) return root;
        root = next;
    }
}

// The linear light of each of the 256 values of an sRGB channel, as WCAG 2 gives it: above the
// linear toe, ((v + 0.055) / 1.055)^2.4, which is the square times the fifth root of the square.
// Within two units in the last place of pow's.
constexpr std::array<double, 256> kLinear = [] {
    std::array<double, 256> linear{};
    for (int channel = 0; channel < 256; ++channel) {
        const double v = channel / 255.0;
        const double s = (v + 0.055) / 1.055;
        linear[channel] = v <= 0.03928 ? v / 12.92 : s * s * fifthRoot(s * s);
    }
    return linear;
}();

double linear(int channel) { return kLinear[channel]; }

// WCAG 2 relative luminance, from 0 (black) to 1 (white).
double relativeLuminance(ColourValue c) {
    return 0.2126 * linear(red(c)) + 0.7152 * linear(green(c)) + 0.0722 * linear(blue(c));
}

struct Found {
    ColourValue colour;
    double distance;  // how far the lightness moved
};

// Moving the lightness from `from` towards `to`, the first colour that reads on `face`, if the
// colour at `to` does. Contrast with the face only grows in that direction once it passes the
// face's own luminance, and it starts below what is needed, so it is found by bisection.
std::optional<Found> nearestReadable(Hsl hsl, double to, ColourValue face) {
    const double from = hsl.lightness;
    const auto reads = [&](double lightness) {
        hsl.lightness = lightness;
        return contrastRatio(fromHsl(hsl), face) >= kReadableContrast;
    };
    if (!reads(to)) return std::nullopt;
    double fails = from, passes = to;
    for (int i = 0; i < 40; ++i) {
        const double middle = (fails + passes) / 2;
        (reads(middle) ? passes : fails) = middle;
    }
    hsl.lightness = passes;
    return Found{fromHsl(hsl), std::abs(passes - from)};
}

}  // namespace

double contrastRatio(ColourValue a, ColourValue b) {
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

ColourValue labelTextColour(std::optional<ColourValue> asked, const SystemColours& system) {
    if (system.highContrast || !asked) return system.buttonText;
    if (contrastRatio(*asked, system.buttonFace) >= kReadableContrast) return *asked;
    const Hsl hsl = toHsl(*asked);
    const std::optional<Found> lighter = nearestReadable(hsl, 1.0, system.buttonFace);
    const std::optional<Found> darker = nearestReadable(hsl, 0.0, system.buttonFace);
    if (lighter && (!darker || lighter->distance <= darker->distance)) return lighter->colour;
    // White or black reads on every face, so one of the two is always there.
    return darker ? darker->colour : system.buttonText;
}

}  // namespace fernwick
