#include "app/units.h"

#include <cmath>

namespace fernwick {

// No label is taller than the window; a font beyond this is a mistake, not a size.
constexpr double kLargestEm = 4096.0;

int twipsToPixels(std::int32_t twips, int dpi) {
    // Rounded half away from zero, so negative positions mirror positive ones.
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / kTwipsPerInch));
}

int emPixels(double points, int dpi) {
    if (!std::isfinite(points) || points <= 0.0 || dpi <= 0) return 0;
    const double em = std::round(points * dpi / 72.0);
    return em >= 1.0 && em <= kLargestEm ? static_cast<int>(em) : 0;
}

}  // namespace fernwick
