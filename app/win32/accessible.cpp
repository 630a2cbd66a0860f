#include "app/win32/accessible.h"

#include <oleacc.h>

#include <string_view>

#include "app/win32/form1_window.h"
#include "app/win32/text.h"

namespace fernwick::win32 {

namespace {

constexpr std::u16string_view kPictureName = u"Cartoon dog";  // what the picture shows

VARIANT self() {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

HRESULT giveText(std::u16string_view text, BSTR* out) {
    const std::wstring wide = toWide(text);
    *out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT giveNumber(LONG number, VARIANT* out) {
    out->vt = VT_I4;
    out->lVal = number;
    return S_OK;
}

// Out parameters start empty, so that a failed call hands back nothing to free.
void clear(BSTR* out) {
    if (out) *out = nullptr;
}
void clear(VARIANT* out) {
    if (out) VariantInit(out);
}
void clear(IDispatch** out) {
    if (out) *out = nullptr;
}
void clear(long* out) {
    if (out) *out = 0;
}

// IAccessible's interface id is taken as __uuidof(IAccessible) throughout: for x86-64, mingw-w64's
// oleacc import library also exports IID_IAccessible as a function, and the linker may bind the
// name to that thunk's code instead of the GUID.
//
// An accessible object that passes each call on to the system's standard object for a window,
// and fails every call with RPC_E_DISCONNECTED once disconnected. The objects below answer
// themselves only what the system's object cannot know.
class Delegating : public IAccessible, public IOleWindow {
  public:
    Delegating(HWND hwnd, LONG objectId) : hwnd_(hwnd) {
        if (FAILED(CreateStdAccessibleObject(hwnd, objectId, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&standard_)))) {
            standard_ = nullptr;
        }
    }
    Delegating(const Delegating&) = delete;
    Delegating& operator=(const Delegating&) = delete;

    // The window is gone: every call fails from now on, also through proxies in other processes.
    virtual void disconnect() {
        connected_ = false;
        if (standard_) standard_->Release();
        standard_ = nullptr;
        CoDisconnectObject(static_cast<IAccessible*>(this), 0);
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
        } else if (iid == IID_IOleWindow) {
            *out = static_cast<IOleWindow*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // Clients call IAccessible's methods directly; the object offers no type information.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        return E_NOTIMPL;
    }

    STDMETHODIMP GetWindow(HWND* out) override {
        if (!out) return E_POINTER;
        *out = connected_ ? hwnd_ : nullptr;
        return connected_ ? S_OK : RPC_E_DISCONNECTED;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    STDMETHODIMP get_accParent(IDispatch** out) override {
        return ask(&IAccessible::get_accParent, out);
    }
    STDMETHODIMP get_accChildCount(long* out) override {
        return ask(&IAccessible::get_accChildCount, out);
    }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
        return ask(&IAccessible::get_accChild, child, out);
    }
    STDMETHODIMP get_accName(VARIANT child, BSTR* out) override {
        return ask(&IAccessible::get_accName, child, out);
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* out) override {
        return ask(&IAccessible::get_accValue, child, out);
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* out) override {
        return ask(&IAccessible::get_accDescription, child, out);
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* out) override {
        return ask(&IAccessible::get_accRole, child, out);
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* out) override {
        return ask(&IAccessible::get_accState, child, out);
    }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* out) override {
        return ask(&IAccessible::get_accHelp, child, out);
    }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        clear(file);
        IAccessible* to = route(child);
        return to ? to->get_accHelpTopic(file, child, topic) : missing();
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return ask(&IAccessible::get_accKeyboardShortcut, child, out);
    }
    STDMETHODIMP get_accFocus(VARIANT* out) override {
        return ask(&IAccessible::get_accFocus, out);
    }
    STDMETHODIMP get_accSelection(VARIANT* out) override {
        return ask(&IAccessible::get_accSelection, out);
    }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* out) override {
        return ask(&IAccessible::get_accDefaultAction, child, out);
    }
    STDMETHODIMP accSelect(long flags, VARIANT child) override {
        IAccessible* to = route(child);
        return to ? to->accSelect(flags, child) : missing();
    }
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height,
                             VARIANT child) override {
        IAccessible* to = route(child);
        return to ? to->accLocation(left, top, width, height, child) : missing();
    }
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* out) override {
        clear(out);
        IAccessible* to = route(start);
        return to ? to->accNavigate(direction, start, out) : missing();
    }
    STDMETHODIMP accHitTest(long x, long y, VARIANT* out) override {
        clear(out);
        VARIANT child = self();
        IAccessible* to = route(child);
        return to ? to->accHitTest(x, y, out) : missing();
    }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override {
        IAccessible* to = route(child);
        return to ? to->accDoDefaultAction(child) : missing();
    }
    STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  protected:
    // Passes on a call about `child` to the object that answers for it, `out` emptied first.
    template <typename Method, typename Out>
    HRESULT ask(Method method, VARIANT child, Out* out) {
        clear(out);
        IAccessible* to = route(child);
        return to ? (to->*method)(child, out) : missing();
    }
    // The same for a call about the object itself.
    template <typename Method, typename Out>
    HRESULT ask(Method method, Out* out) {
        clear(out);
        VARIANT child = self();
        IAccessible* to = route(child);
        return to ? (to->*method)(out) : missing();
    }

    virtual ~Delegating() {
        if (standard_) standard_->Release();
    }

    // The object that answers for `child`, which it may rewrite to that object's own id; null
    // where nothing does.
    virtual IAccessible* route(VARIANT& /*child*/) { return connected_ ? standard_ : nullptr; }
    HRESULT missing() const { return connected_ ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED; }
    bool connected() const { return connected_; }
    HWND hwnd() const { return hwnd_; }

  private:
    HWND hwnd_;
    IAccessible* standard_ = nullptr;
    bool connected_ = true;
    ULONG references_ = 1;
};

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The button: the system's own object for the BUTTON window, which gives its caption as the
// name, its states and its place on the screen, with the push-button role, the "Press" default
// action and the action itself stated here (on Windows the system's object gives the same, under
// Wine it gives none of the three).
class ButtonObject final : public Delegating {
  public:
    explicit ButtonObject(HWND button) : Delegating(button, OBJID_CLIENT) {}

    STDMETHODIMP get_accRole(VARIANT child, VARIANT* out) override {
        if (!isSelf(child) || !connected()) return Delegating::get_accRole(child, out);
        return giveNumber(ROLE_SYSTEM_PUSHBUTTON, out);
    }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* out) override {
        if (!isSelf(child) || !connected()) return Delegating::get_accDefaultAction(child, out);
        return giveText(u"Press", out);
    }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override {
        if (!isSelf(child) || !connected()) return Delegating::accDoDefaultAction(child);
        // Posted, as a click comes: the reader's call returns before the game reacts.
        return PostMessageW(hwnd(), BM_CLICK, 0, 0) ? S_OK : HRESULT_FROM_WIN32(GetLastError());
    }
};

}  // namespace

std::vector<std::size_t> accessibleControls(const WindowModel& model) {
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < model.table().controls.size(); ++i) {
        if (model.table().controls[i].visible) shown.push_back(i);
    }
    return shown;
}

// The client area: its children are the controls that show, labels and the picture as simple
// elements, the button as an object of its own.
class ClientObject final : public Delegating {
  public:
    explicit ClientObject(Form1Window& window)
        : Delegating(window.hwnd(), OBJID_CLIENT),
          window_(&window),
          shown_(accessibleControls(window.model())),
          objects_(shown_.size(), nullptr) {
        for (std::size_t n = 0; n < shown_.size(); ++n) {
            if (record(n).kind == ControlKind::PushButton) {
                objects_[n] = new ButtonObject(window.controlWindow(record(n).name));
            }
        }
    }

    void disconnect() override {
        for (Delegating* object : objects_) {
            if (object) object->disconnect();
        }
        window_ = nullptr;
        Delegating::disconnect();
    }

    STDMETHODIMP get_accChildCount(long* out) override {
        if (!out) return E_POINTER;
        *out = connected() ? static_cast<long>(shown_.size()) : 0;
        return connected() ? S_OK : RPC_E_DISCONNECTED;
    }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
        clear(out);
        const long n = childIndex(child);
        if (n < 0) return n == kSelf ? E_INVALIDARG : failure(n);
        if (!objects_[n]) return S_FALSE;  // a simple element, answered by this object
        objects_[n]->AddRef();
        *out = objects_[n];
        return S_OK;
    }
    STDMETHODIMP get_accName(VARIANT child, BSTR* out) override {
        clear(out);
        const long n = childIndex(child);
        if (n < 0 || objects_[n]) return Delegating::get_accName(child, out);
        if (const LabelControl* label = window_->label(record(n).name)) {
            return giveText(label->text(), out);  // CR LF and all, as a multi-line text has it
        }
        return giveText(kPictureName, out);
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* out) override {
        clear(out);
        const long n = childIndex(child);
        if (n < 0 || objects_[n]) return Delegating::get_accRole(child, out);
        return giveNumber(
            record(n).kind == ControlKind::Label ? ROLE_SYSTEM_STATICTEXT : ROLE_SYSTEM_GRAPHIC,
            out);
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* out) override {
        clear(out);
        const long n = childIndex(child);
        if (n < 0 || objects_[n]) return Delegating::get_accState(child, out);
        return giveNumber(STATE_SYSTEM_READONLY, out);
    }
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height,
                             VARIANT child) override {
        const long n = childIndex(child);
        if (n < 0 || objects_[n]) return Delegating::accLocation(left, top, width, height, child);
        if (!left || !top || !width || !height) return E_POINTER;
        const RECT r = screenRect(static_cast<std::size_t>(n));
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* out) override {
        clear(out);
        const long n = childIndex(start);
        if (n < kSelf ||
            (n == kSelf && direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD)) {
            return Delegating::accNavigate(direction, start, out);
        }
        long to = -1;
        const long last = static_cast<long>(shown_.size()) - 1;
        if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
            if (n != kSelf) return E_INVALIDARG;  // a simple element has no children
            to = direction == NAVDIR_FIRSTCHILD ? 0 : last;
        } else if (direction == NAVDIR_NEXT) {
            to = n + 1;
        } else if (direction == NAVDIR_PREVIOUS) {
            to = n - 1;
        }
        if (to < 0 || to > last) return S_FALSE;
        giveChild(static_cast<std::size_t>(to), out);
        return S_OK;
    }
    STDMETHODIMP accHitTest(long x, long y, VARIANT* out) override {
        clear(out);
        if (!connected()) return RPC_E_DISCONNECTED;
        if (!out) return E_POINTER;
        POINT at{x, y};
        RECT client{};
        GetClientRect(hwnd(), &client);
        ScreenToClient(hwnd(), &at);
        if (!PtInRect(&client, at)) return S_FALSE;
        // The child windows lie above the labels, so they are tried first.
        for (bool windows : {true, false}) {
            for (std::size_t n = 0; n < shown_.size(); ++n) {
                const bool isWindow = window_->controlWindow(record(n).name) != nullptr;
                const RECT r = screenRect(n);
                if (isWindow == windows && PtInRect(&r, POINT{x, y})) {
                    giveChild(n, out);
                    return S_OK;
                }
            }
        }
        return giveNumber(CHILDID_SELF, out);
    }
    STDMETHODIMP get_accFocus(VARIANT* out) override {
        clear(out);
        if (!connected()) return RPC_E_DISCONNECTED;
        if (!out) return E_POINTER;
        const HWND focus = GetFocus();
        for (std::size_t n = 0; n < shown_.size(); ++n) {
            if (focus && window_->controlWindow(record(n).name) == focus) {
                giveChild(n, out);
                return S_OK;
            }
        }
        if (focus == hwnd()) return giveNumber(CHILDID_SELF, out);
        return S_FALSE;
    }

  private:
    static constexpr long kSelf = -1, kBadChild = -2, kGone = -3;

    ~ClientObject() override {
        for (Delegating* object : objects_) {
            if (object) object->Release();
        }
    }

    const ControlRecord& record(std::size_t n) const {
        return window_->model().table().controls[shown_[n]];
    }

    // The position among the shown controls of the child `child` names, or kSelf, kBadChild or
    // kGone.
    long childIndex(const VARIANT& child) const {
        if (!connected()) return kGone;
        if (child.vt != VT_I4) return kBadChild;
        if (child.lVal == CHILDID_SELF) return kSelf;
        if (child.lVal < 1 || child.lVal > static_cast<long>(shown_.size())) return kBadChild;
        return child.lVal - 1;
    }
    static HRESULT failure(long n) { return n == kGone ? RPC_E_DISCONNECTED : E_INVALIDARG; }

    IAccessible* route(VARIANT& child) override {
        const long n = childIndex(child);
        if (n == kSelf) return Delegating::route(child);
        if (n < 0 || !objects_[n]) return nullptr;
        child = self();
        return objects_[n];
    }

    void giveChild(std::size_t n, VARIANT* out) {
        if (objects_[n]) {
            objects_[n]->AddRef();
            out->vt = VT_DISPATCH;
            out->pdispVal = objects_[n];
        } else {
            giveNumber(static_cast<LONG>(n + 1), out);
        }
    }

    RECT screenRect(std::size_t n) const {
        RECT r{};
        if (HWND child = window_->controlWindow(record(n).name)) {
            GetWindowRect(child, &r);
            return r;
        }
        if (const LabelControl* label = window_->label(record(n).name)) {
            const PixelRect& p = label->rect();
            r = RECT{p.left, p.top, p.left + p.width, p.top + p.height};
            MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        }
        return r;
    }

    Form1Window* window_;
    std::vector<std::size_t> shown_;    // the shown controls' places in the table
    std::vector<Delegating*> objects_;  // the object of each shown control that has one
};

WindowAccessibility::WindowAccessibility(Form1Window& window) : client_(new ClientObject(window)) {}

WindowAccessibility::~WindowAccessibility() {
    client_->disconnect();
    client_->Release();
}

LRESULT WindowAccessibility::clientObject(WPARAM wParam) {
    return LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(client_));
}

}  // namespace fernwick::win32
