// Fonts from the control table's font descriptions.
#pragma once

#include <QFont>

#include "app/control_table.h"

namespace fernwick::qt {

// Makes the bundled bold face, whose widths follow Tahoma Bold's, stand in for the faces the
// table names wherever the machine lacks them. Safe to call more than once; a machine with a
// Tahoma of its own keeps using it.
void registerBundledFaces(const ControlTable& table = controlTable());

// The font a description names, at `points`. Its em height is a whole number of pixels, the size
// rounded as the platform rounds it, so 27.75 pt and 28 pt draw alike.
QFont fontFromDescription(const FontDescription& description, double points);

}  // namespace fernwick::qt
