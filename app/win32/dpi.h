// The resolution the window lays out at. Windows 10 (version 1607 on) gives each window the DPI
// of its monitor; those functions are looked up in user32 at run time, so that the program still
// starts on older Windows, where the system's DPI stands in for every window.
#pragma once

#include <windows.h>

#include "app/win32/window_base.h"

namespace fernwick::win32 {

int systemDpi();
int windowDpi(HWND hwnd);

// The outer size of a window with `style` and `exStyle` whose client area is `width` x `height`,
// with the frame drawn for `dpi`.
SIZE frameSize(int width, int height, DWORD style, DWORD exStyle, int dpi);

// The system's message font for `dpi`, or the stock GUI font where that cannot be made.
Font createMessageFont(int dpi);

}  // namespace fernwick::win32
