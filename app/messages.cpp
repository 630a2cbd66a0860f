#include "app/messages.h"

#include <cstdio>

#include "app/control_table.h"

namespace fernwick {

std::u16string failureMessage(std::uint32_t code) {
    const std::string codes = std::to_string(code) + " (" + hexCode(code) + ")";
    return u"The game cannot go on: a control of the window failed to change.\n\nFailure code: " +
           std::u16string(codes.begin(), codes.end()) + u"\n\n" +
           std::u16string(kControlTable.window.caption) + u" will close now.";
}

void reportUndecodablePicture(std::string_view why) {
    std::fprintf(stderr,
                 "fernwick: the picture could not be decoded (%.*s); its frame stays empty\n",
                 static_cast<int>(why.size()), why.data());
}

std::string hexCode(std::uint32_t code) {
    char hex[11];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(code));
    return hex;
}

}  // namespace fernwick
