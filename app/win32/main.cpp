// FernWick for Windows: builds the window from the control table, shows the first welcome screen
// and runs the message loop until the window is closed.
#include <windows.h>
// commctrl.h needs the declarations of windows.h
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "app/control_table.h"
#include "app/exit_status.h"
#include "app/win32/form1_window.h"
#include "app/win32/picture_frame.h"

namespace {

int cannotStart(const std::string& why) {
    std::fprintf(stderr, "fernwick: cannot start: %s\n", why.c_str());
    const std::wstring text = L"FernWick cannot start: " + std::wstring(why.begin(), why.end());
    const auto caption = fernwick::win32::toWide(fernwick::controlTable().window.caption);
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_ICONERROR | MB_OK);
    return fernwick::exit_status::kBadTable;
}

}  // namespace

// The program takes no arguments and ignores any it is given, the launcher's show command too:
// the window opens in the state the table gives.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const fernwick::win32::ComApartment com;  // outlives the window
    // The manifest asks for version 6 of the common controls, so that the button wears the
    // system's visual style; that version registers its window classes here, before any window.
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        fernwick::win32::Form1Window window(instance);
        if (!window.hwnd()) return cannotStart("the window could not be created");
        window.showFirstWelcomeScreen();
        return window.run();
    } catch (const fernwick::TableError& error) {
        return cannotStart(error.what());
    }
}
