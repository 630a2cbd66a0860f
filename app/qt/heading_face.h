// Fonts from the control table's font descriptions.
#pragma once

#include <QFont>

#include "app/control_table.h"

namespace fernwick::qt {

// Makes DejaVu Sans Condensed Bold, whose widths follow Tahoma Bold's, stand in for the faces the
// table names wherever the machine lacks them; a machine with a Tahoma of its own keeps using it.
// The system's copy of the face is used where fontconfig has one. Whether it does is settled at
// the application's first paint, when the font database is loaded for drawing anyway, and only
// then, where it lacks the face, is the bundled copy registered. Needs the application object;
// safe to call more than once.
void registerBundledFaces(const ControlTable& table = controlTable());

// The font a description names, at `points`. Its em height is a whole number of pixels, the size
// rounded as the platform rounds it, so 27.75 pt and 28 pt draw alike.
QFont fontFromDescription(const FontDescription& description, double points);

}  // namespace fernwick::qt
