// The window and its four controls, as data: nothing else in the program repeats its values.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace fernwick {

// The program's icon group: the resource number under which both front ends find the icon.
constexpr int kAppIconResource = 1;

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
    std::u16string_view face;
    std::int32_t size;     // ten-thousandths of a point: 277500 is 27.75 pt
    std::int16_t weight;   // 400 normal, 700 bold
    std::uint8_t charset;  // 0: ANSI (Western); selects a font, stores nothing
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
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
    // icon group of the 16 x 16 and 32 x 32 images; 0: the platform's default icon.
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
    ImageSlot picture = {};                              // picture frames only
    // What screen readers call the control; empty: it is named by its text.
    std::u16string_view accessibleName = {};
};

constexpr std::size_t kControlCount = 4;

struct ControlTable {
    WindowRecord window;
    std::array<ControlRecord, kControlCount> controls;  // in creation order

    // The position in `controls` of the record named `name`, or controls.size().
    std::size_t indexOf(std::u16string_view name) const;
};

// The program's one table.
const ControlTable& controlTable();

}  // namespace fernwick
