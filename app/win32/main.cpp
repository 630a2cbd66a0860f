// FernWick for Windows: builds the window from the control table, shows the first welcome screen
// and runs the message loop until the window is closed.
#include <windows.h>

#include "app/control_table.h"
#include "app/win32/form1_window.h"
#include "app/win32/text.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // The program takes no arguments and ignores any it is given.
    fernwick::win32::Form1Window window(instance);
    if (!window.hwnd()) {
        const auto caption = fernwick::win32::toWide(fernwick::controlTable().window.caption);
        MessageBoxW(nullptr, L"The window could not be created.", caption.c_str(),
                    MB_ICONERROR | MB_OK);
        return 1;
    }
    window.showFirstWelcomeScreen(showCommand);
    return window.run();
}
