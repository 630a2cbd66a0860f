#include "app/icon_file.h"

#include <cstdint>

namespace fernwick {
namespace {

std::uint32_t le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
std::uint32_t le32(const unsigned char* p) { return le16(p) | (le16(p + 2) << 16); }

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kHeaderSize = 40;
constexpr int kLargestSide = 256;

std::optional<DecodedImage> decodeImage(const unsigned char* bits, std::size_t size) {
    if (size < kHeaderSize || le32(bits) != kHeaderSize) return std::nullopt;
    const auto width = static_cast<std::int32_t>(le32(bits + 4));
    const auto doubledHeight = static_cast<std::int32_t>(le32(bits + 8));
    const std::uint32_t planes = le16(bits + 12);
    const std::uint32_t depth = le16(bits + 14);
    const std::uint32_t compression = le32(bits + 16);
    // The height counts the colour rows and the mask rows.
    const std::int32_t height = doubledHeight / 2;
    if (width <= 0 || width > kLargestSide || height <= 0 || height > kLargestSide ||
        doubledHeight != 2 * height || planes != 1 || compression != 0 ||
        (depth != 24 && depth != 32)) {
        return std::nullopt;
    }
    const std::size_t colourStride = (static_cast<std::size_t>(width) * depth / 8 + 3) / 4 * 4;
    const std::size_t maskStride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    const std::size_t rows = static_cast<std::size_t>(height);
    if (size < kHeaderSize + (colourStride + maskStride) * rows) return std::nullopt;

    DecodedImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * rows);
    const unsigned char* colours = bits + kHeaderSize;
    const unsigned char* mask = colours + colourStride * rows;
    for (std::size_t y = 0; y < rows; ++y) {
        // Rows are stored bottom row first.
        const unsigned char* colourRow = colours + colourStride * (rows - 1 - y);
        const unsigned char* maskRow = mask + maskStride * (rows - 1 - y);
        for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
            const unsigned char* c = colourRow + x * (depth / 8);
            bool transparent = (maskRow[x / 8] & (0x80u >> (x % 8))) != 0;
            if (depth == 32) transparent = transparent || c[3] < 128;
            image.pixels[y * static_cast<std::size_t>(width) + x] =
                transparent
                    ? 0u
                    : 0xFF000000u | (std::uint32_t{c[2]} << 16) | (std::uint32_t{c[1]} << 8) | c[0];
        }
    }
    return image;
}

}  // namespace

std::optional<std::vector<DecodedImage>> decodeIconFile(const unsigned char* data,
                                                        std::size_t size) {
    if (data == nullptr || size < kDirectorySize) return std::nullopt;
    if (le16(data) != 0 || le16(data + 2) != 1) return std::nullopt;
    const std::size_t count = le16(data + 4);
    if (count == 0 || size < kDirectorySize + count * kEntrySize) return std::nullopt;

    std::vector<DecodedImage> images;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* entry = data + kDirectorySize + i * kEntrySize;
        const std::size_t length = le32(entry + 8);
        const std::size_t offset = le32(entry + 12);
        if (offset > size || length > size - offset) return std::nullopt;
        std::optional<DecodedImage> image = decodeImage(data + offset, length);
        if (!image) return std::nullopt;
        images.push_back(std::move(*image));
    }
    return images;
}

}  // namespace fernwick
