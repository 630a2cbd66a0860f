// The Windows window itself, run under Wine.
#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "app/control_table.h"
#include "app/exit_status.h"
#include "app/units.h"
#include "app/win32/form1_window.h"
#include "app/win32/picture_frame.h"
#include "app/win32/window_label.h"
#include "game/start_button_toggle.h"
#include "tests/heading_colours.h"

namespace toggle = fernwick::toggle;
using fernwick::Form1;
using fernwick::LabelControl;
using fernwick::Named;
using fernwick::win32::Form1Window;

namespace {

HINSTANCE instance() { return GetModuleHandleW(nullptr); }

int screenDpi(int index) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, index);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::wstring windowText(HWND hwnd, int(WINAPI* get)(HWND, LPWSTR, int) = GetWindowTextW) {
    wchar_t buffer[256] = {};
    get(hwnd, buffer, 256);
    return buffer;
}

std::wstring wide(std::u16string_view s) { return {s.begin(), s.end()}; }

std::u16string labelText(const Form1Window& window, std::size_t label) {
    const fernwick::Result<std::u16string> text = window.label(label)->getText();
    return text.ok() ? text.value() : u"<failed>";
}

LOGFONTW logFont(HFONT font) {
    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    return lf;
}
LONG fontHeight(HFONT font) { return logFont(font).lfHeight; }

RECT toRect(const fernwick::PixelRect& r) {
    return {r.left, r.top, r.left + r.width, r.top + r.height};
}

// Where the table places `control` at `dpi`.
RECT designRect(std::size_t control, int dpi = fernwick::kDesignDpi) {
    return toRect(fernwick::WindowModel(dpi).rect(control));
}

// A window's rectangle in its parent's client coordinates.
RECT rectInParent(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Handles queued messages until the queue stays empty, so painting and activation are done.
void pump() {
    MSG msg;
    do {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    } while (MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT) != WAIT_TIMEOUT);
}

// A key going down and up, as the message loop would hand it over.
void pressKey(Form1Window& window, HWND target, WPARAM key) {
    for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
        MSG msg{};
        msg.hwnd = target;
        msg.message = message;
        msg.wParam = key;
        msg.lParam = message == WM_KEYUP ? static_cast<LPARAM>(0xC0000001) : 1;
        if (!window.handleDialogKeys(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

// What a window paints, read back as 0x00RRGGBB pixels.
struct Capture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)];
    }
    int count(const RECT& r, std::uint32_t colour) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) n += at(x, y) == colour;
        }
        return n;
    }
    int countOther(const RECT& r, std::uint32_t colour) const {
        return (r.right - r.left) * (r.bottom - r.top) - count(r, colour);
    }
};

// The window's client area as it prints itself now, or, `asShown`, as it was last painted.
Capture printClient(HWND hwnd, bool asShown = false) {
    RECT client{};
    GetClientRect(hwnd, &client);
    Capture c{client.right, client.bottom, {}};
    // Size, width, height (negative: top-down), planes, bits per pixel, compression.
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), c.width, -c.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                    {}};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    if (asShown) {
        HDC shown = GetDC(hwnd);
        BitBlt(dc, 0, 0, c.width, c.height, shown, 0, 0, SRCCOPY);
        ReleaseDC(hwnd, shown);
    } else {
        SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                     PRF_CLIENT | PRF_ERASEBKGND);
    }
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    c.pixels.assign(p, p + static_cast<std::size_t>(c.width) * c.height);
    for (auto& px : c.pixels) px &= 0x00FFFFFFu;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return c;
}

std::uint32_t rgbOf(COLORREF c) {
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

RECT labelRect(const Form1Window& window, std::size_t label) {
    return toRect(window.label(label)->rect());
}

// The message font's height that Windows gives for `dpi`.
LONG messageFontHeight(int dpi) {
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    const auto forDpi = reinterpret_cast<ForDpi>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!forDpi || !forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) return 0;
    return metrics.lfMessageFont.lfHeight;
}

void append(std::vector<long>& numbers, const RECT& r) {
    numbers.insert(numbers.end(), {r.left, r.top, r.right, r.bottom});
}

// A window's layout as numbers: client size, the button's, frame's and heading's rectangles, the
// heading's and button's font heights, and whether the double-size dog shows (it passes x = 150).
std::vector<long> layoutOf(const Form1Window& window) {
    RECT client{};
    GetClientRect(window.hwnd(), &client);
    std::vector<long> layout{client.right, client.bottom};
    append(layout, rectInParent(window.controlWindow(Named::STARTBUTTON)));
    append(layout, rectInParent(window.controlWindow(Named::Picture1)));
    append(layout, labelRect(window, Named::HEADING));
    const auto buttonFont = reinterpret_cast<HFONT>(
        SendMessageW(window.controlWindow(Named::STARTBUTTON), WM_GETFONT, 0, 0));
    const Capture picture = printClient(window.controlWindow(Named::Picture1));
    const RECT beyond{150, 0, picture.width - 3, picture.height - 3};  // within the border
    layout.insert(layout.end(),
                  {fontHeight(window.labelFont(Named::HEADING)), fontHeight(buttonFont),
                   picture.countOther(beyond, rgbOf(GetSysColor(COLOR_BTNFACE))) > 0});
    return layout;
}

// The same numbers for a window that started at `dpi`, its heading at `points`.
std::vector<long> freshLayoutAt(int dpi, float points) {
    const fernwick::WindowModel model(dpi);
    std::vector<long> layout{model.clientWidth(), model.clientHeight()};
    for (std::size_t control : {Named::STARTBUTTON, Named::Picture1, Named::HEADING}) {
        append(layout, designRect(control, dpi));
    }
    layout.insert(layout.end(), {-fernwick::emPixels(points, dpi), messageFontHeight(dpi),
                                 2 * dpi >= 3 * fernwick::kDesignDpi});
    return layout;
}

// The client's accessible object, as a screen reader gets it.
IAccessible* clientObject(HWND hwnd) {
    IAccessible* client = nullptr;
    AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               reinterpret_cast<void**>(&client));
    return client;
}

VARIANT childId(LONG id) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::vector<std::tuple<HWND, LONG, LONG>> nameChanges;

void CALLBACK noteNameChange(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD,
                             DWORD) {
    nameChanges.emplace_back(hwnd, object, child);
}

// From a second thread, notes the failure message box and dismisses it with OK as a player would.
struct BoxWatch {
    DWORD uiThread = GetCurrentThreadId();
    HANDLE thread = nullptr;
    bool seen = false;
    HWND owner = nullptr;
    std::wstring caption, text;
    bool errorIcon = false;

    static BOOL CALLBACK findBox(HWND hwnd, LPARAM self) {
        if (windowText(hwnd, GetClassNameW) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
        auto* watch = reinterpret_cast<BoxWatch*>(self);
        watch->seen = true;
        watch->owner = GetWindow(hwnd, GW_OWNER);
        watch->caption = windowText(hwnd);
        watch->text = windowText(GetDlgItem(hwnd, 0xFFFF));  // the message box's text
        // The icon is a STATIC showing the system's error icon, as MB_ICONERROR asks.
        const HICON hand = LoadIconW(nullptr, MAKEINTRESOURCEW(32513));  // IDI_HAND
        for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0)) == hand) {
                watch->errorIcon = true;
            }
        }
        PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
        return FALSE;
    }
    static DWORD WINAPI watch(void* self) {
        auto* w = static_cast<BoxWatch*>(self);
        for (int i = 0; i < 600 && !w->seen; ++i) {  // up to a minute: Wine can be slow
            Sleep(100);
            EnumThreadWindows(w->uiThread, findBox, reinterpret_cast<LPARAM>(w));
        }
        // No box was found: a quit message ends any modal loop, so the test fails, not hangs.
        if (!w->seen) PostThreadMessageW(w->uiThread, WM_QUIT, 0, 0);
        return 0;
    }
    void start() { thread = CreateThread(nullptr, 0, watch, this, 0, nullptr); }
    void finish() {
        if (!thread) return;
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        thread = nullptr;
    }
};

// A window whose failures are recorded instead of ending the test program.
struct TestWindow {
    Form1Window window{instance()};
    std::vector<int> endings;
    TestWindow() {
        window.setEndProgram([this](int status) { endings.push_back(status); });
    }
};

// A click that fails: the player is told the code in a box, and the program is to end.
BoxWatch clickWatchingForTheBox(TestWindow& t) {
    BoxWatch box;
    box.start();
    t.window.form().STARTBUTTON_Click();
    box.finish();
    EXPECT_TRUE(box.seen);
    EXPECT_NE(box.text.find(L"1400"), std::wstring::npos) << box.text;
    EXPECT_EQ(t.endings, std::vector<int>{fernwick::exit_status::kControlFailed});
    return box;
}

// The same, on the welcome screen and painted.
struct ShownWindow : TestWindow {
    ShownWindow() {
        window.showFirstWelcomeScreen();
        pump();
    }
};

}  // namespace

TEST(WindowTest, WindowIsBuiltFromTheTable) {
    TestWindow t;
    HWND hwnd = t.window.hwnd();
    ASSERT_TRUE(hwnd);
    EXPECT_EQ(windowText(hwnd), std::wstring(L"FernWick"));

    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, static_cast<LONG_PTR>(WS_OVERLAPPEDWINDOW));
    EXPECT_TRUE(style & WS_CLIPCHILDREN);

    RECT client{};
    GetClientRect(hwnd, &client);
    const fernwick::WindowModel model(screenDpi(LOGPIXELSY));
    EXPECT_EQ(client.right, model.clientWidth());
    EXPECT_EQ(client.bottom, model.clientHeight());
    EXPECT_EQ(GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND),
              static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));
}

TEST(WindowTest, WindowAndClassCarryBothIconSizes) {
    TestWindow t;
    HWND hwnd = t.window.hwnd();
    const struct {
        HICON icon;
        int side;
    } icons[] = {
        {reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0)), 32},
        {reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0)), 16},
        {reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, GCLP_HICON)), 32},
        {reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, GCLP_HICONSM)), 16},
    };
    for (const auto& i : icons) {
        ASSERT_TRUE(i.icon);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(i.icon, &info));
        BITMAP colour{};
        GetObjectW(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, static_cast<LONG>(i.side));
        EXPECT_EQ(colour.bmHeight, static_cast<LONG>(i.side));
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

TEST(WindowTest, StartButtonIsAPlainPushButtonWithFocus) {
    ShownWindow t;
    HWND button = t.window.controlWindow(Named::STARTBUTTON);
    ASSERT_TRUE(button);
    EXPECT_EQ(windowText(button, GetClassNameW), std::wstring(L"Button"));
    EXPECT_EQ(windowText(button), wide(toggle::kWelcomeCaption));
    const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, static_cast<LONG_PTR>(BS_PUSHBUTTON));
    EXPECT_TRUE(style & WS_TABSTOP);
    const int id = GetDlgCtrlID(button);
    EXPECT_TRUE(id != IDOK && id != IDCANCEL);
    const RECT r = rectInParent(button), design = designRect(Named::STARTBUTTON);
    EXPECT_TRUE(EqualRect(&r, &design));
    EXPECT_EQ(GetFocus(), button);
    const LRESULT def = SendMessageW(t.window.hwnd(), DM_GETDEFID, 0, 0);
    EXPECT_TRUE(HIWORD(def) != DC_HASDEFID);
}

// Tells the window its screen is now of `dpi`, as Windows does; returns the suggested rectangle.
RECT moveToDpi(HWND hwnd, int dpi) {
    RECT window{}, client{};
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    const fernwick::WindowModel model(dpi);
    RECT suggested{window.left, window.top, window.right + model.clientWidth() - client.right,
                   window.bottom + model.clientHeight() - client.bottom};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    pump();
    return suggested;
}

TEST(WindowTest, PictureFrameShowsTheDogOnTheButtonFaceInASunkenBorderOfItsDpi) {
    ShownWindow t;
    HWND frame = t.window.controlWindow(Named::Picture1);
    ASSERT_TRUE(frame);
    const fernwick::ImageSlot& slot = *fernwick::kControlTable.controls[Named::Picture1].picture;
    for (int dpi : {96, 192}) {
        if (dpi != 96) moveToDpi(t.window.hwnd(), dpi);
        const RECT outer = rectInParent(frame), design = designRect(Named::Picture1, dpi);
        EXPECT_TRUE(EqualRect(&outer, &design)) << dpi;
        const auto dog = fernwick::win32::decodePicture(slot, dpi);
        ASSERT_TRUE(dog && dog->width == 146 * dpi / 96 && dog->height == 153 * dpi / 96);
        const auto at = [&dog](int x, int y) { return dog->pixels[y * dog->width + x]; };

        // A sunken border of 2 pixels at 96 DPI, 4 at 192, seen across the middle.
        const Capture shot = printClient(frame);
        const int b = 2 * dpi / 96, w = shot.width, h = shot.height;
        const auto colour = [](int index) { return rgbOf(GetSysColor(index)); };
        for (int i = 0; i < b; ++i) {
            const int outside = i < b / 2;
            const std::uint32_t dark = colour(outside ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW);
            const std::uint32_t light = colour(outside ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT);
            EXPECT_EQ(shot.at(i, h / 2), dark) << dpi;
            EXPECT_EQ(shot.at(w / 2, i), dark) << dpi;
            EXPECT_EQ(shot.at(w - 1 - i, h / 2), light) << dpi;
            EXPECT_EQ(shot.at(w / 2, h - 1 - i), light) << dpi;
        }
        // Inside, the picture from the top-left, button face through and beyond it.
        const std::uint32_t face = colour(COLOR_BTNFACE);
        int wrong = 0, opaque = 0, transparent = 0;
        for (int y = b; y < h - b; ++y) {
            for (int x = b; x < w - b; ++x) {
                const bool inPicture = x - b < dog->width && y - b < dog->height;
                const std::uint32_t argb = inPicture ? at(x - b, y - b) : 0;
                (argb >> 24 ? opaque : transparent) += inPicture;
                wrong += shot.at(x, y) != (argb >> 24 ? argb & 0x00FFFFFFu : face);
            }
        }
        EXPECT_EQ(wrong, 0) << dpi;
        EXPECT_TRUE(opaque > 0 && transparent > 0);             // the picture has both kinds
        EXPECT_EQ(shot.count(RECT{0, 0, w, h}, 0x80FFFFu), 0);  // the key colour
    }
}

TEST(WindowTest, UndecodableBytesLeaveThePictureFrameEmpty) {
    const unsigned char broken[] = "GIF89a\x92\x00\x99\x00\xf7\x17\x00truncated";
    const fernwick::win32::PictureFrameWindow frame({{broken, sizeof broken - 1}, {}}, 96);
    EXPECT_TRUE(!frame.picture());
}

TEST(WindowTest, HeadingIsPaintedInBlueWithinItsLabelAndTheHiddenLabelNotAtAll) {
    // The welcome heading, then a word far wider than the label and more lines than it holds.
    for (const std::u16string_view text :
         {u"", u"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW\r\nW\r\nW\r\nW\r\nW\r\nW"}) {
        TestWindow t;
        if (!text.empty()) {
            EXPECT_TRUE(t.window.label(Named::HEADING)->setText(text).ok());
        }
        t.window.showFirstWelcomeScreen();
        pump();
        const Capture shot = printClient(t.window.hwnd());
        const std::uint32_t face = rgbOf(GetSysColor(COLOR_BTNFACE));
        const RECT r = labelRect(t.window, Named::HEADING);
        EXPECT_GT(shot.count(r, 0x0000C0), 200);  // 0x00C00000 as BBGGRR
        // Beside and below it (child windows aside) only button face: `status` draws nothing.
        EXPECT_EQ(shot.countOther(RECT{r.right, 0, shot.width, shot.height}, face), 0);
        EXPECT_EQ(shot.countOther(RECT{0, r.bottom, shot.width, shot.height}, face), 0);
    }
    TestWindow t;
    const LOGFONTW lf = logFont(t.window.labelFont(Named::HEADING));
    EXPECT_EQ(std::wstring(lf.lfFaceName), std::wstring(L"Tahoma"));
    EXPECT_EQ(lf.lfWeight, static_cast<LONG>(FW_BOLD));
    EXPECT_EQ(lf.lfCharSet, static_cast<BYTE>(ANSI_CHARSET));
    EXPECT_EQ(lf.lfHeight, static_cast<LONG>(-fernwick::emPixels(27.75, screenDpi(LOGPIXELSY))));
}

TEST(WindowTest, NewSystemColoursRepaintAReadableHeadingAndKeepTheGame) {
    ShownWindow t;
    SendMessageW(t.window.controlWindow(Named::STARTBUTTON), BM_CLICK, 0, 0);
    pump();
    // A change of theme, high-contrast mode or system colours leaves the window to be repainted.
    for (auto [message, wParam] : {std::pair<UINT, WPARAM>{WM_THEMECHANGED, 0},
                                   {WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST},
                                   {WM_SYSCOLORCHANGE, 0}}) {
        ValidateRect(t.window.hwnd(), nullptr);
        SendMessageW(t.window.hwnd(), message, wParam, 0);
        EXPECT_TRUE(GetUpdateRect(t.window.hwnd(), nullptr, FALSE));
    }
    pump();

    // High-contrast black's colours, set as the control panel sets them.
    const INT elements[] = {COLOR_BTNFACE, COLOR_BTNTEXT};
    const COLORREF before[] = {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT)};
    const COLORREF black[] = {RGB(0, 0, 0), RGB(255, 255, 255)};
    EXPECT_TRUE(SetSysColors(2, elements, black));
    pump();
    const Capture shown = printClient(t.window.hwnd(), true);
    SetSysColors(2, elements, before);

    const RECT r = labelRect(t.window, Named::HEADING);
    const fernwick::HeadingColours heading =
        fernwick::headingColours([&](int x, int y) { return shown.at(x, y); }, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top);
    EXPECT_EQ(heading.face, fernwick::colourValue(0, 0, 0));
    EXPECT_TRUE(heading.contrast >= 4.5);
    EXPECT_EQ(labelText(t.window, Named::HEADING), toggle::kWonHeading);
}

// The alternation itself is the core's (start_button_toggle_test.cpp).
TEST(WindowTest, AClickShowsTheWonScreenAndTheNextTheWelcomeScreen) {
    ShownWindow t;
    HWND button = t.window.controlWindow(Named::STARTBUTTON);
    const int dpi = screenDpi(LOGPIXELSY);
    for (const bool won : {true, false}) {
        SendMessageW(button, BM_CLICK, 0, 0);
        EXPECT_EQ(labelText(t.window, Named::HEADING),
                  won ? toggle::kWonHeading : toggle::kWelcomeHeading);
        EXPECT_EQ(windowText(button), wide(won ? toggle::kWonCaption : toggle::kWelcomeCaption));
        const float points = won ? toggle::kWonHeadingPoints : toggle::kWelcomeHeadingPoints;
        EXPECT_EQ(fontHeight(t.window.labelFont(Named::HEADING)), -fernwick::emPixels(points, dpi));
        EXPECT_EQ(GetFocus(), button);
    }
    EXPECT_TRUE(t.endings.empty());
}

TEST(WindowTest, ALargeMessageFontLeavesTheButtonsSizeAndShrinksItsCaptionToFitInside) {
    NONCLIENTMETRICSW saved{};
    saved.cbSize = sizeof saved;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved, &saved, 0));
    NONCLIENTMETRICSW large = saved;
    large.lfMessageFont.lfHeight = -40;
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof large, &large, 0));
    {
        ShownWindow t;
        HWND button = t.window.controlWindow(Named::STARTBUTTON);
        SendMessageW(button, BM_CLICK, 0, 0);  // the longer caption
        pump();
        const RECT r = rectInParent(button), design = designRect(Named::STARTBUTTON);
        EXPECT_TRUE(EqualRect(&r, &design));

        // Both captions fit inside the border and the focus rectangle, as drawn.
        const auto font = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
        EXPECT_GT(fontHeight(font), -40);
        const LONG w = r.right - r.left, h = r.bottom - r.top;
        const RECT inside{4, 4, w - 4, h - 4};
        HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, font);
        for (const std::u16string_view caption : Form1::STARTBUTTON_Captions()) {
            SIZE size{};
            GetTextExtentPoint32W(dc, wide(caption).c_str(), static_cast<int>(caption.size()),
                                  &size);
            EXPECT_LE(size.cx, inside.right - inside.left);
            EXPECT_LE(size.cy, inside.bottom - inside.top);
        }
        DeleteDC(dc);
        const Capture shot = printClient(button, true);
        const std::uint32_t text = rgbOf(GetSysColor(COLOR_BTNTEXT));
        EXPECT_GT(shot.count(inside, text), 0);
        // None of it reaches the border: within it lies only the dotted focus rectangle.
        EXPECT_EQ(shot.count(RECT{2, 2, w - 2, h - 2}, text),
                  shot.count(RECT{3, 3, w - 3, h - 3}, text));
    }
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof saved, &saved, 0);
}

TEST(WindowTest, EnterAndEscapeNeverClickButSpaceDoes) {
    ShownWindow t;
    HWND button = t.window.controlWindow(Named::STARTBUTTON);
    const std::u16string before = labelText(t.window, Named::status);

    pressKey(t.window, button, VK_RETURN);
    pressKey(t.window, button, VK_ESCAPE);
    // Tab refocuses the only control, which a dialog would make its default button.
    pressKey(t.window, button, VK_TAB);
    EXPECT_EQ(GetFocus(), button);
    EXPECT_EQ(GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK,
              static_cast<LONG_PTR>(BS_PUSHBUTTON));
    pressKey(t.window, button, VK_RETURN);
    pressKey(t.window, t.window.hwnd(), VK_RETURN);
    pressKey(t.window, button, VK_ESCAPE);
    EXPECT_EQ(labelText(t.window, Named::status), before);

    pressKey(t.window, button, VK_SPACE);
    EXPECT_EQ(labelText(t.window, Named::status), toggle::kWon);
}

TEST(WindowTest, ResizingAndMaximizingMoveNoControl) {
    ShownWindow t;
    HWND button = t.window.controlWindow(Named::STARTBUTTON);
    HWND frame = t.window.controlWindow(Named::Picture1);
    const RECT buttonBefore = rectInParent(button), frameBefore = rectInParent(frame);
    SetWindowPos(t.window.hwnd(), nullptr, 0, 0, 600, 500, SWP_NOMOVE | SWP_NOZORDER);
    pump();
    ShowWindow(t.window.hwnd(), SW_MAXIMIZE);
    pump();
    const RECT buttonAfter = rectInParent(button), frameAfter = rectInParent(frame);
    EXPECT_TRUE(EqualRect(&buttonBefore, &buttonAfter));
    EXPECT_TRUE(EqualRect(&frameBefore, &frameAfter));
}

TEST(WindowTest, ANewDpiLaysTheWindowOutAsAFreshStartThereAndKeepsTheGame) {
    ShownWindow t;
    HWND hwnd = t.window.hwnd();
    HWND button = t.window.controlWindow(Named::STARTBUTTON);
    SendMessageW(button, BM_CLICK, 0, 0);  // the won screen, its heading at 18 pt
    EXPECT_EQ(layoutOf(t.window), freshLayoutAt(96, toggle::kWonHeadingPoints));
    for (int dpi : {144, 96}) {
        const RECT suggested = moveToDpi(hwnd, dpi);
        RECT window{};
        GetWindowRect(hwnd, &window);
        EXPECT_TRUE(EqualRect(&window, &suggested));
        EXPECT_EQ(layoutOf(t.window), freshLayoutAt(dpi, toggle::kWonHeadingPoints));
        EXPECT_EQ(labelText(t.window, Named::HEADING), toggle::kWonHeading);
        EXPECT_EQ(windowText(button), wide(toggle::kWonCaption));
    }
}

TEST(WindowTest, ReadersAreToldTheHeadingsNewNameAndNothingOfTheHiddenLabel) {
    ShownWindow t;
    nameChanges.clear();
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, noteNameChange,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    SendMessageW(t.window.controlWindow(Named::STARTBUTTON), BM_CLICK, 0, 0);
    pump();
    UnhookWinEvent(hook);
    std::vector<LONG> children;  // the children of the window's client whose names changed
    for (const auto& [hwnd, object, child] : nameChanges) {
        if (hwnd == t.window.hwnd() && object == OBJID_CLIENT) children.push_back(child);
    }
    IAccessible* client = clientObject(t.window.hwnd());
    ASSERT_TRUE(client);
    ASSERT_EQ(children.size(), std::size_t{1});
    BSTR name = nullptr;
    EXPECT_EQ(client->get_accName(childId(children[0]), &name), S_OK);
    EXPECT_EQ(std::wstring(name ? name : L""), wide(toggle::kWonHeading));
    SysFreeString(name);
    client->Release();
}

TEST(WindowTest, AnObjectHeldPastTheWindowAnswersDisconnected) {
    IAccessible* client = nullptr;
    {
        TestWindow t;
        client = clientObject(t.window.hwnd());
        ASSERT_TRUE(client);
        BSTR action = nullptr;
        EXPECT_EQ(client->get_accDefaultAction(childId(2), &action), S_OK);  // the button
        SysFreeString(action);
    }
    long count = -1;
    BSTR name = nullptr;
    EXPECT_EQ(client->get_accChildCount(&count), RPC_E_DISCONNECTED);
    EXPECT_EQ(client->get_accName(childId(3), &name), RPC_E_DISCONNECTED);
    EXPECT_TRUE(!name);
    EXPECT_EQ(client->accDoDefaultAction(childId(2)), RPC_E_DISCONNECTED);
    client->Release();
}

TEST(WindowTest, ClosingTheWindowEndsTheLoopWithStatusZero) {
    ShownWindow t;
    PostMessageW(t.window.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(t.window.run(), 0);
    EXPECT_TRUE(!t.window.hwnd());
    EXPECT_TRUE(t.endings.empty());
}

TEST(WindowTest, AVanishedButtonStopsTheClickWithItsCode) {
    ShownWindow t;
    DestroyWindow(t.window.controlWindow(Named::STARTBUTTON));
    const BoxWatch box = clickWatchingForTheBox(t);
    EXPECT_EQ(box.owner, t.window.hwnd());
    EXPECT_EQ(box.caption, std::wstring(L"FernWick"));
    EXPECT_TRUE(box.errorIcon);
    // The heading had changed before the caption failed; the state had not.
    EXPECT_EQ(labelText(t.window, Named::HEADING), toggle::kWonHeading);
    EXPECT_EQ(labelText(t.window, Named::status), std::u16string(u"clocked"));
}

TEST(WindowTest, AVanishedWindowStopsTheClickAndTellsThePlayerAlone) {
    TestWindow t;
    DestroyWindow(t.window.hwnd());
    pump();
    // The click stops at reading the state; each label operation's answer is LabelControlTest's.
    EXPECT_EQ(clickWatchingForTheBox(t).owner, static_cast<HWND>(nullptr));
}

int main(int argc, char** argv) {
    const fernwick::win32::ComApartment com;  // as the program's own thread has
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
