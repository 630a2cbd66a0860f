// The picture frame: a child window with a sunken client edge whose inner area shows the picture
// unscaled from its top-left corner, on the button face. It takes no keyboard focus.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "app/control_table.h"
#include "app/controls.h"
#include "app/gif_decoder.h"

namespace fernwick::win32 {

class PictureFrameWindow final : public PictureFrame {
  public:
    // Decodes the picture now, once, for a screen of `dpi`. An empty slot or bytes that do not
    // decode leave only the background.
    PictureFrameWindow(const ImageSlot& picture, int dpi);
    // The window moved to a screen of `dpi`: the picture is decoded again for its scale.
    void setDpi(int dpi);
    ~PictureFrameWindow() override;
    PictureFrameWindow(const PictureFrameWindow&) = delete;
    PictureFrameWindow& operator=(const PictureFrameWindow&) = delete;

    // Creates the window: `rect` is its outer rectangle in the parent's client pixels.
    HWND create(HINSTANCE instance, HWND parent, const RECT& rect, int id, bool visible);

    HWND hwnd() const { return hwnd_; }
    const std::optional<DecodedImage>& picture() const { return picture_; }

    // Paints the inner area on `dc`.
    void paint(HDC dc);

  private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    const ImageSlot& slot_;
    std::optional<DecodedImage> picture_;
    // The picture laid on the button face, as a device-independent bitmap's rows.
    std::vector<std::uint32_t> composed_;
    COLORREF composedOn_ = CLR_INVALID;
};

}  // namespace fernwick::win32
