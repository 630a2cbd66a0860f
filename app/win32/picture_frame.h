// The picture frame: a child window with a sunken border, two pixels wide at 96 DPI and as wide in
// points at any other, whose inner area shows the picture unscaled from its top-left corner, on the
// button face. It takes no keyboard focus.
#pragma once

#include <objbase.h>
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "app/control_table.h"
#include "app/controls.h"
#include "app/win32/window_base.h"

namespace fernwick::win32 {

// A decoded picture: width x height pixels, top row first, each 0xAARRGGBB. An alpha of 0 marks a
// pixel that is not drawn.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// COM on the calling thread while this lives: the Windows Imaging Component is a COM service.
struct ComApartment {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    ComApartment() = default;
    ComApartment(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(hr)) CoUninitialize();
    }
};

// The rendering of `slot` for a screen of `dpi`, decoded by the Windows Imaging Component: the
// first frame, with the transparency it declares. Nothing for an empty slot; nothing either for
// bytes that do not decode, which is said on stderr. COM must be initialised on this thread.
std::optional<Picture> decodePicture(const ImageSlot& slot, int dpi);

class PictureFrameWindow final : public PictureFrame, public Window {
  public:
    PictureFrameWindow(const ImageSlot& picture, int dpi) : slot_(picture) { place({}, dpi); }

    // Creates the window: `rect` is its outer rectangle in the parent's client pixels.
    HWND create(HINSTANCE instance, HWND parent, const PixelRect& rect, int id, bool visible) {
        return Window::create(instance, L"FernWickPictureFrame", nullptr, nullptr, 0, L"",
                              WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0), toRect(rect),
                              parent, id);
    }
    // The window moves to `rect`, its border takes the width for `dpi`, and the picture is decoded
    // again if that screen's scale takes the other rendering.
    void place(const PixelRect& rect, int dpi) override;

    const std::optional<Picture>& picture() const { return picture_; }

  private:
    // WM_PAINT fills every pixel: nothing is erased first.
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        return message == WM_ERASEBKGND ? 1 : Window::handle(message, wParam, lParam);
    }
    void paint(HDC dc) override;

    const ImageSlot& slot_;
    std::optional<Picture> picture_;
    const unsigned char* decodedFrom_ = nullptr;  // the rendering picture_ was decoded from
    int border_ = 2;                              // the border's width in pixels
};

}  // namespace fernwick::win32
