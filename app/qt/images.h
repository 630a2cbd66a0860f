// Decoded pictures as Qt images.
#pragma once

#include <QImage>
#include <cstring>

#include "app/gif_decoder.h"

namespace fernwick::qt {

// The pixels are 0xAARRGGBB with alpha 0 or 255 and transparent pixels all zero, which is
// already Qt's premultiplied ARGB: the bytes are copied as they are.
inline QImage toQImage(const DecodedImage& decoded) {
    QImage image(decoded.width, decoded.height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return image;
    const std::size_t rowBytes = static_cast<std::size_t>(decoded.width) * 4;
    for (int y = 0; y < decoded.height; ++y) {
        std::memcpy(image.scanLine(y), &decoded.pixels[static_cast<std::size_t>(y) * decoded.width],
                    rowBytes);
    }
    return image;
}

}  // namespace fernwick::qt
