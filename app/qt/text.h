// The core's UTF-16 texts and Qt's strings hold the same code units; these convert between them.
#pragma once

#include <QString>
#include <string_view>

namespace fernwick::qt {

inline QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

inline std::u16string_view toView(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

}  // namespace fernwick::qt
