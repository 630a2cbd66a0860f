// What a screen reader finds in Form1 on Windows, over Microsoft Active Accessibility (which UI
// Automation also serves through its MSAA proxy): the client area as an accessible object whose
// children are the controls that show, in table order.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "app/window_model.h"

namespace fernwick::win32 {

class Form1Window;
class ClientObject;

// The controls a screen reader sees, as positions in table order: the visible ones. Child id n
// (from 1) of the client's accessible object is the n-th of them.
std::vector<std::size_t> accessibleControls(const WindowModel& model);

// The client's accessible object for one window, made when a client first asks for it. The object
// goes to other processes through COM, in the apartment of the window's thread (the program's
// ComApartment).
class WindowAccessibility {
  public:
    explicit WindowAccessibility(Form1Window& window);
    // Disconnects the objects: a client that still holds one gets RPC_E_DISCONNECTED from every
    // call, whether it holds the object itself or a proxy in another process.
    ~WindowAccessibility();
    WindowAccessibility(const WindowAccessibility&) = delete;
    WindowAccessibility& operator=(const WindowAccessibility&) = delete;

    // The answer to WM_GETOBJECT for OBJID_CLIENT.
    LRESULT clientObject(WPARAM wParam);

  private:
    ClientObject* client_ = nullptr;
};

}  // namespace fernwick::win32
