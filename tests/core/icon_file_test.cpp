// Reading the window icon's images from icon files: the shipped one, and broken ones.
#include "app/icon_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "assets/identity/app_icon.h"

namespace fernwick {
namespace {

std::vector<unsigned char> shippedIcon() {
    return {fernwick_app_icon, fernwick_app_icon + fernwick_app_icon_size};
}

void put32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

TEST(IconFileTest, ShippedIconGivesTheSmallThenTheLargeImageWithTransparentCorners) {
    const std::vector<unsigned char> bytes = shippedIcon();
    const auto images = decodeIconFile(bytes.data(), bytes.size());
    ASSERT_TRUE(images.has_value());
    ASSERT_EQ(images->size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const DecodedImage& image = (*images)[i];
        const int side = i == 0 ? 16 : 32;
        SCOPED_TRACE(side);
        EXPECT_EQ(image.width, side);
        EXPECT_EQ(image.height, side);
        EXPECT_EQ(image.at(0, 0), 0u);
        EXPECT_EQ(image.at(side - 1, side - 1), 0u);
        // The silhouette is dark and solid in the middle of the head.
        const std::uint32_t middle = image.at(side / 2, side / 2);
        EXPECT_EQ(middle >> 24, 0xFFu);
        EXPECT_LT(middle & 0xFFu, 0x60u);
    }
}

TEST(IconFileTest, BrokenFilesAreRefusedWithoutReadingPastTheEnd) {
    const std::vector<unsigned char> bytes = shippedIcon();
    // Cut short anywhere: refused. (Under the address sanitizer a read past the end would fail.)
    for (std::size_t length = 0; length < bytes.size(); length += 7) {
        std::vector<unsigned char> cut(bytes.begin(), bytes.begin() + length);
        EXPECT_FALSE(decodeIconFile(cut.data(), cut.size()).has_value()) << length;
    }
    EXPECT_FALSE(decodeIconFile(nullptr, 0).has_value());

    auto refused = [&bytes](std::size_t at, std::uint32_t value) {
        std::vector<unsigned char> bad = bytes;
        put32(bad, at, value);
        return !decodeIconFile(bad.data(), bad.size()).has_value();
    };
    const std::size_t first = 6 + 2 * 16;          // the first image's header
    EXPECT_TRUE(refused(2, 2));                    // a cursor file, not an icon
    EXPECT_TRUE(refused(6 + 12, 0xFFFFFFF0u));     // an image offset far past the end
    EXPECT_TRUE(refused(6 + 8, 0x7FFFFFFFu));      // an image length past the end
    EXPECT_TRUE(refused(first + 8, 17));           // a height that is not twice the width's rows
    EXPECT_TRUE(refused(first + 4, 0x80000000u));  // a negative width
    EXPECT_TRUE(refused(first + 16, 1));           // compressed
}

TEST(IconFileTest, ThirtyTwoBitImagesAlsoHonourTheirAlpha) {
    // One 2 x 1 image: the left pixel opaque red, the right one with alpha 0 but mask bit 0.
    std::vector<unsigned char> file(6 + 16 + 40 + 8 + 8, 0);
    file[2] = 1;
    file[4] = 1;
    put32(file, 6 + 8, 40 + 8 + 8);
    put32(file, 6 + 12, 22);
    put32(file, 22, 40);
    put32(file, 22 + 4, 2);
    put32(file, 22 + 8, 2);
    file[22 + 12] = 1;
    file[22 + 14] = 32;
    const std::size_t pixels = 22 + 40;
    file[pixels + 2] = 0xFF;  // red
    file[pixels + 3] = 0xFF;  // opaque
    file[pixels + 6] = 0xFF;  // red, but alpha 0
    const auto images = decodeIconFile(file.data(), file.size());
    ASSERT_TRUE(images.has_value());
    EXPECT_EQ((*images)[0].at(0, 0), 0xFFFF0000u);
    EXPECT_EQ((*images)[0].at(1, 0), 0u);
}

}  // namespace
}  // namespace fernwick
