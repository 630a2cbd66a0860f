// While the application object connects to the window system, a missing display would make Qt
// print several lines and abort with a core dump. The guard turns that into one clear line and a
// plain non-zero exit.
#pragma once

#include <QApplication>
#include <memory>

namespace fernwick::qt {

// Makes the application object under the guard; once connected, the toolkit's messages go through
// again, including any held back meanwhile. `argc` must outlive the application.
std::unique_ptr<QApplication> connectToDisplay(int& argc, char** argv);

}  // namespace fernwick::qt
