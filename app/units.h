// Lengths and font sizes: twips to pixels, and points to the em height that is drawn.
#pragma once

#include <cstdint>

namespace fernwick {

constexpr int kTwipsPerInch = 1440;
constexpr int kDesignDpi = 96;  // 15 twips make one pixel at this resolution

// Twips to pixels at `dpi`, rounded to the nearest pixel.
int twipsToPixels(std::int32_t twips, int dpi = kDesignDpi);

// The em height in pixels of `points`: points x dpi / 72, rounded (27.75 and 28 pt both give 37
// at 96 DPI). 0 for a size that is not positive and finite, or too large to draw.
int emPixels(double points, int dpi = kDesignDpi);

// A size held in ten-thousandths of a point (277500) as points (27.75).
constexpr double pointsFromTenThousandths(std::int32_t size) { return size / 10000.0; }

}  // namespace fernwick
