// The resolution the window lays out at. Windows 10 (version 1607 on) gives each window the DPI
// of its monitor; those functions are looked up in user32 at run time, so that the program still
// starts on older Windows, where the system's DPI stands in for every window.
#pragma once

#include <windows.h>

namespace fernwick::win32 {

// The system's DPI: the one every window has where monitors have no DPI of their own.
int systemDpi();

// The DPI of `hwnd`'s monitor, as the window is told it; the system's DPI on older Windows.
int windowDpi(HWND hwnd);

// The outer size of a window with `style` and `exStyle` whose client area is `width` x `height`,
// with the frame drawn for `dpi`.
SIZE frameSize(int width, int height, DWORD style, DWORD exStyle, int dpi);

// The system's message font, the standard user-interface font, for `dpi`, or the stock GUI font
// where that cannot be made. The caller deletes it.
HFONT createMessageFont(int dpi);

}  // namespace fernwick::win32
