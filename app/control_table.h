// The window and its four controls, as data compiled into the program: the values of the first
// welcome screen. (The game's restart sets two of them again, in game/start_button_toggle.h.)
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace fernwick {

// Bytes compiled into the executable; empty when the slot is not filled.
struct EmbeddedBytes {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    const char* file = nullptr;  // the same bytes as a file of the web page's site
    bool empty() const { return data == nullptr || size == 0; }
};

// A picture for a control, and optionally the same drawing at twice the size for scale-2 screens.
struct ImageSlot {
    EmbeddedBytes image;
    EmbeddedBytes image2x;
    bool empty() const { return image.empty(); }
};
inline constexpr ImageSlot kNoPicture{};

// 0x00BBGGRR, red in the low byte.
using ColourValue = std::uint32_t;
constexpr int red(ColourValue c) { return static_cast<int>(c & 0xFFu); }
constexpr int green(ColourValue c) { return static_cast<int>((c >> 8) & 0xFFu); }
constexpr int blue(ColourValue c) { return static_cast<int>((c >> 16) & 0xFFu); }
constexpr ColourValue colourValue(int r, int g, int b) {
    return static_cast<ColourValue>(r) | static_cast<ColourValue>(g) << 8 |
           static_cast<ColourValue>(b) << 16;
}

struct FontDescription {
    std::u16string_view face;  // upright, neither underlined nor struck out
    std::int32_t size;         // ten-thousandths of a point: 277500 is 27.75 pt
    std::int16_t weight;       // 400 normal, 700 bold
    std::uint8_t charset;      // 0: ANSI (Western); selects a font, stores nothing
};

enum class Border { None, Fixed, Sizable };
enum class WindowState { Normal, Minimized, Maximized };
enum class ControlKind { Label, PushButton, PictureFrame };

struct WindowRecord {
    std::u16string_view name;
    std::u16string_view caption;
    std::int32_t clientWidth;   // twips
    std::int32_t clientHeight;  // twips
    Border border;
    bool systemMenu;
    bool minimizeBox;
    bool maximizeBox;
    bool showInTaskBar;
    WindowState initialState;
    // Background (button face), font and position come from the platform, so are not here. The
    // icon group's resource number (its 16 x 16 and 32 x 32 images); 0: the platform's own icon.
    int iconResource;
};

struct ControlRecord {
    std::u16string_view name;
    ControlKind kind;
    std::optional<std::u16string_view> text = std::nullopt;
    std::optional<ColourValue> textColour = std::nullopt;  // none: the system button-text colour
    std::int16_t left, top, width, height;                 // twips, relative to the client area
    bool visible = true;
    std::int16_t tabIndex;
    std::optional<FontDescription> font = std::nullopt;  // none: the window's font
    const ImageSlot* picture = &kNoPicture;              // picture frames only
    // What screen readers call the control; empty: it is named by its text.
    std::u16string_view accessibleName = {};
};

constexpr std::size_t kControlCount = 4;

struct ControlTable {
    WindowRecord window;
    std::array<ControlRecord, kControlCount> controls;  // in creation order
};

// The dog of Picture1, both renderings (control_table.cpp).
extern const ImageSlot kDogPicture;

// The program's one table.
inline constexpr ControlTable kControlTable{
    WindowRecord{
        .name = u"Form1",
        .caption = u"FernWick",
        .clientWidth = 3585,
        .clientHeight = 4290,
        .border = Border::Sizable,
        .systemMenu = true,
        .minimizeBox = true,
        .maximizeBox = true,
        .showInTaskBar = true,
        .initialState = WindowState::Normal,
        .iconResource = 1,
    },
    {{
        {.name = u"Picture1",
         .kind = ControlKind::PictureFrame,
         .left = 600,
         .top = 1320,
         .width = 2295,
         .height = 2415,
         .tabIndex = 2,
         .picture = &kDogPicture,
         .accessibleName = u"Cartoon dog"},
        {.name = u"STARTBUTTON",
         .kind = ControlKind::PushButton,
         .text = u"BEGIN FERNWICK!",
         .left = 120,
         .top = 3840,
         .width = 3375,
         .height = 375,
         .tabIndex = 1},
        {.name = u"status",
         .kind = ControlKind::Label,
         .text = u"clocked",
         .left = 240,
         .top = 2400,
         .width = 735,
         .height = 615,
         .visible = false,
         .tabIndex = 3},
        {.name = u"HEADING",
         .kind = ControlKind::Label,
         .text = u"Welcome to FERNWICK!",
         .textColour = ColourValue{0x00C00000},
         .left = 120,
         .top = 0,
         .width = 3375,
         .height = 1575,
         .tabIndex = 0,
         .font = FontDescription{u"Tahoma", 277500, 700, 0}},  // bold, 27.75 pt, Western
    }},
};

// Where `table` holds each of Form1's named controls. A table that lacks one, or holds it as
// another kind, does not compile: the message names the control.
template <const ControlTable& table>
struct NamedControls {
    // The place of the control named `name`, if it is of `kind`; else kControlCount.
    static constexpr std::size_t find(std::u16string_view name, ControlKind kind) {
        std::size_t i = 0;
        while (i < kControlCount && table.controls[i].name != name) ++i;
        return i < kControlCount && table.controls[i].kind == kind ? i : kControlCount;
    }
    static constexpr std::size_t Picture1 = find(u"Picture1", ControlKind::PictureFrame);
    static constexpr std::size_t STARTBUTTON = find(u"STARTBUTTON", ControlKind::PushButton);
    static constexpr std::size_t status = find(u"status", ControlKind::Label);
    static constexpr std::size_t HEADING = find(u"HEADING", ControlKind::Label);
    static_assert(Picture1 < kControlCount,
                  "the control table has no picture frame named Picture1");
    static_assert(STARTBUTTON < kControlCount,
                  "the control table has no push button named STARTBUTTON");
    static_assert(status < kControlCount, "the control table has no label named status");
    static_assert(HEADING < kControlCount, "the control table has no label named HEADING");
};
using Named = NamedControls<kControlTable>;

}  // namespace fernwick
