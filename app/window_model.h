// The window as every front end builds it: what the control table means in pixels for a screen,
// which controls take the keyboard focus and in what order, which rendering of the picture shows
// and what a failure message says. app/form_builder.h builds Form1 from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/control_table.h"
#include "app/controls.h"
#include "app/units.h"

namespace fernwick {

// A control table the window cannot be built from: a control the game needs is missing or of the
// wrong kind. Start-up ends with its message.
class TableError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class WindowModel {
  public:
    // Checks `table` and works the window out for a screen of `dpi` dots per inch. Throws
    // TableError naming the first fault.
    explicit WindowModel(const ControlTable& table = controlTable(), int dpi = kDesignDpi);

    const ControlTable& table() const { return table_; }
    int dpi() const { return dpi_; }
    // The window moved to a screen of `dpi`: every length is worked out for it from now on.
    void setDpi(int dpi) { dpi_ = dpi; }
    int clientWidth() const { return twipsToPixels(table_.window.clientWidth, dpi_); }
    int clientHeight() const { return twipsToPixels(table_.window.clientHeight, dpi_); }
    // The rectangle of the control at `index` in table order, relative to the client area.
    PixelRect rect(std::size_t index) const;

    // The controls that take keyboard focus, as positions in table order, in tab-index order
    // (ties in table order): the visible push buttons. Labels and hidden controls never take
    // focus, and the picture frame takes none either.
    const std::vector<std::size_t>& focusOrder() const { return focusOrder_; }
    bool takesFocus(std::size_t index) const;

  private:
    const ControlTable& table_;
    int dpi_;
    std::vector<std::size_t> focusOrder_;
};

// The rendering of a picture that a frame shows on a screen of `scale` device pixels per pixel:
// the double-size one where the scale is 1.5 or more and the slot has one, otherwise the picture
// pixel for pixel. The front end decodes the bytes with the platform's own decoder. An empty slot
// gives no bytes.
struct ChosenPicture {
    EmbeddedBytes bytes;
    int scale = 1;  // device pixels per picture pixel
};
ChosenPicture choosePicture(const ImageSlot& slot, double scale);

// Says in one line on stderr that the picture did not decode, and why: its frame stays empty.
void reportUndecodablePicture(std::string_view why);

// The text of the modal message that reports a failed control operation, with its code.
std::u16string failureMessage(std::u16string_view program, std::uint32_t code);

// A status code as the platform writes it: "0x" and eight upper-case hexadecimal digits.
std::string hexCode(std::uint32_t code);

}  // namespace fernwick
