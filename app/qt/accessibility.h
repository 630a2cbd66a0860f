// What screen readers find in the window, through Qt's accessibility interfaces (which reach
// Linux screen readers over AT-SPI): a frame named by the window's title holding what the eye
// sees and nothing else. The labels are static text named by their text as it reads, the
// picture frame an image named by what it shows, the button Qt's own push button. A hidden
// control is not there at all, so the hidden label that keeps the game's state is never read.
#pragma once

#include <QString>

class QWidget;

namespace fernwick::qt {

// Installs the interfaces above. Call once, after the application object exists.
void installAccessibility();

// A label's text as a person reads it: each CR LF a line break.
QString readableText(const QString& text);

// Tells screen readers that a label's text, and so its name, has changed. A label that is not
// on the screen says nothing: readers take its name when it appears.
void announceLabelText(QWidget* label);

}  // namespace fernwick::qt
