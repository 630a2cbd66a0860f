// The controls' places at 96 DPI and each screen's texts, from the game's own table and toggle;
// only the core's tests compare them with the design's numbers and words.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <string_view>

#include "app/control_table.h"
#include "app/units.h"
#include "app/window_model.h"
#include "game/start_button_toggle.h"

namespace fernwick::design {

// The rectangle of the control at `place` in the table (a place in Named).
inline QRect rect(std::size_t place) {
    const PixelRect r = WindowModel().rect(place);
    return {r.left, r.top, r.width, r.height};
}

inline QSize clientSize() {
    const WindowModel model;
    return {model.clientWidth(), model.clientHeight()};
}

// The heading, the button's caption, the hidden state and the heading's em in pixels at 96 DPI.
struct Screen {
    QString heading, caption, state;
    int headingPixels;
};
inline QString text(std::u16string_view s) { return QString::fromStdU16String(std::u16string(s)); }
inline Screen welcomeScreen() {
    return {text(toggle::kWelcomeHeading), text(toggle::kWelcomeCaption), text(toggle::kNotWon),
            emPixels(toggle::kWelcomeHeadingPoints)};
}
inline Screen wonScreen() {
    return {text(toggle::kWonHeading), text(toggle::kWonCaption), text(toggle::kWon),
            emPixels(toggle::kWonHeadingPoints)};
}

}  // namespace fernwick::design
