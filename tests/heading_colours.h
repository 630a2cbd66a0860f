// The heading's colours in a screenshot: the face (the commonest colour in its rectangle), the
// text (the next commonest: the glyphs' insides) and their contrast. For Qt and Windows alike.
#pragma once

#include <cstdint>
#include <map>

#include "app/text_colour.h"

namespace fernwick {

struct HeadingColours {
    ColourValue face = 0, text = 0;
    double contrast = 0;
};

// `pixelAt(x, y)` gives a pixel as 0xAARRGGBB, alpha ignored.
template <typename PixelAt>
HeadingColours headingColours(PixelAt pixelAt, int left, int top, int width, int height) {
    std::map<ColourValue, int> counts;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            const std::uint32_t p = pixelAt(x, y);
            ++counts[colourValue((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF)];
        }
    }
    HeadingColours found;
    int faceCount = 0, textCount = 0;
    for (const auto& [colour, count] : counts) {
        if (count > faceCount) {
            found.text = found.face, textCount = faceCount;
            found.face = colour, faceCount = count;
        } else if (count > textCount) {
            found.text = colour, textCount = count;
        }
    }
    found.contrast = contrastRatio(found.face, found.text);
    return found;
}

}  // namespace fernwick
