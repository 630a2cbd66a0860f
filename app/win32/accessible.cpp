#include "app/win32/accessible.h"

#include <type_traits>

namespace fernwick::win32 {

namespace {

HRESULT give(LONG n, VARIANT* out) {
    if (out) out->vt = VT_I4, out->lVal = n;
    return out ? S_OK : E_POINTER;
}
HRESULT give(std::u16string_view text, BSTR* out) {
    if (out)
        *out = SysAllocStringLen(reinterpret_cast<const wchar_t*>(text.data()),
                                 static_cast<UINT>(text.size()));
    return !out ? E_POINTER : *out ? S_OK : E_OUTOFMEMORY;
}

// Out parameters start empty, so that a failed call hands back nothing to free. (An empty VARIANT
// is all zeros.)
template <class T>
void empty(T) {}
template <class T>
void empty(T* out) {
    if (out) *out = {};
}

}  // namespace

// The client's object: the elements, or the system's objects for their windows, answer about the
// children, the system's standard object for the window all else. Interface ids are __uuidof()'s:
// for x86-64, mingw-w64's oleacc import library also exports IID_IAccessible as a function.
class AccessibleObject final : public IAccessible {
    using A = IAccessible;

  public:
    AccessibleObject(HWND hwnd, std::vector<AccessibleElement> children)
        : hwnd_(hwnd), children_(std::move(children)), standards_{standard(hwnd)} {
        for (const AccessibleElement& e : children_)
            standards_.push_back(e.window && !e.name ? standard(e.window) : nullptr);
    }
    void disconnect() {
        connected_ = false;
        CoDisconnectObject(this, 0);
        Release();
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(A) ? this : nullptr;
        if (*out) AddRef();
        return *out ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        if (--references_ != 0) return references_;
        delete this;
        return 0;
    }
    // No type information: clients call IAccessible's methods directly.
    STDMETHODIMP GetTypeInfoCount(UINT* n) override { return n ? *n = 0, S_OK : E_POINTER; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        return E_NOTIMPL;
    }

    // What the standard objects answer.
    STDMETHODIMP get_accParent(IDispatch** o) override { return forward(&A::get_accParent, o); }
    STDMETHODIMP get_accValue(VARIANT c, BSTR* o) override {
        return forward(&A::get_accValue, c, o);
    }
    STDMETHODIMP get_accDescription(VARIANT c, BSTR* o) override {
        return forward(&A::get_accDescription, c, o);
    }
    STDMETHODIMP get_accHelp(VARIANT c, BSTR* o) override { return forward(&A::get_accHelp, c, o); }
    STDMETHODIMP get_accHelpTopic(BSTR* f, VARIANT c, long* t) override {
        return forward(&A::get_accHelpTopic, f, c, t);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT c, BSTR* o) override {
        return forward(&A::get_accKeyboardShortcut, c, o);
    }
    STDMETHODIMP get_accSelection(VARIANT* o) override { return forward(&A::get_accSelection, o); }
    STDMETHODIMP get_accFocus(VARIANT* o) override { return forward(&A::get_accFocus, o); }
    STDMETHODIMP accNavigate(long d, VARIANT c, VARIANT* o) override {
        return forward(&A::accNavigate, d, c, o);
    }
    STDMETHODIMP accSelect(long f, VARIANT c) override { return forward(&A::accSelect, f, c); }
    STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    // What the elements answer. (Wine's system object for a BUTTON window gives the client role
    // and no default action, Windows' the push-button role and "Press": the elements say both.)
    STDMETHODIMP get_accName(VARIANT c, BSTR* o) override {
        const AccessibleElement* e = element(c);
        return e && e->name ? give(e->name(), o) : forward(&A::get_accName, c, o);
    }
    STDMETHODIMP get_accRole(VARIANT c, VARIANT* o) override {
        const AccessibleElement* e = element(c);
        return e ? give(e->role, o) : forward(&A::get_accRole, c, o);
    }
    STDMETHODIMP get_accState(VARIANT c, VARIANT* o) override {
        const AccessibleElement* e = element(c);
        return e && e->name ? give(STATE_SYSTEM_READONLY, o) : forward(&A::get_accState, c, o);
    }
    STDMETHODIMP get_accDefaultAction(VARIANT c, BSTR* o) override {
        const AccessibleElement* e = element(c);
        return e && !e->action.empty() ? give(e->action, o)
                                       : forward(&A::get_accDefaultAction, c, o);
    }
    STDMETHODIMP accDoDefaultAction(VARIANT c) override {
        const AccessibleElement* e = element(c);
        if (!e || e->action.empty()) return forward(&A::accDoDefaultAction, c);
        // Posted, as a click comes: the reader's call returns before the game reacts.
        return PostMessageW(e->window, BM_CLICK, 0, 0) ? S_OK : HRESULT_FROM_WIN32(GetLastError());
    }
    STDMETHODIMP accLocation(long* l, long* t, long* w, long* h, VARIANT c) override {
        const AccessibleElement* e = element(c);
        if (!e) return forward(&A::accLocation, l, t, w, h, c);
        if (!l || !t || !w || !h) return E_POINTER;
        const RECT r = e->place();
        *l = r.left, *t = r.top, *w = r.right - r.left, *h = r.bottom - r.top;
        return S_OK;
    }

    // The elements in place of the client's child windows.
    STDMETHODIMP get_accChildCount(long* o) override {
        if (o) *o = connected_ ? static_cast<long>(children_.size()) : 0;
        return !o ? E_POINTER : connected_ ? S_OK : RPC_E_DISCONNECTED;
    }
    STDMETHODIMP get_accChild(VARIANT c, IDispatch** o) override {  // simple elements all
        empty(o);
        return !connected_ ? RPC_E_DISCONNECTED : element(c) ? S_FALSE : E_INVALIDARG;
    }
    STDMETHODIMP accHitTest(long x, long y, VARIANT* o) override {
        empty(o);
        if (!connected_) return RPC_E_DISCONNECTED;
        POINT at{x, y};
        ScreenToClient(hwnd_, &at);
        // The child windows lie above the labels.
        const HWND under = ChildWindowFromPointEx(hwnd_, at, CWP_SKIPINVISIBLE);
        if (!under) return S_FALSE;  // outside the client area
        for (std::size_t n = 0; n < children_.size(); ++n) {
            const RECT r = children_[n].place();
            if (under == hwnd_ ? !children_[n].window && PtInRect(&r, POINT{x, y})
                               : children_[n].window == under)
                return give(static_cast<LONG>(n + 1), o);
        }
        return give(CHILDID_SELF, o);
    }

  private:
    ~AccessibleObject() {
        for (IAccessible* standard : standards_)
            if (standard) standard->Release();
    }

    static IAccessible* standard(HWND window) {
        IAccessible* object = nullptr;
        CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(A),
                                  reinterpret_cast<void**>(&object));
        return object;
    }
    // The child `c` names, from 1; 0 for the object itself, -1 for none.
    long index(const VARIANT& c) const {
        const bool valid = c.vt == VT_I4 && c.lVal >= 0 && c.lVal <= std::ssize(children_);
        return valid ? c.lVal : -1;
    }
    const AccessibleElement* element(const VARIANT& c) const {
        const long n = index(c);
        return connected_ && n > 0 ? &children_[n - 1] : nullptr;
    }
    // Passes a call on to the standard object that answers for the child it names, asking about
    // that object itself; a child without one has no answer.
    template <class... P>
    HRESULT forward(HRESULT (STDMETHODCALLTYPE A::*method)(P...), std::type_identity_t<P>... args) {
        (empty(args), ...);
        if (!connected_) return RPC_E_DISCONNECTED;
        IAccessible* to = standards_[0];
        (route(args, to), ...);
        return to ? (to->*method)(args...) : DISP_E_MEMBERNOTFOUND;
    }
    template <class T>
    void route(T&, IAccessible*&) const {}
    void route(VARIANT& c, IAccessible*& to) const {
        const long n = index(c);
        if (n <= 0) return;  // the standard object says what is wrong with a bad child
        to = standards_[n];
        c.lVal = CHILDID_SELF;
    }

    HWND hwnd_;
    std::vector<AccessibleElement> children_;
    std::vector<IAccessible*> standards_;  // the window's, then each child's (or null)
    bool connected_ = true;
    ULONG references_ = 1;
};

ClientObject makeClientObject(HWND window, std::vector<AccessibleElement> children) {
    return ClientObject(new AccessibleObject(window, std::move(children)));
}

void disconnect(IAccessible* object) { static_cast<AccessibleObject*>(object)->disconnect(); }

}  // namespace fernwick::win32
