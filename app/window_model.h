// The window as every front end builds it: the control table in pixels for a screen, the focus
// order, and the picture's rendering for the screen's scale, or why it did not decode.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "app/control_table.h"
#include "app/controls.h"
#include "app/units.h"

namespace fernwick {

class WindowModel {
  public:
    explicit WindowModel(int dpi = kDesignDpi);

    int dpi() const { return dpi_; }
    // The window moved to a screen of `dpi`: every length is worked out for it from now on.
    void setDpi(int dpi) { dpi_ = dpi; }
    int clientWidth() const { return twipsToPixels(kControlTable.window.clientWidth, dpi_); }
    int clientHeight() const { return twipsToPixels(kControlTable.window.clientHeight, dpi_); }
    // The rectangle of the control at `index` in table order, relative to the client area.
    PixelRect rect(std::size_t index) const;

    // The controls that take keyboard focus (the visible push buttons), as positions in table
    // order, in tab-index order (ties in table order).
    const std::vector<std::size_t>& focusOrder() const { return focusOrder_; }
    bool takesFocus(std::size_t index) const;

  private:
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

}  // namespace fernwick
