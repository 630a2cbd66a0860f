// What the program tells the user: the failure of a click, and a picture that did not decode.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fernwick {

// The text of the modal message that reports a failed control operation, with its code.
std::u16string failureMessage(std::uint32_t code);

// Says in one line on stderr that the picture did not decode, and why: its frame stays empty.
void reportUndecodablePicture(std::string_view why);

// A status code as the platform writes it: "0x" and eight upper-case hexadecimal digits.
std::string hexCode(std::uint32_t code);

}  // namespace fernwick
