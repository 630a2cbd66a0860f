#include "app/units.h"

#include <gtest/gtest.h>

#include <limits>

namespace fernwick {
namespace {

TEST(UnitsTest, TwipsBecomePixelsAtFifteenPerPixelAndScaleWithResolution) {
    EXPECT_EQ(twipsToPixels(3585), 239);
    EXPECT_EQ(twipsToPixels(4290), 286);
    EXPECT_EQ(twipsToPixels(15), 1);
    EXPECT_EQ(twipsToPixels(7), 0);
    EXPECT_EQ(twipsToPixels(8), 1);  // halves round up
    EXPECT_EQ(twipsToPixels(-8), -1);
    EXPECT_EQ(twipsToPixels(1440, 192), 192);
    EXPECT_EQ(twipsToPixels(3585, 144), 359);  // 358.5 rounds up
    EXPECT_EQ(twipsToPixels(std::numeric_limits<std::int32_t>::max(), 96), 143165576);
}

TEST(UnitsTest, EmHeightIsRoundedToAWholePixel) {
    EXPECT_EQ(emPixels(27.75), 37);
    EXPECT_EQ(emPixels(28.0), 37);
    EXPECT_EQ(emPixels(18.0), 24);
    EXPECT_EQ(emPixels(27.75, 192), 74);
    EXPECT_EQ(emPixels(1.125), 2);        // 1.5 pixels: halves round up
    EXPECT_EQ(emPixels(3071.625), 4096);  // 4095.5 pixels, the largest em
    EXPECT_EQ(emPixels(pointsFromTenThousandths(277500)), 37);
}

TEST(UnitsTest, SizesThatCannotBeDrawnGiveNoEmHeight) {
    EXPECT_EQ(emPixels(0.0), 0);
    EXPECT_EQ(emPixels(-18.0), 0);
    EXPECT_EQ(emPixels(0.2), 0);
    EXPECT_EQ(emPixels(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(emPixels(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(emPixels(1e9), 0);
    EXPECT_EQ(emPixels(18.0, 0), 0);
}

}  // namespace
}  // namespace fernwick
