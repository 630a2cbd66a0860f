// FernWick for Windows: builds the window from the control table, shows the first welcome screen
// and runs the message loop until the window is closed.
#include <windows.h>
// commctrl.h needs the declarations of windows.h
#include <commctrl.h>

#include <cstdio>

#include "app/exit_status.h"
#include "app/win32/form1_window.h"
#include "app/win32/picture_frame.h"

// The program takes no arguments and ignores any it is given, the launcher's show command too:
// the window opens in the state the table gives.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const fernwick::win32::ComApartment com;  // outlives the window
    // The manifest asks for version 6 of the common controls, so that the button wears the
    // system's visual style; that version registers its window classes here, before any window.
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    fernwick::win32::Form1Window window(instance);
    if (!window.hwnd()) {
        std::fputs("fernwick: cannot start: the window could not be created\n", stderr);
        MessageBoxW(nullptr, L"FernWick cannot start: the window could not be created",
                    fernwick::win32::toWide(fernwick::kControlTable.window.caption).c_str(),
                    MB_ICONERROR | MB_OK);
        return fernwick::exit_status::kNoWindow;
    }
    window.showFirstWelcomeScreen();
    return window.run();
}
