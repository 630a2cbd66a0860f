#include "app/qt/display_guard.h"

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "app/exit_status.h"

namespace fernwick::qt {

namespace {

std::vector<std::pair<QtMsgType, QString>> held;

void holdOrFail(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs(
            "fernwick: cannot open a display; start it from a desktop session "
            "(X11 or Wayland)\n",
            stderr);
        std::fflush(stderr);
        std::_Exit(exit_status::kNoDisplay);
    }
    held.emplace_back(type, message);
}

}  // namespace

std::unique_ptr<QApplication> connectToDisplay(int& argc, char** argv) {
    const QtMessageHandler previous = qInstallMessageHandler(holdOrFail);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    const QMessageLogContext context;
    for (const auto& [type, message] : held) qt_message_output(type, context, message);
    return app;
}

}  // namespace fernwick::qt
