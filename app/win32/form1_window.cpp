#include "app/win32/form1_window.h"

#include <string>
#include <vector>

#include "app/units.h"
#include "app/win32/accessible.h"
#include "app/win32/dpi.h"
#include "app/win32/picture_frame.h"
#include "app/win32/text.h"
#include "app/win32/window_label.h"

namespace fernwick::win32 {

namespace {

// The button keeps the plain push-button look and dialog code: the dialog keys then never treat
// it as the default button, so Enter does not click it whatever has the focus.
constexpr wchar_t kOriginalProc[] = L"FernWick.ButtonProc";

LRESULT CALLBACK buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOriginalProc));
    if (message == BM_SETSTYLE && (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        wParam = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_PUSHBUTTON;
    }
    if (message == WM_NCDESTROY) {
        RemovePropW(hwnd, kOriginalProc);
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    }
    LRESULT result = CallWindowProcW(original, hwnd, message, wParam, lParam);
    if (message == WM_GETDLGCODE && (result & DLGC_DEFPUSHBUTTON)) {
        result = (result & ~static_cast<LRESULT>(DLGC_DEFPUSHBUTTON)) | DLGC_UNDEFPUSHBUTTON;
    }
    return result;
}

RECT pixelRect(const PixelRect& r) {
    return RECT{r.left, r.top, r.left + r.width, r.top + r.height};
}

DWORD windowStyle(const WindowRecord& record) {
    DWORD style = WS_CLIPCHILDREN;  // the labels lie beneath the child controls
    switch (record.border) {
        case Border::None:
            style |= WS_POPUP;
            break;
        case Border::Fixed:
            style |= WS_OVERLAPPED | WS_CAPTION;
            break;
        case Border::Sizable:
            style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
            break;
    }
    if (record.systemMenu) style |= WS_SYSMENU;
    if (record.minimizeBox) style |= WS_MINIMIZEBOX;
    if (record.maximizeBox) style |= WS_MAXIMIZEBOX;
    return style;
}

}  // namespace

// A BUTTON child window as the game's push button.
class ButtonControl final : public PushButton {
  public:
    explicit ButtonControl(HWND hwnd) : hwnd_(hwnd) {}
    Result<> setCaption(std::u16string_view caption) override {
        SetLastError(ERROR_SUCCESS);
        if (!SetWindowTextW(hwnd_, toWide(caption).c_str())) {
            return Failure{lastErrorOr(ERROR_INVALID_WINDOW_HANDLE)};
        }
        return {};
    }

  private:
    HWND hwnd_;
};

// What was made from the table, in table order, and what the controls share.
struct Form1Window::Controls {
    HFONT windowFont = nullptr;
    bool ownsWindowFont = false;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;

    std::vector<std::unique_ptr<Control>> made;
    std::vector<HWND> windows;                           // null for labels
    std::vector<std::unique_ptr<WindowLabel>> surfaces;  // null but for labels
    std::vector<HWND> focusOrder;  // the controls that take focus, in tab-index order
    HWND lastFocus = nullptr;      // the control that had focus when the window was deactivated

    // Makes the window's font, the system's message font, for `dpi`. Returns the font it replaces
    // when that was the window's own, for the caller to delete once no control uses it.
    HFONT makeWindowFont(int dpi) {
        if (HFONT font = createMessageFont(dpi)) {
            const HFONT replaced = ownsWindowFont ? windowFont : nullptr;
            windowFont = font;
            ownsWindowFont = true;
            return replaced;
        }
        if (!windowFont) windowFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        return nullptr;
    }

    ~Controls() {
        made.clear();  // destroys the picture's window while the font still exists
        surfaces.clear();
        if (ownsWindowFont && windowFont) DeleteObject(windowFont);
    }
};

Form1Window::Form1Window(HINSTANCE instance, const ControlTable& table)
    : model_(table, systemDpi()),
      controls_(std::make_unique<Controls>()),
      endProgram_([](int status) { ExitProcess(static_cast<UINT>(status)); }) {
    Controls& c = *controls_;
    const WindowRecord& record = table.window;

    // The 16 x 16 and 32 x 32 images of the icon group in the resources. Shared: the system
    // keeps them for as long as the window class that also shows them.
    if (record.iconResource != 0) {
        const auto load = [&](int cx, int cy) {
            return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(record.iconResource),
                                                 IMAGE_ICON, GetSystemMetrics(cx),
                                                 GetSystemMetrics(cy), LR_SHARED));
        };
        c.bigIcon = load(SM_CXICON, SM_CYICON);
        c.smallIcon = load(SM_CXSMICON, SM_CYSMICON);
    }

    const std::wstring className = L"FernWick." + toWide(record.name);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hIcon = c.bigIcon;
    wc.hIconSm = c.smallIcon;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = className.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;

    // The table gives the client area; the frame around it is whatever the system draws.
    const DWORD style = windowStyle(record);
    const DWORD exStyle = WS_EX_CONTROLPARENT | (record.showInTaskBar ? WS_EX_APPWINDOW : 0);
    SIZE frame =
        frameSize(model_.clientWidth(), model_.clientHeight(), style, exStyle, model_.dpi());
    // The system chooses where the window goes.
    if (!CreateWindowExW(exStyle, className.c_str(), toWide(record.caption).c_str(), style,
                         CW_USEDEFAULT, CW_USEDEFAULT, frame.cx, frame.cy, nullptr, nullptr,
                         instance, this)) {
        return;
    }
    // Its monitor may have a DPI of its own: the window is laid out for that one.
    if (const int dpi = windowDpi(hwnd_); dpi != model_.dpi()) {
        model_.setDpi(dpi);
        frame = frameSize(model_.clientWidth(), model_.clientHeight(), style, exStyle, dpi);
        SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The window's font is the system's message font, the standard user-interface font.
    c.makeWindowFont(model_.dpi());
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(c.bigIcon));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(c.smallIcon));

    const std::size_t count = table.controls.size();
    c.windows.assign(count, nullptr);
    c.surfaces.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const ControlRecord& control = table.controls[i];
        const RECT rect = pixelRect(model_.rect(i));
        const int id = kFirstControlId + static_cast<int>(i);
        switch (control.kind) {
            case ControlKind::PictureFrame: {
                auto picture = std::make_unique<PictureFrameWindow>(control.picture, model_.dpi());
                c.windows[i] = picture->create(instance, hwnd_, rect, id, control.visible);
                c.made.push_back(std::move(picture));
                break;
            }
            case ControlKind::PushButton: {
                // A plain push button: no default button, so Enter clicks nothing.
                const DWORD buttonStyle = WS_CHILD | WS_CLIPSIBLINGS | BS_PUSHBUTTON |
                                          (model_.takesFocus(i) ? WS_TABSTOP : 0) |
                                          (control.visible ? WS_VISIBLE : 0);
                HWND button = CreateWindowExW(
                    0, L"BUTTON", toWide(control.text.value_or(u"")).c_str(), buttonStyle,
                    rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, hwnd_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
                if (button) {
                    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(c.windowFont), FALSE);
                    const LONG_PTR original = GetWindowLongPtrW(button, GWLP_WNDPROC);
                    SetPropW(button, kOriginalProc, reinterpret_cast<HANDLE>(original));
                    SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buttonProc));
                }
                c.windows[i] = button;
                c.made.push_back(std::make_unique<ButtonControl>(button));
                break;
            }
            case ControlKind::Label: {
                auto label = std::make_unique<LabelControl>(control, model_, i);
                c.surfaces[i] = std::make_unique<WindowLabel>(hwnd_, c.windowFont);
                label->attach(*c.surfaces[i]);
                c.made.push_back(std::move(label));
                break;
            }
        }
    }

    // Screen readers tell the visible labels' changes by their child ids.
    const std::vector<std::size_t> shown = accessibleControls(model_);
    for (std::size_t n = 0; n < shown.size(); ++n) {
        if (c.surfaces[shown[n]]) c.surfaces[shown[n]]->setAccessibleId(static_cast<LONG>(n + 1));
    }

    // Tab moves through the child windows in their z-order: lay them out in tab-index order.
    HWND previous = HWND_TOP;
    for (std::size_t i : model_.focusOrder()) {
        HWND child = c.windows[i];
        if (!child) continue;
        SetWindowPos(child, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = child;
        c.focusOrder.push_back(child);
    }

    std::vector<Control*> made;
    for (const auto& control : c.made) made.push_back(control.get());
    form_ = model_.bindForm(made, [this](std::uint32_t code) { reportFailure(code); });
}

Form1Window::~Form1Window() {
    accessibility_.reset();
    if (IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

HWND Form1Window::controlWindow(std::u16string_view name) const {
    const std::size_t i = model_.table().indexOf(name);
    return i < controls_->windows.size() ? controls_->windows[i] : nullptr;
}

LabelControl* Form1Window::label(std::u16string_view name) const {
    const std::size_t i = model_.table().indexOf(name);
    return i < controls_->made.size() ? dynamic_cast<LabelControl*>(controls_->made[i].get())
                                      : nullptr;
}

HFONT Form1Window::labelFont(std::u16string_view name) const {
    const std::size_t i = model_.table().indexOf(name);
    return i < controls_->surfaces.size() && controls_->surfaces[i] ? controls_->surfaces[i]->font()
                                                                    : nullptr;
}

void Form1Window::showFirstWelcomeScreen() {
    int showCommand = SW_SHOWNORMAL;
    switch (model_.table().window.initialState) {
        case WindowState::Normal:
            break;
        case WindowState::Minimized:
            showCommand = SW_SHOWMINIMIZED;
            break;
        case WindowState::Maximized:
            showCommand = SW_SHOWMAXIMIZED;
            break;
    }
    controls_->lastFocus = nullptr;
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    focusControl();
}

void Form1Window::focusControl() {
    Controls& c = *controls_;
    HWND target = nullptr;
    if (c.lastFocus && IsWindow(c.lastFocus) && IsWindowVisible(c.lastFocus) &&
        IsWindowEnabled(c.lastFocus)) {
        target = c.lastFocus;
    }
    for (auto it = c.focusOrder.begin(); !target && it != c.focusOrder.end(); ++it) {
        if (IsWindow(*it) && IsWindowVisible(*it) && IsWindowEnabled(*it)) target = *it;
    }
    if (target) SetFocus(target);
}

bool Form1Window::handleDialogKeys(MSG& msg) {
    return IsWindow(hwnd_) && IsDialogMessageW(hwnd_, &msg);
}

int Form1Window::run() {
    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return 1;
        if (handleDialogKeys(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Form1Window::applyDpi(int dpi, const RECT& frame) {
    Controls& c = *controls_;
    model_.setDpi(dpi);
    const HFONT replaced = c.makeWindowFont(dpi);
    for (std::size_t i = 0; i < c.made.size(); ++i) {
        if (HWND child = c.windows[i]) {
            const RECT r = pixelRect(model_.rect(i));
            SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        switch (model_.table().controls[i].kind) {
            case ControlKind::PictureFrame:
                static_cast<PictureFrameWindow&>(*c.made[i]).setDpi(dpi);
                break;
            case ControlKind::PushButton:
                SendMessageW(c.windows[i], WM_SETFONT, reinterpret_cast<WPARAM>(c.windowFont),
                             TRUE);
                break;
            case ControlKind::Label:
                c.surfaces[i]->setWindowFont(c.windowFont);
                static_cast<LabelControl&>(*c.made[i]).rescale(model_);
                break;
        }
    }
    if (replaced) DeleteObject(replaced);
    SetWindowPos(hwnd_, nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1Window::paintLabels(HDC dc) {
    for (const auto& label : controls_->surfaces) {
        if (label) label->paint(dc);
    }
}

void Form1Window::reportFailure(std::uint32_t code) {
    const std::wstring caption = toWide(model_.table().window.caption);
    const std::wstring text = toWide(failureMessage(model_.table().window.caption, code));
    MessageBoxW(IsWindow(hwnd_) ? hwnd_ : nullptr, text.c_str(), caption.c_str(),
                MB_ICONERROR | MB_OK);
    endProgram_(kFailureExitStatus);
}

LRESULT CALLBACK Form1Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Form1Window*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(hwnd, message, wParam, lParam);
}

LRESULT Form1Window::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Controls& c = *controls_;
    switch (message) {
        case WM_COMMAND: {
            // Only a real click of STARTBUTTON: IDOK and IDCANCEL from Enter and Escape, or
            // anything else, do nothing.
            const HWND from = reinterpret_cast<HWND>(lParam);
            const HWND button = controlWindow(u"STARTBUTTON");
            if (from && from == button && HIWORD(wParam) == BN_CLICKED &&
                LOWORD(wParam) == GetDlgCtrlID(button)) {
                form_->STARTBUTTON_Click();
                if (IsWindow(button)) SetFocus(button);
            }
            return 0;
        }
        case DM_GETDEFID:
            return 0;  // no default push button
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd_, &ps);
            paintLabels(dc);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_PRINTCLIENT: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (lParam & PRF_ERASEBKGND) {
                RECT client{};
                GetClientRect(hwnd_, &client);
                FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
            }
            paintLabels(dc);
            return 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd_, focus)) c.lastFocus = focus;
            } else if (!HIWORD(wParam)) {
                focusControl();
            }
            return 0;
        case WM_SETFOCUS:
            focusControl();
            return 0;
        case WM_DPICHANGED:
            // The window moved to a monitor of another DPI: Windows suggests its new rectangle.
            applyDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_GETOBJECT:
            if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
                if (!accessibility_) accessibility_ = std::make_unique<WindowAccessibility>(*this);
                return accessibility_->clientObject(wParam);
            }
            break;
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
        case WM_SETTINGCHANGE:
            // New system colours or theme, or high-contrast mode switched: everything is drawn
            // again in what the system gives now. Only top-level windows are told of new colours;
            // the child controls hear of them from here.
            if (message == WM_SETTINGCHANGE && wParam != SPI_SETHIGHCONTRAST) break;
            if (message == WM_SYSCOLORCHANGE) {
                for (HWND child : c.windows) {
                    if (child) SendMessageW(child, message, wParam, lParam);
                }
            }
            RedrawWindow(hwnd_, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            accessibility_.reset();
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace fernwick::win32
