// The icon as the Windows program carries it: assets/identity/fernwick.ico, compiled in.
#include <gtest/gtest.h>

#include <cstdint>

#include "fernwick_app_icon.h"

namespace {

std::uint32_t le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
std::uint32_t le32(const unsigned char* p) {
    return le16(p) | (static_cast<std::uint32_t>(le16(p + 2)) << 16);
}
std::int32_t le32s(const unsigned char* p) { return static_cast<std::int32_t>(le32(p)); }

struct Pixel {
    int r, g, b;
    bool transparent;
};

// One image of the icon, decoded from its bottom-up rows: pixel(x, y) with y = 0 at the top.
struct IconImage {
    int size = 0;
    const unsigned char* data = nullptr;  // the BITMAPINFOHEADER

    int colourStride() const { return (size * 3 + 3) / 4 * 4; }
    int maskStride() const { return ((size + 7) / 8 + 3) / 4 * 4; }
    const unsigned char* maskRow(int y) const {
        return data + 40 + colourStride() * size + maskStride() * (size - 1 - y);
    }
    Pixel pixel(int x, int y) const {
        const unsigned char* c = data + 40 + colourStride() * (size - 1 - y) + x * 3;
        bool transparent = maskRow(y)[x / 8] & (0x80 >> (x % 8));
        return {c[2], c[1], c[0], transparent};
    }
};

IconImage image(int index) {
    const unsigned char* entry = fernwick_app_icon + 6 + 16 * index;
    return {entry[0] == 0 ? 256 : entry[0], fernwick_app_icon + le32(entry + 12)};
}

// The sizes Windows expects of a 24-bit image with its mask: header, colour rows, mask rows.
constexpr std::uint32_t imageBytes(int n) { return 40 + n * n * 3 + n * ((n / 8 + 3) / 4 * 4); }
static_assert(imageBytes(16) == 872 && imageBytes(32) == 3240);

// Two images, 16 then 32 pixels, each uncompressed 24-bit with a 1-bit mask, back to back.
TEST(AppIcon, HoldsTheSixteenThenTheThirtyTwoPixelImageIn24Bits) {
    ASSERT_GE(fernwick_app_icon_size, 6u + 2 * 16);
    EXPECT_EQ(le16(fernwick_app_icon), 0u);      // reserved
    EXPECT_EQ(le16(fernwick_app_icon + 2), 1u);  // an icon, not a cursor
    ASSERT_EQ(le16(fernwick_app_icon + 4), 2u);

    std::uint32_t expectedOffset = 6 + 2 * 16;
    for (int i = 0; i < 2; ++i) {
        const int n = 16 << i;
        SCOPED_TRACE(n);
        const unsigned char* e = fernwick_app_icon + 6 + 16 * i;
        EXPECT_EQ(e[0], n);  // width
        EXPECT_EQ(e[1], n);  // height
        EXPECT_EQ(e[2], 0);  // no palette
        EXPECT_EQ(le16(e + 4), 1u);
        EXPECT_EQ(le16(e + 6), 24u);
        EXPECT_EQ(le32(e + 8), imageBytes(n));
        ASSERT_EQ(le32(e + 12), expectedOffset);
        expectedOffset += imageBytes(n);

        const unsigned char* h = image(i).data;  // its BITMAPINFOHEADER
        EXPECT_EQ(le32(h), 40u);
        EXPECT_EQ(le32s(h + 4), n);
        EXPECT_EQ(le32s(h + 8), 2 * n);  // colour rows and mask rows together
        EXPECT_EQ(le16(h + 12), 1u);     // planes
        EXPECT_EQ(le16(h + 14), 24u);    // bit count
        EXPECT_EQ(le32(h + 16), 0u);     // uncompressed
        EXPECT_EQ(le32(h + 32), 0u);     // no palette colours used
    }
    EXPECT_EQ(fernwick_app_icon_size, expectedOffset);  // nothing after the second image
}

// The silhouette: dark, grey only at its anti-aliased edge, with a clear border all round.
TEST(AppIcon, ImagesShowABlackSilhouetteWithGreyEdgesOnTransparency) {
    for (int i = 0; i < 2; ++i) {
        const IconImage img = image(i);
        SCOPED_TRACE(img.size);
        const int n = img.size;
        const auto nearTransparency = [&](int x, int y) {
            for (int dy = -2; dy <= 2; ++dy) {
                for (int dx = -2; dx <= 2; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= n || ny >= n || img.pixel(nx, ny).transparent) {
                        return true;
                    }
                }
            }
            return false;
        };
        int opaque = 0, black = 0, dark = 0, grey = 0;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const Pixel p = img.pixel(x, y);
                if (p.transparent) {
                    EXPECT_TRUE(p.r == 0 && p.g == 0 && p.b == 0)
                        << "colour under the mask at " << x << "," << y;
                    continue;
                }
                ++opaque;
                EXPECT_TRUE(p.r == p.g && p.g == p.b) << "not grey at " << x << "," << y;
                EXPECT_LT(p.r, 255) << "white at " << x << "," << y;
                black += p.r == 0;
                dark += p.r < 128;
                if (p.r > 0 && p.r < 255) {
                    ++grey;
                    EXPECT_TRUE(nearTransparency(x, y))
                        << "grey inside the shape at " << x << "," << y;
                }
            }
        }
        EXPECT_GT(grey, 0) << "no anti-aliased edge";
        EXPECT_GE(black * 2, opaque) << "less than half the shape is black";
        EXPECT_GE(dark * 4, opaque * 3) << "too pale for a silhouette";
        EXPECT_GT(opaque, n * n / 4);
        EXPECT_LT(opaque, n * n * 3 / 4);

        for (int k = 0; k < n; ++k) {
            EXPECT_TRUE(img.pixel(k, 0).transparent) << "top row, x " << k;
            EXPECT_TRUE(img.pixel(k, n - 1).transparent) << "bottom row, x " << k;
            EXPECT_TRUE(img.pixel(0, k).transparent) << "left column, y " << k;
            EXPECT_TRUE(img.pixel(n - 1, k).transparent) << "right column, y " << k;
        }
        const Pixel centre = img.pixel(n / 2, n / 2);
        EXPECT_FALSE(centre.transparent);
        EXPECT_EQ(centre.r, 0);
    }
}

// Both sizes are renderings of one drawing: halved, the larger one's mask matches the smaller.
TEST(AppIcon, BothSizesShowTheSameShape) {
    const IconImage small = image(0), large = image(1);
    ASSERT_EQ(small.size * 2, large.size);
    int agree = 0;
    for (int y = 0; y < small.size; ++y) {
        for (int x = 0; x < small.size; ++x) {
            int covered = 0;
            for (int d = 0; d < 4; ++d)
                covered += !large.pixel(2 * x + d % 2, 2 * y + d / 2).transparent;
            agree += (covered >= 2) == !small.pixel(x, y).transparent;
        }
    }
    EXPECT_GE(agree, small.size * small.size * 9 / 10);
}

}  // namespace
