// Fonts from the control table's font descriptions.
#pragma once

#include <QFont>

#include "app/control_table.h"

namespace fernwick::qt {

// DejaVu Sans Condensed Bold, whose widths follow Tahoma Bold's, stands in for the faces the table
// names wherever the machine lacks them; a machine with a Tahoma of its own keeps using it. The
// system's copy of the face is used where fontconfig has one, and the bundled copy is registered
// only where it has none. That is settled when fontFromDescription first needs it, which loads the
// font database; nothing before that touches fontconfig.
//
// The font a description names, at `points`, asking for the stand-in by name where the named face
// is missing, so that Qt need not search for it. Its em height is a whole number of pixels, the
// size rounded as the platform rounds it, so 27.75 pt and 28 pt draw alike.
QFont fontFromDescription(const FontDescription& description, double points);

}  // namespace fernwick::qt
