#include "app/win32/window_base.h"

#include <utility>

namespace fernwick::win32 {

HWND Window::create(HINSTANCE instance, const wchar_t* className, HICON icon, HICON smallIcon,
                    DWORD exStyle, const wchar_t* text, DWORD style, const RECT& rect, HWND parent,
                    int id) {
    const auto background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    const HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    const WNDCLASSEXW wc{sizeof wc, 0,     proc,       0,       0,         instance,
                         icon,      arrow, background, nullptr, className, smallIcon};
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    return CreateWindowExW(exStyle, className, text, style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
}

void Window::destroy() {
    if (!IsWindow(hwnd_)) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(std::exchange(hwnd_, nullptr));
}

LRESULT Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        paint(BeginPaint(hwnd_, &ps));
        EndPaint(hwnd_, &ps);
        return 0;
    }
    if (message == WM_PRINTCLIENT) {
        const auto dc = reinterpret_cast<HDC>(wParam);
        RECT client{};
        GetClientRect(hwnd_, &client);
        if (lParam & PRF_ERASEBKGND) FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        const int saved = SaveDC(dc);
        paint(dc);
        RestoreDC(dc, saved);
        return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Window*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    const LRESULT result = self->handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

}  // namespace fernwick::win32
