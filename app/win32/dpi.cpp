#include "app/win32/dpi.h"

namespace fernwick::win32 {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

// `name` from user32, or null where this Windows lacks it.
template <class Function>
Function user32(const char* name) {
    // Through the generic function type, which converts to any other without a warning. user32
    // is loaded in every program that makes windows.
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

int systemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
    ReleaseDC(nullptr, screen);
    return dpi;
}

int windowDpi(HWND hwnd) {
    static const auto getDpiForWindow = user32<GetDpiForWindowFn>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow ? getDpiForWindow(hwnd) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : systemDpi();
}

SIZE frameSize(int width, int height, DWORD style, DWORD exStyle, int dpi) {
    static const auto adjustForDpi = user32<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, width, height};
    if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

Font createMessageFont(int dpi) {
    static const auto forDpi = user32<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!forDpi || !forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        // The older call gives the font for the system's DPI.
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            return Font(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi());
    }
    const HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    return Font(font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
}

}  // namespace fernwick::win32
