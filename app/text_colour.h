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

// The button-text colour in high-contrast mode (as Windows asks) or when `asked` is none; else
// the first colour from `asked` towards it that reaches kReadableContrast on the button face
// (it itself, should none).
ColourValue labelTextColour(std::optional<ColourValue> asked, const SystemColours& system);

}  // namespace fernwick
