// Reads the images of an icon file (.ico): each a bitmap of 24 or 32 bits per pixel followed by
// its 1-bit transparency mask. Shared by the front ends that draw the window icon themselves.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "app/gif_decoder.h"

namespace fernwick {

// The images in file order, each with alpha 0 where its mask (or, at 32 bits, its alpha) says
// transparent and 255 elsewhere. Returns nothing if the file is not such an icon or any image is
// cut short; it never reads outside [data, data + size). Images of other depths, and PNG images,
// are not supported.
std::optional<std::vector<DecodedImage>> decodeIconFile(const unsigned char* data,
                                                        std::size_t size);

}  // namespace fernwick
