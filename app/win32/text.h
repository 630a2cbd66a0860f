// Text between the core, which holds UTF-16 as char16_t, and the Windows API, which takes UTF-16 as
// wchar_t: on Windows the two are the same 16-bit code units, so this only changes the type.
#pragma once

#include <string>
#include <string_view>

namespace fernwick::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wchar_t holds UTF-16 code units");

inline std::wstring toWide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string fromWide(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

}  // namespace fernwick::win32
