// What screen readers find in the window, through Qt's accessibility interfaces (which reach
// Linux screen readers over AT-SPI): a frame named by the window's title holding what the eye
// sees and nothing else. The labels are static text named by their text as it reads, the
// picture frame an image named by what it shows, the button Qt's own push button. A hidden
// control is not there at all, so the hidden label that keeps the game's state is never read.
#pragma once

namespace fernwick::qt {

// Installs the interfaces above. Call once, after the application object exists.
void installAccessibility();

}  // namespace fernwick::qt
