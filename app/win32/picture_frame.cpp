#include "app/win32/picture_frame.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <limits>

#include "app/window_model.h"

namespace fernwick::win32 {

using Microsoft::WRL::ComPtr;

namespace {

// Fills a ring `width` pixels wide just inside `r`, its top and left sides in the system colour
// `topLeft` and its bottom and right sides in `bottomRight`, as DrawEdge does; `r` becomes the area
// inside it.
void ring(HDC dc, RECT& r, int width, int topLeft, int bottomRight) {
    const RECT sides[] = {{r.left, r.top, r.right, r.top + width},
                          {r.left, r.top, r.left + width, r.bottom},
                          {r.left, r.bottom - width, r.right, r.bottom},
                          {r.right - width, r.top, r.right, r.bottom}};
    for (int i = 0; i < 4; ++i)
        FillRect(dc, &sides[i], GetSysColorBrush(i < 2 ? topLeft : bottomRight));
    InflateRect(&r, -width, -width);
}

}  // namespace

// The first frame as 32-bit BGRA rows, which in memory are 0xAARRGGBB: the decoder gives the
// pixels of the frame's transparent index an alpha of 0.
std::optional<Picture> decodePicture(const ImageSlot& slot, int dpi) {
    const EmbeddedBytes bytes = choosePicture(slot, static_cast<double>(dpi) / kDesignDpi).bytes;
    if (bytes.empty()) return std::nullopt;
    HRESULT hr = bytes.size > std::numeric_limits<DWORD>::max() ? E_INVALIDARG : S_OK;
    ComPtr<IWICImagingFactory> factory;
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&factory));
    ComPtr<IWICStream> stream;
    if (SUCCEEDED(hr)) hr = factory->CreateStream(&stream);
    // The stream reads the embedded bytes where they are; WIC does not write to them.
    if (SUCCEEDED(hr))
        hr = stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data),
                                          static_cast<DWORD>(bytes.size));
    ComPtr<IWICBitmapDecoder> decoder;
    if (SUCCEEDED(hr))
        hr = factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              &decoder);
    ComPtr<IWICBitmapFrameDecode> frame;
    if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, &frame);
    ComPtr<IWICBitmapSource> converted;
    if (SUCCEEDED(hr))
        hr = WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), &converted);
    UINT width = 0, height = 0;
    if (SUCCEEDED(hr)) hr = converted->GetSize(&width, &height);
    constexpr UINT kMaxSide = 4096;  // keeps the buffer's size within a UINT
    if (SUCCEEDED(hr) && (width > kMaxSide || height > kMaxSide))
        hr = WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
    Picture picture{static_cast<int>(width), static_cast<int>(height), {}};
    picture.pixels.resize(SUCCEEDED(hr) ? static_cast<std::size_t>(width) * height : 0);
    if (SUCCEEDED(hr))
        hr = converted->CopyPixels(nullptr, width * 4, static_cast<UINT>(picture.pixels.size() * 4),
                                   reinterpret_cast<BYTE*>(picture.pixels.data()));
    if (SUCCEEDED(hr)) return picture;
    reportUndecodablePicture("Windows Imaging Component error " +
                             hexCode(static_cast<std::uint32_t>(hr)));
    return std::nullopt;
}

void PictureFrameWindow::place(const PixelRect& r, int dpi) {
    border_ = MulDiv(2, dpi, kDesignDpi);
    // Most changes of DPI keep the rendering shown; only another one is decoded. (An empty slot
    // has no rendering, and no picture to decode.)
    const ChosenPicture chosen = choosePicture(slot_, static_cast<double>(dpi) / kDesignDpi);
    if (chosen.bytes.data != decodedFrom_) {
        picture_ = decodePicture(slot_, dpi);
        decodedFrom_ = chosen.bytes.data;
    }
    if (!hwnd()) return;
    SetWindowPos(hwnd(), nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureFrameWindow::paint(HDC dc) {
    // A sunken edge: the shadow and highlight outside, the dark shadow and light inside.
    RECT inner{};
    GetClientRect(hwnd(), &inner);
    ring(dc, inner, border_ / 2, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    ring(dc, inner, border_ - border_ / 2, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    FillRect(dc, &inner, GetSysColorBrush(COLOR_BTNFACE));
    if (!picture_) return;

    // Transparent pixels show the button face.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::uint32_t faceRgb = GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
    std::vector<std::uint32_t> composed(picture_->pixels.size());
    std::ranges::transform(picture_->pixels, composed.begin(), [faceRgb](std::uint32_t argb) {
        return (argb >> 24) != 0 ? (argb & 0x00FFFFFFu) : faceRgb;
    });
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture_->width;
    info.bmiHeader.biHeight = -picture_->height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;  // 0x00RRGGBB
    info.bmiHeader.biCompression = BI_RGB;
    IntersectClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
    SetDIBitsToDevice(dc, inner.left, inner.top, static_cast<DWORD>(picture_->width),
                      static_cast<DWORD>(picture_->height), 0, 0, 0,
                      static_cast<UINT>(picture_->height), composed.data(), &info, DIB_RGB_COLORS);
}

}  // namespace fernwick::win32
