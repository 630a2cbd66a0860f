// What a screen reader finds in Form1 on Windows, over Microsoft Active Accessibility (which UI
// Automation also serves through its MSAA proxy): the client area's accessible object, whose
// children are simple elements, the controls that show.
#pragma once

#include <oleacc.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/win32/window_base.h"

namespace fernwick::win32 {

// Child n (from 1) of the client's object.
struct AccessibleElement {
    long role;                             // ROLE_SYSTEM_*
    std::function<std::u16string()> name;  // none: the system's object for `window` names it and
                                           // answers what the element does not
    HWND window;                           // its window, if it has one
    std::function<RECT()> place;           // where it is on the screen
    std::u16string_view action = {};       // a default action, done by clicking `window`
};

// The client's accessible object, answering WM_GETOBJECT for OBJID_CLIENT, and served to other
// processes through COM in the window thread's apartment. Dropping it disconnects it: a client
// still holding the object, or a proxy of it, gets RPC_E_DISCONNECTED from then on.
void disconnect(IAccessible* object);
using ClientObject = std::unique_ptr<IAccessible, Release<disconnect>>;
ClientObject makeClientObject(HWND window, std::vector<AccessibleElement> children);

}  // namespace fernwick::win32
