#include "app/qt/display_guard.h"

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "app/exit_status.h"

namespace fernwick::qt {

namespace {

std::vector<std::pair<QtMsgType, QString>>& heldMessages() {
    static std::vector<std::pair<QtMsgType, QString>> messages;
    return messages;
}

void holdOrFail(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs(
            "fernwick: cannot open a display; start it from a desktop session (X11 or "
            "Wayland)\n",
            stderr);
        std::fflush(stderr);
        std::_Exit(exit_status::kNoDisplay);
    }
    heldMessages().emplace_back(type, message);
}

}  // namespace

DisplayGuard::DisplayGuard() : previous_(qInstallMessageHandler(holdOrFail)) {}

DisplayGuard::~DisplayGuard() {
    qInstallMessageHandler(previous_);
    const QMessageLogContext context;
    for (const auto& [type, message] : heldMessages()) qt_message_output(type, context, message);
    heldMessages().clear();
}

}  // namespace fernwick::qt
