// The colour a label's text is drawn in, given the system colours it is drawn with. A label that
// asks for a colour of its own gets exactly that colour wherever it reads on the button face; where
// it would not (a dark or a mid-grey theme), it is moved towards the theme's text colour just far
// enough to read. In high-contrast mode every label takes the system's button-text colour, as
// Windows asks of programs in that mode.
#pragma once

#include <optional>

#include "app/control_table.h"

namespace fernwick {

// What the front end draws a label with, as the system gives it now.
struct SystemColours {
    ColourValue buttonFace;
    ColourValue buttonText;
    bool highContrast = false;
};

// The contrast ordinary text needs to read: 4.5:1 (WCAG 2, level AA).
constexpr double kReadableContrast = 4.5;

// WCAG 2 contrast ratio of two colours, from 1 (the same) to 21 (black and white).
double contrastRatio(ColourValue a, ColourValue b);

// The colour to draw a label's text in. `asked` is the colour its record gives (none: the
// button-text colour).
// - In high-contrast mode, or when the record gives no colour: the button-text colour.
// - When the asked colour reaches kReadableContrast against the button face: exactly that colour.
// - Otherwise: the first colour, stepping from the asked one towards the button-text colour, that
//   reaches it; the button-text colour itself should none do.
ColourValue labelTextColour(std::optional<ColourValue> asked, const SystemColours& system);

}  // namespace fernwick
