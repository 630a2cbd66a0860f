// The core's data in Qt's types. Its UTF-16 texts and Qt's strings hold the same code units.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <string_view>

#include "app/control_table.h"

namespace fernwick::qt {

inline QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

// The first image in `bytes`, read as `format` alone ("png" by QtGui itself, "gif" by its
// image-format plugin): no other plugin is asked whether it knows the bytes, so none is loaded.
// Null if they do not decode; `error` then says why.
inline QImage readImage(const EmbeddedBytes& bytes, const char* format, QString* error = nullptr) {
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data),
                                              static_cast<qsizetype>(bytes.size));
    QBuffer buffer(&data);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull() && error) *error = reader.errorString();
    return image;
}

}  // namespace fernwick::qt
