// A GIF decoder for the program's still pictures. It includes no toolkit or Windows header, so
// every front end shares it: the front end decodes the embedded bytes with it and draws the result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fernwick {

// A decoded picture: width x height pixels, row-major, top row first, each 0xAARRGGBB. The alpha
// is 0 (transparent; the colour bits are then 0 too) or 255 (opaque), nothing in between.
struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// The largest logical screen or frame side decodeFirstGifFrame accepts, in pixels.
constexpr int kMaxGifSide = 4096;

// Decodes the first frame of a GIF87a or GIF89a file as a still picture the size of the logical
// screen. The frame's pixels take their colours from its local colour table, or the global one
// when it has none; the area of the screen outside the frame's rectangle is transparent. Pixels
// of the transparent index declared by a graphic control extension placed before the first frame
// are transparent; without one nothing in the frame is. Everything after the first frame's image
// data (further frames with their extensions, comments, application blocks, the trailer) is not
// read, so it cannot affect the result. Interlaced and non-interlaced frames are both decoded. An
// index beyond the end of the frame's colour table shows opaque black.
//
// Returns nothing, and when `error` is given sets it to a short reason, if the data is not such a
// file: a bad signature; a screen or frame side of 0 or above kMaxGifSide; no colour table; an
// LZW minimum code size outside 2..8; an LZW code not yet defined; image data that ends before
// the frame is filled; a file that ends before the first frame's image data does. It never reads
// outside [data, data + size) and takes time linear in size plus the picture's area.
std::optional<DecodedImage> decodeFirstGifFrame(const unsigned char* data, std::size_t size,
                                                std::string* error = nullptr);

}  // namespace fernwick
