#include "app/controls.h"

#include "app/control_table.h"

namespace fernwick {

std::string hexCode(std::uint32_t code) {
    std::string hex = "0x00000000";
    for (std::size_t i = hex.size(); code; code >>= 4) hex[--i] = "0123456789ABCDEF"[code & 15];
    return hex;
}

std::u16string failureMessage(std::uint32_t code) {
    std::u16string decimal;
    for (std::uint32_t rest = code; decimal.empty() || rest; rest /= 10)
        decimal.insert(decimal.begin(), static_cast<char16_t>(u'0' + rest % 10));
    const std::string hex = hexCode(code);
    return u"The game cannot go on: a control of the window failed to change.\n\nFailure code: " +
           decimal + u" (" + std::u16string(hex.begin(), hex.end()) + u")\n\n" +
           std::u16string(kControlTable.window.caption) + u" will close now.";
}

}  // namespace fernwick
