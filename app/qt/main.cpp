// FernWick: builds the window from the control table, shows the first welcome screen and runs the
// event loop until the window is closed.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "app/exit_status.h"
#include "app/qt/accessibility.h"
#include "app/qt/form1_window.h"
#include "identity.h"

namespace {

// While the application object connects to the window system, a missing display would make Qt
// print several lines and abort with a core dump: that becomes one clear line and a plain exit.
// Qt's other messages meanwhile are held back, and let through once it is connected.
std::vector<std::pair<QtMsgType, QString>> held;

void holdOrFail(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs(
            "fernwick: cannot open a display; start it from a desktop session "
            "(X11 or Wayland)\n",
            stderr);
        std::fflush(stderr);
        std::_Exit(fernwick::exit_status::kNoDisplay);
    }
    held.emplace_back(type, message);
}

}  // namespace

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

    const QtMessageHandler previous = qInstallMessageHandler(holdOrFail);
    QApplication app(qtArgc, qtArgv);
    qInstallMessageHandler(previous);
    for (const auto& [type, message] : held) qt_message_output(type, {}, message);
    fernwick::qt::installAccessibility();

    fernwick::qt::Form1Window window;
    window.showFirstWelcomeScreen();
    return QApplication::exec();
}
