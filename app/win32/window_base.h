// What each of the program's windows shares: its class, registered once, and the object behind
// it, kept in GWLP_USERDATA from WM_NCCREATE to WM_NCDESTROY, whose handle() gets every message.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "app/controls.h"

namespace fernwick::win32 {

// The core's char16_t text as the Windows API's wchar_t: only the type changes.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wchar_t holds UTF-16 code units");
inline std::wstring toWide(std::u16string_view text) { return {text.begin(), text.end()}; }

// GDI handles that delete themselves.
template <auto release>
struct Release {
    void operator()(auto handle) const { release(handle); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, Release<DeleteObject>>;
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, Release<DeleteDC>>;

// The code GetLastError gives for a call that just failed, or `fallback` where the call left none.
inline std::uint32_t lastErrorOr(std::uint32_t fallback) {
    const DWORD code = GetLastError();
    return code != ERROR_SUCCESS ? code : fallback;
}

inline RECT toRect(const PixelRect& r) {
    return {r.left, r.top, r.left + r.width, r.top + r.height};
}

class Window {
  public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The window; null before it is created and once it is destroyed.
    HWND hwnd() const { return hwnd_; }

  protected:
    virtual ~Window() { destroy(); }

    // Registers the class `className` on the button face, unless it exists, and creates the
    // window for this object; null on failure (GetLastError says why).
    HWND create(HINSTANCE instance, const wchar_t* className, HICON icon, HICON smallIcon,
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
    // What the window does with `message`: by default it paints with paint(), on the button face
    // when printed with its background.
    virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) {
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
    virtual void paint(HDC) {}
    // Destroys the window, if it still exists, without handle() seeing its last messages.
    void destroy() {
        if (!IsWindow(hwnd_)) return;
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(std::exchange(hwnd_, nullptr));
    }

  private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* self = static_cast<Window*>(
                reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
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

    HWND hwnd_ = nullptr;
};

}  // namespace fernwick::win32
