// FernWick: builds the window from the control table, shows the first welcome screen and runs the
// event loop until the window is closed.
#include <QApplication>
#include <cstdio>

#include "app/exit_status.h"
#include "app/qt/accessibility.h"
#include "app/qt/display_guard.h"
#include "app/qt/form1_window.h"
#include "identity.h"

int main(int argc, char* argv[]) {
    // The program takes no arguments and ignores any it is given: Qt sees only its name.
    char fallbackName[] = "fernwick";
    char* qtArgv[] = {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};
    int qtArgc = 1;

    // The names the window system and the desktop know the program by.
    namespace id = fernwick::identity;
    QApplication::setApplicationName(QString::fromLatin1(id::productName));
    QApplication::setOrganizationName(QString::fromLatin1(id::companyName));
    QApplication::setApplicationVersion(QString::fromLatin1(id::versionString));
    QApplication::setDesktopFileName(QString::fromLatin1(id::desktopFileName));

    const auto app = fernwick::qt::connectToDisplay(qtArgc, qtArgv);
    fernwick::qt::installAccessibility();

    try {
        fernwick::qt::Form1Window window;
        window.showFirstWelcomeScreen();
        return QApplication::exec();
    } catch (const fernwick::TableError& error) {
        std::fprintf(stderr, "fernwick: cannot start: %s\n", error.what());
        return fernwick::exit_status::kBadTable;
    }
}
