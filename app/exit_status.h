// The program's exit statuses, on every platform.
#pragma once

namespace fernwick::exit_status {

constexpr int kClosed = 0;         // the window was closed
constexpr int kNoDisplay = 2;      // there is no display to open the window on
constexpr int kControlFailed = 3;  // a control failed during a click, as the message said
constexpr int kNoWindow = 4;       // Windows could not create the window

}  // namespace fernwick::exit_status
