// While the application object connects to the window system, a missing display would make Qt
// print several lines and abort with a core dump. The guard turns that into one clear line and a
// plain non-zero exit.
#pragma once

#include <QtGlobal>

namespace fernwick::qt {

class DisplayGuard {
  public:
    DisplayGuard();
    // Connected: lets the toolkit's messages through again, including any held back meanwhile.
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;

  private:
    QtMessageHandler previous_;
};

}  // namespace fernwick::qt
