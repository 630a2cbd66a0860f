// The texts and sizes of the two screens the button switches between.
#pragma once

#include <string_view>

namespace fernwick::toggle {

// The only state that counts as won; any other text of `status` is not won.
inline constexpr std::u16string_view kWon = u"True";
inline constexpr std::u16string_view kNotWon = u"False";

inline constexpr std::u16string_view kWonHeading =
    u"Congratulations! You have clocked Fernwick!\r\n\r\nSCORE = 1";
inline constexpr float kWonHeadingPoints = 18.0f;
inline constexpr std::u16string_view kWonCaption = u"Click to restart game!";

inline constexpr std::u16string_view kWelcomeHeading = u"Welcome to FERNWICK!";
inline constexpr float kWelcomeHeadingPoints = 28.0f;
inline constexpr std::u16string_view kWelcomeCaption = u"BEGIN FERNWICK!";

}  // namespace fernwick::toggle
