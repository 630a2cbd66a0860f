#include "app/units.h"

#include <cmath>

namespace fernwick {

namespace {
// No label is taller than the window; a font beyond this is a mistake, not a size.
constexpr double kLargestEm = 4096.0;
}  // namespace

int twipsToPixels(std::int32_t twips, int dpi) {
    const std::int64_t scaled = static_cast<std::int64_t>(twips) * dpi;
    // Round half away from zero, so negative positions mirror positive ones.
    const std::int64_t half = kTwipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                        : -((-scaled + half) / kTwipsPerInch));
}

int emPixels(double points, int dpi) {
    if (!std::isfinite(points) || points <= 0.0 || dpi <= 0) return 0;
    const double exact = points * dpi / 72.0;
    if (exact < 0.5 || exact >= kLargestEm + 0.5) return 0;
    // Rounded half up in plain arithmetic, not by libm's round, whose page of code start-up would
    // otherwise not need.
    const int whole = static_cast<int>(exact);
    return exact - whole >= 0.5 ? whole + 1 : whole;
}

}  // namespace fernwick
