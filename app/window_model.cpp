#include "app/window_model.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace fernwick {
namespace {

const char* kindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return "label";
        case ControlKind::PushButton:
            return "push button";
        case ControlKind::PictureFrame:
            return "picture frame";
    }
    return "control";
}

std::string narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

// The controls the game reaches by name, and the kind each must be.
struct Named {
    std::u16string_view name;
    ControlKind kind;
};
constexpr Named kNamed[] = {{u"Picture1", ControlKind::PictureFrame},
                            {u"STARTBUTTON", ControlKind::PushButton},
                            {u"status", ControlKind::Label},
                            {u"HEADING", ControlKind::Label}};

}  // namespace

WindowModel::WindowModel(const ControlTable& table, int dpi) : table_(table), dpi_(dpi) {
    for (const Named& named : kNamed) {
        const std::size_t i = table.indexOf(named.name);
        if (i == table.controls.size()) {
            throw TableError("the control table has no " + std::string(kindName(named.kind)) +
                             " named " + narrow(named.name));
        }
        if (table.controls[i].kind != named.kind) {
            throw TableError("the control table's " + narrow(named.name) + " is a " +
                             kindName(table.controls[i].kind) + ", not a " + kindName(named.kind));
        }
    }
    for (std::size_t i = 0; i < table.controls.size(); ++i) {
        if (takesFocus(i)) focusOrder_.push_back(i);
    }
    std::stable_sort(focusOrder_.begin(), focusOrder_.end(),
                     [&table](std::size_t a, std::size_t b) {
                         return table.controls[a].tabIndex < table.controls[b].tabIndex;
                     });
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
    char hex[11];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(code));
    return hex;
}

std::u16string failureMessage(std::u16string_view program, std::uint32_t code) {
    const std::string numbers = std::to_string(code) + " (" + hexCode(code) + ")";
    return u"The game cannot go on: a control of the window failed to change.\n\nFailure code: " +
           std::u16string(numbers.begin(), numbers.end()) + u"\n\n" + std::u16string(program) +
           u" will close now.";
}

}  // namespace fernwick
