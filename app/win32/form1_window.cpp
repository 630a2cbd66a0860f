#include "app/win32/form1_window.h"

// commctrl.h needs the declarations of windows.h
#include <commctrl.h>

#include <string>
#include <utility>

#include "app/exit_status.h"
#include "app/label_layout.h"
#include "app/units.h"
#include "app/win32/picture_frame.h"
#include "app/win32/window_label.h"

namespace fernwick::win32 {

namespace {

// STARTBUTTON's control identifier: neither IDOK (1) nor IDCANCEL (2), the identifiers the dialog
// keys Enter and Escape send, so neither key can pass for a click.
constexpr int kFirstControlId = 100;

// Windows 10's per-monitor DPI functions (1607 on), looked up at run time so that the program
// still starts where they are missing and the system's DPI stands in: `name`, or null.
template <class Function>
Function user32(const char* name) {
    // Through the generic function type, which converts to any other without a warning.
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

int systemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
    ReleaseDC(nullptr, screen);
    return dpi;
}

int windowDpi(HWND hwnd) {
    static const auto getDpiForWindow = user32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow ? getDpiForWindow(hwnd) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : systemDpi();
}

SIZE frameSize(int width, int height, DWORD style, DWORD exStyle, int dpi) {
    static const auto adjustForDpi =
        user32<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, width, height};
    if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

Font createMessageFont(int dpi) {
    static const auto forDpi =
        user32<BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT)>("SystemParametersInfoForDpi");
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

// The button keeps the plain push-button look and dialog code: the dialog keys then never treat
// it as the default button, so Enter does not click it whatever has the focus.
LRESULT CALLBACK buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR) {
    if (message == BM_SETSTYLE && (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        wParam = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_PUSHBUTTON;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, buttonProc, 0);
    LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    if (message == WM_GETDLGCODE && (result & DLGC_DEFPUSHBUTTON))
        result = (result & ~static_cast<LRESULT>(DLGC_DEFPUSHBUTTON)) | DLGC_UNDEFPUSHBUTTON;
    return result;
}

DWORD windowStyle(const WindowRecord& record) {
    // The labels lie beneath the child controls.
    return WS_CLIPCHILDREN | (record.border == Border::None ? WS_POPUP : WS_CAPTION) |
           (record.border == Border::Sizable ? WS_THICKFRAME : 0) |
           (record.systemMenu ? WS_SYSMENU : 0) | (record.minimizeBox ? WS_MINIMIZEBOX : 0) |
           (record.maximizeBox ? WS_MAXIMIZEBOX : 0);
}

// The message font for `dpi`, made no larger than lets both of STARTBUTTON's captions fit a
// button `r` inside its border and focus rectangle: about four pixels each side at 96 DPI.
Font createCaptionFont(const PixelRect& r, int dpi) {
    Font messageFont = createMessageFont(dpi);
    LOGFONTW font{};
    GetObjectW(messageFont.get(), sizeof font, &font);
    const MemoryDc dc(CreateCompatibleDC(nullptr));
    const auto measure = [&](std::u16string_view text, int em) {
        LOGFONTW sized = font;
        sized.lfHeight = -em;
        const Font made(CreateFontIndirectW(&sized));
        const HGDIOBJ old = SelectObject(dc.get(), made.get());
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), toWide(text).c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc.get(), old);
        return TextExtent{size.cx, size.cy};
    };
    const int margin = MulDiv(4, dpi, kDesignDpi);
    const int preferred = font.lfHeight < 0 ? -font.lfHeight : measure(u"", 0).height;
    const int em = captionPixels(Form1::STARTBUTTON_Captions(), preferred, r.width - 2 * margin,
                                 r.height - 2 * margin, measure);
    if (em == preferred) return messageFont;
    font.lfHeight = -em;
    return Font(CreateFontIndirectW(&font));
}

// Where `rect` in `window`'s client area is on the screen; with no rect, where the window is.
RECT onScreen(HWND window, const PixelRect* rect = nullptr) {
    RECT r = rect ? toRect(*rect) : RECT{};
    if (!rect) return GetWindowRect(window, &r), r;
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A BUTTON child window as the game's push button, its caption in its own font.
class ButtonControl final : public PushButton {
  public:
    ButtonControl(HWND hwnd, const PixelRect& rect, int dpi) : hwnd_(hwnd) { place(rect, dpi); }

    Result<> setCaption(std::u16string_view caption) override {
        SetLastError(ERROR_SUCCESS);
        if (SetWindowTextW(hwnd_, toWide(caption).c_str())) return {};
        return Failure{lastErrorOr(ERROR_INVALID_WINDOW_HANDLE)};
    }
    void place(const PixelRect& r, int dpi) override {
        const Font old = std::exchange(font_, createCaptionFont(r, dpi));
        SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    }

  private:
    HWND hwnd_;
    Font font_;
};

}  // namespace

Form1Window::Form1Window(HINSTANCE instance)
    : model_(systemDpi()),
      instance_(instance),
      font_(createMessageFont(model_.dpi())),
      endProgram_([](int status) { ExitProcess(static_cast<UINT>(status)); }) {
    const WindowRecord& record = kControlTable.window;
    // The 16 x 16 and 32 x 32 images of the icon group in the resources. Shared: the system
    // keeps them for as long as the window class that also shows them.
    HICON icons[2] = {};
    for (int i : {0, 1})
        if (record.iconResource != 0)
            icons[i] = static_cast<HICON>(
                LoadImageW(instance, MAKEINTRESOURCEW(record.iconResource), IMAGE_ICON,
                           GetSystemMetrics(i ? SM_CXSMICON : SM_CXICON),
                           GetSystemMetrics(i ? SM_CYSMICON : SM_CYICON), LR_SHARED));
    // The table gives the client area; the frame around it is whatever the system draws, and the
    // system chooses where the window goes.
    const DWORD style = windowStyle(record);
    const DWORD exStyle = WS_EX_CONTROLPARENT | (record.showInTaskBar ? WS_EX_APPWINDOW : 0);
    SIZE frame =
        frameSize(model_.clientWidth(), model_.clientHeight(), style, exStyle, model_.dpi());
    const std::wstring className = L"FernWick." + toWide(record.name);
    if (create(
            instance, className.c_str(), icons[0], icons[1], exStyle,
            toWide(record.caption).c_str(), style,
            RECT{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT + frame.cx, CW_USEDEFAULT + frame.cy},
            nullptr, 0)) {
        for (int i : {0, 1})
            SendMessageW(hwnd(), WM_SETICON, i ? ICON_SMALL : ICON_BIG,
                         reinterpret_cast<LPARAM>(icons[i]));
        // Its monitor may have a DPI of its own: the window is laid out for that one.
        if (const int dpi = windowDpi(hwnd()); dpi != model_.dpi()) {
            model_.setDpi(dpi);
            font_ = createMessageFont(dpi);
            frame = frameSize(model_.clientWidth(), model_.clientHeight(), style, exStyle, dpi);
            SetWindowPos(hwnd(), nullptr, 0, 0, frame.cx, frame.cy,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    built_ = std::make_unique<BuiltForm>(
        model_, static_cast<ControlFactory&>(*this), [this](std::uint32_t code) {
            MessageBoxW(IsWindow(hwnd()) ? hwnd() : nullptr, toWide(failureMessage(code)).c_str(),
                        toWide(kControlTable.window.caption).c_str(), MB_ICONERROR | MB_OK);
            endProgram_(exit_status::kControlFailed);
        });
    // Tab moves through the child windows in their z-order: they lie in tab-index order.
    HWND previous = HWND_TOP;
    for (std::size_t i : model_.focusOrder()) {
        if (!windows_[i]) continue;
        SetWindowPos(windows_[i], previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = windows_[i];
    }
}

Form1Window::~Form1Window() {
    accessibility_.reset();
    destroy();
    built_.reset();  // its picture frame's window, and the labels' fonts, go before the window's
}

std::unique_ptr<PictureFrame> Form1Window::makePictureFrame(const ControlRequest& request) {
    auto frame = std::make_unique<PictureFrameWindow>(*request.picture, model_.dpi());
    const HWND window = windows_[request.index] =
        frame->create(instance_, hwnd(), request.rect,
                      kFirstControlId + static_cast<int>(request.index), request.visible);
    if (request.visible)
        shown_.push_back({ROLE_SYSTEM_GRAPHIC,
                          [name = request.accessibleName] { return std::u16string(name); }, window,
                          [window] { return onScreen(window); }});
    return frame;
}

std::unique_ptr<PushButton> Form1Window::makePushButton(const ControlRequest& request,
                                                        std::function<void()> clicked) {
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | BS_PUSHBUTTON |
                        (request.takesFocus ? WS_TABSTOP : 0) | (request.visible ? WS_VISIBLE : 0);
    const HWND button = windows_[request.index] = CreateWindowExW(
        0, L"BUTTON", toWide(request.text.value_or(u"")).c_str(), style, request.rect.left,
        request.rect.top, request.rect.width, request.rect.height, hwnd(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + request.index)), instance_,
        nullptr);
    if (button) SetWindowSubclass(button, buttonProc, 0, 0);
    if (request.visible)
        shown_.push_back(
            {ROLE_SYSTEM_PUSHBUTTON, {}, button, [button] { return onScreen(button); }, u"Press"});
    clicks_[request.index] = std::move(clicked);
    return std::make_unique<ButtonControl>(button, request.rect, model_.dpi());
}

LabelSurface& Form1Window::makeLabelSurface(const ControlRequest& request, LabelControl& label) {
    auto& surface = *labels_.emplace_back(std::make_unique<WindowLabel>(hwnd(), font_.get()));
    if (request.visible) {
        shown_.push_back({ROLE_SYSTEM_STATICTEXT, [&label] { return label.text(); }, nullptr,
                          [this, &label] { return onScreen(hwnd(), &label.rect()); }});
        surface.setAccessibleId(static_cast<LONG>(shown_.size()));
    }
    return surface;
}

HFONT Form1Window::labelFont(std::size_t index) const {
    for (const auto& surface : labels_)
        if (surface->control() && surface->control() == label(index)) return surface->font();
    return nullptr;
}

void Form1Window::showFirstWelcomeScreen() {
    const WindowState state = kControlTable.window.initialState;
    lastFocus_ = nullptr;
    ShowWindow(hwnd(), state == WindowState::Minimized   ? SW_SHOWMINIMIZED
                       : state == WindowState::Maximized ? SW_SHOWMAXIMIZED
                                                         : SW_SHOWNORMAL);
    UpdateWindow(hwnd());
    focusControl();
}

void Form1Window::focusControl() {
    const auto canFocus = [](HWND w) {
        return IsWindow(w) && IsWindowVisible(w) && IsWindowEnabled(w);
    };
    HWND to = canFocus(lastFocus_) ? lastFocus_ : nullptr;
    for (std::size_t i : model_.focusOrder())
        if (!to && canFocus(windows_[i])) to = windows_[i];
    if (to) SetFocus(to);
}

bool Form1Window::handleDialogKeys(MSG& msg) {
    return IsWindow(hwnd()) && IsDialogMessageW(hwnd(), &msg);
}

int Form1Window::run() {
    MSG msg{};
    for (BOOL got; (got = GetMessageW(&msg, nullptr, 0, 0)) != 0;) {
        if (got == -1) return 1;
        if (handleDialogKeys(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void Form1Window::paint(HDC dc) {
    for (const auto& label : labels_) label->paint(dc);
}

LRESULT Form1Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            // Only a real click of the button with a handler: IDOK and IDCANCEL from Enter and
            // Escape, or anything else, do nothing.
            const auto from = reinterpret_cast<HWND>(lParam);
            const std::size_t i = LOWORD(wParam) - static_cast<std::size_t>(kFirstControlId);
            if (from && HIWORD(wParam) == BN_CLICKED && i < windows_.size() &&
                windows_[i] == from && clicks_[i]) {
                clicks_[i]();
                if (IsWindow(from)) SetFocus(from);
            }
            return 0;
        }
        case DM_GETDEFID:
            return 0;  // no default push button
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd(), focus)) lastFocus_ = focus;
            } else if (!HIWORD(wParam)) {
                focusControl();
            }
            return 0;
        case WM_SETFOCUS:
            focusControl();
            return 0;
        case WM_DPICHANGED: {
            // The window moved to a monitor of another DPI: it is laid out again, keeping the
            // game's state, in the rectangle Windows suggests.
            model_.setDpi(HIWORD(wParam));
            const Font replaced = std::exchange(font_, createMessageFont(model_.dpi()));
            for (const auto& label : labels_) label->setWindowFont(font_.get());
            built_->relayout(model_);
            const auto& frame = *reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd(), nullptr, frame.left, frame.top, frame.right - frame.left,
                         frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
            InvalidateRect(hwnd(), nullptr, TRUE);
            return 0;
        }
        case WM_GETOBJECT:
            if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
                if (!accessibility_) accessibility_ = makeClientObject(hwnd(), shown_);
                return LresultFromObject(__uuidof(IAccessible), wParam, accessibility_.get());
            }
            break;
        // New system colours or theme, or high-contrast mode switched: everything is drawn again in
        // what the system gives now. Only top-level windows are told of new colours; the child
        // controls hear of them from here.
        case WM_SYSCOLORCHANGE:
            for (HWND child : windows_)
                if (child) SendMessageW(child, message, wParam, lParam);
            [[fallthrough]];
        case WM_THEMECHANGED:
        case WM_SETTINGCHANGE:
            if (message == WM_SETTINGCHANGE && wParam != SPI_SETHIGHCONTRAST) break;
            RedrawWindow(hwnd(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            accessibility_.reset();
            break;
    }
    return Window::handle(message, wParam, lParam);
}

}  // namespace fernwick::win32
