// What a screen reader reads of FernWick's window over MSAA from another process, one line per
// object ("role | name | default action"); with --press, then does the button's default action.
#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string shown(BSTR text) {
    if (!text) return "-";
    std::string out;
    for (const wchar_t* c = text; *c; ++c) {
        out += *c == L'\r'   ? std::string("\\r")
               : *c == L'\n' ? std::string("\\n")
                             : std::string(1, char(*c));
    }
    return out;
}

std::string roleName(IAccessible* object, VARIANT child) {
    VARIANT role;
    VariantInit(&role);
    if (FAILED(object->get_accRole(child, &role)) || role.vt != VT_I4) return "?";
    wchar_t text[100] = {};
    GetRoleTextW(static_cast<DWORD>(role.lVal), text, 100);
    return std::string(text, text + wcslen(text));
}

// One line for `child` of `object`; true when it is a push button.
bool print(IAccessible* object, VARIANT child, const char* indent) {
    BSTR name = nullptr, action = nullptr;
    object->get_accName(child, &name);
    object->get_accDefaultAction(child, &action);
    const std::string role = roleName(object, child);
    std::printf("%s%s | %s | %s\n", indent, role.c_str(), shown(name).c_str(),
                shown(action).c_str());
    SysFreeString(name);
    SysFreeString(action);
    return role == "push button";
}

}  // namespace

int main(int argc, char** argv) {
    const bool press = argc > 1 && std::string(argv[1]) == "--press";
    CoInitialize(nullptr);
    HWND window = FindWindowW(L"FernWick.Form1", nullptr);
    IAccessible* client = nullptr;
    if (!window || FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                                     __uuidof(IAccessible),
                                                     reinterpret_cast<void**>(&client)))) {
        std::printf("no accessible FernWick window\n");
        return 1;
    }
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    print(client, self, "");
    long count = 0;
    client->get_accChildCount(&count);
    VARIANT children[16];
    long got = 0;
    AccessibleChildren(client, 0, count < 16 ? count : 16, children, &got);
    int status = 0;
    for (long i = 0; i < got; ++i) {
        IAccessible* object = client;
        VARIANT child = children[i];
        if (children[i].vt == VT_DISPATCH) {  // a child with an object of its own
            children[i].pdispVal->QueryInterface(__uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&object));
            child = self;
        }
        if (object && print(object, child, "  ") && press) {
            status = FAILED(object->accDoDefaultAction(child));
        }
        if (object && object != client) object->Release();
        VariantClear(&children[i]);
    }
    client->Release();
    return status;
}
