#include "app/window_model.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace fernwick {
namespace {

constexpr std::string_view kKindNames[] = {"label", "push button", "picture frame"};  // by kind
std::string_view kindName(ControlKind kind) { return kKindNames[static_cast<int>(kind)]; }

std::string narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

// The controls the game reaches by name, and the kind each must be.
constexpr std::pair<std::u16string_view, ControlKind> kNamed[] = {
    {u"Picture1", ControlKind::PictureFrame},
    {u"STARTBUTTON", ControlKind::PushButton},
    {u"status", ControlKind::Label},
    {u"HEADING", ControlKind::Label}};

}  // namespace

WindowModel::WindowModel(const ControlTable& table, int dpi) : table_(table), dpi_(dpi) {
    for (const auto& [name, kind] : kNamed) {
        const std::size_t i = table.indexOf(name);
        if (i == table.controls.size()) {
            tableError({"the control table has no ", kindName(kind), " named ", narrow(name)});
        }
        if (table.controls[i].kind != kind) {
            tableError({"the control table's ", narrow(name), " is a ",
                        kindName(table.controls[i].kind), ", not a ", kindName(kind)});
        }
    }
    auto before = [&table](std::size_t a, std::size_t b) {
        return table.controls[a].tabIndex < table.controls[b].tabIndex;
    };
    for (std::size_t i = 0; i < table.controls.size(); ++i) {
        if (!takesFocus(i)) continue;
        focusOrder_.insert(std::upper_bound(focusOrder_.begin(), focusOrder_.end(), i, before), i);
    }
}

PixelRect WindowModel::rect(std::size_t index) const {
    const ControlRecord& r = table_.controls.at(index);
    return {twipsToPixels(r.left, dpi_), twipsToPixels(r.top, dpi_), twipsToPixels(r.width, dpi_),
            twipsToPixels(r.height, dpi_)};
}

bool WindowModel::takesFocus(std::size_t index) const {
    const ControlRecord& r = table_.controls.at(index);
    return r.visible && r.kind == ControlKind::PushButton;
}

void tableError(std::initializer_list<std::string_view> what) {
    std::string text;
    for (std::string_view part : what) text += part;
#if __cpp_exceptions
    throw TableError(text);
#else
    abortStart(text);
#endif
}

ChosenPicture choosePicture(const ImageSlot& slot, double scale) {
    if (slot.empty()) return {};
    if (scale >= 1.5 && !slot.image2x.empty()) return {slot.image2x, 2};
    return {slot.image, 1};
}

void reportUndecodablePicture(std::string_view why) {
    std::fprintf(stderr,
                 "fernwick: the picture could not be decoded (%.*s); its frame stays empty\n",
                 static_cast<int>(why.size()), why.data());
}

std::string hexCode(std::uint32_t code) {
    std::string hex = "0x00000000";
    for (std::size_t i = hex.size(); code; code >>= 4) hex[--i] = "0123456789ABCDEF"[code & 15];
    return hex;
}

std::u16string failureMessage(std::u16string_view program, std::uint32_t code) {
    std::u16string decimal;
    for (std::uint32_t rest = code; decimal.empty() || rest; rest /= 10)
        decimal.insert(decimal.begin(), static_cast<char16_t>(u'0' + rest % 10));
    const std::string hex = hexCode(code);
    return u"The game cannot go on: a control of the window failed to change.\n\nFailure code: " +
           decimal + u" (" + std::u16string(hex.begin(), hex.end()) + u")\n\n" +
           std::u16string(program) + u" will close now.";
}

}  // namespace fernwick
