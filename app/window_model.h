// The window as every front end builds it: the control table in pixels for a screen, the focus
// order, which rendering of the picture shows and what a failure message says.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/control_table.h"
#include "app/controls.h"
#include "app/units.h"

namespace fernwick {

// A table that lacks a control the game needs, or has it of the wrong kind: start-up ends.
class TableError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Throws TableError saying `what`, its parts one after another. Built without exceptions (the web
// page), the program hands it to its front end's abortStart, which ends the start, not returning.
[[noreturn]] void tableError(std::initializer_list<std::string_view> what);
[[noreturn]] void abortStart(const std::string& what);

class WindowModel {
  public:
    // The window for a screen of `dpi`. Throws TableError naming the first fault of `table`.
    explicit WindowModel(const ControlTable& table = controlTable(), int dpi = kDesignDpi);

    const ControlTable& table() const { return table_; }
    int dpi() const { return dpi_; }
    // The window moved to a screen of `dpi`: every length is worked out for it from now on.
    void setDpi(int dpi) { dpi_ = dpi; }
    int clientWidth() const { return twipsToPixels(table_.window.clientWidth, dpi_); }
    int clientHeight() const { return twipsToPixels(table_.window.clientHeight, dpi_); }
    // The rectangle of the control at `index` in table order, relative to the client area.
    PixelRect rect(std::size_t index) const;

    // The controls that take keyboard focus (the visible push buttons), as positions in table
    // order, in tab-index order (ties in table order).
    const std::vector<std::size_t>& focusOrder() const { return focusOrder_; }
    bool takesFocus(std::size_t index) const;

  private:
    const ControlTable& table_;
    int dpi_;
    std::vector<std::size_t> focusOrder_;
};

// The rendering a frame shows at `scale` device pixels per pixel: the double-size one from 1.5
// where the slot has one, otherwise the picture itself. An empty slot gives no bytes.
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
