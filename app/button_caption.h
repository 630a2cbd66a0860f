// How large a push button's caption is drawn: in the system's font, unless a caption the button
// shows would then not fit inside it. The button keeps its designed size either way.
#pragma once

#include <functional>
#include <span>
#include <string_view>

#include "game/start_button_toggle.h"

namespace fernwick {

// The captions STARTBUTTON shows, on the welcome screen and on the won screen.
inline constexpr std::u16string_view kStartButtonCaptions[] = {toggle::kWelcomeCaption,
                                                               toggle::kWonCaption};

struct TextSize {
    int width = 0;
    int height = 0;
};

// The size of `text` drawn in the caption's face with an em of `emPixels` pixels.
using MeasureCaption = std::function<TextSize(std::u16string_view text, int emPixels)>;

// The em, in pixels, of a caption: `preferred`, the system font's, or where one of `captions`
// would then not fit a content area `width` x `height` pixels, the largest smaller em at which
// every one fits (at least 1).
int captionEmPixels(int preferred, std::span<const std::u16string_view> captions, int width,
                    int height, const MeasureCaption& measure);

}  // namespace fernwick
