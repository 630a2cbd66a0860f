// What each of the program's windows shares: its class, registered once, and the object behind
// it, kept in GWLP_USERDATA from WM_NCCREATE to WM_NCDESTROY, whose handle() gets every message.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/controls.h"

namespace fernwick::win32 {

// The core holds UTF-16 as char16_t, the Windows API takes it as wchar_t: on Windows the two are
// the same 16-bit code units, so this only changes the type.
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
                int id);
    // What the window does with `message`: by default it paints with paint(), on the button face
    // when printed with its background.
    virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void paint(HDC) {}
    // Destroys the window, if it still exists, without handle() seeing its last messages.
    void destroy();

  private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace fernwick::win32
