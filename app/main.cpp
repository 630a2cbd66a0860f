// FernWick: builds the window from the control table, shows the first welcome screen and runs the
// event loop until the window is closed.
#include <QApplication>
#include <optional>

#include "app/qt/display_guard.h"
#include "app/qt/form1_window.h"
#include "app/qt/heading_face.h"
#include "app/qt/label_widget.h"

int main(int argc, char* argv[]) {
    // The program takes no arguments and ignores any it is given: Qt sees only its name.
    char fallbackName[] = "fernwick";
    char* qtArgv[] = {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};
    int qtArgc = 1;

    QApplication::setApplicationName(QStringLiteral("fernwick"));
    std::optional<fernwick::qt::DisplayGuard> guard(std::in_place);
    QApplication app(qtArgc, qtArgv);
    guard.reset();

    fernwick::qt::registerBundledFaces();
    fernwick::qt::installLabelAccessibility();

    fernwick::qt::Form1Window window;
    window.showFirstWelcomeScreen();
    return QApplication::exec();
}
