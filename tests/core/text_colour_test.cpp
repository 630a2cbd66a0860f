#include "app/text_colour.h"

#include <gtest/gtest.h>

namespace fernwick {
namespace {

constexpr ColourValue kHeadingBlue = 0x00C00000;

// Real themes' button face and text (GTK, KDE, Windows' high-contrast ones): where the blue reads
// it is kept; elsewhere the heading reads and stays bluer than the theme's text.
TEST(TextColourTest, TheHeadingOnEachTheme) {
    constexpr ColourValue kReadable = 1;  // any colour that reaches 4.5:1 on the face
    const struct {
        const char* theme;
        SystemColours system;
        ColourValue drawn;
    } themes[] = {
        {"Adwaita", {colourValue(239, 239, 239), colourValue(0, 0, 0)}, kHeadingBlue},
        {"Adwaita dark", {colourValue(50, 50, 50), colourValue(240, 240, 240)}, kReadable},
        {"Breeze", {colourValue(239, 240, 241), colourValue(35, 38, 41)}, kHeadingBlue},
        {"Breeze Dark", {colourValue(49, 54, 59), colourValue(239, 240, 241)}, kReadable},
        {"Windows default", {colourValue(240, 240, 240), colourValue(0, 0, 0)}, kHeadingBlue},
        {"High contrast black",
         {colourValue(0, 0, 0), colourValue(255, 255, 255), true},
         colourValue(255, 255, 255)},
        {"High contrast white",
         {colourValue(255, 255, 255), colourValue(0, 0, 0), true},
         colourValue(0, 0, 0)},
        {"High contrast #1",
         {colourValue(45, 50, 54), colourValue(182, 246, 240), true},
         colourValue(182, 246, 240)},
        {"High contrast #2",
         {colourValue(0, 0, 0), colourValue(255, 238, 50), true},
         colourValue(255, 238, 50)},
        // On a mid-grey face only a darker blue reaches 4.5:1.
        {"Mid-grey face", {colourValue(128, 128, 128), colourValue(0, 0, 0)}, kReadable},
    };
    for (const auto& t : themes) {
        SCOPED_TRACE(t.theme);
        const ColourValue drawn = labelTextColour(kHeadingBlue, t.system);
        if (t.drawn == kReadable) {
            EXPECT_GE(contrastRatio(drawn, t.system.buttonFace), 4.5) << std::hex << drawn;
            EXPECT_LT(contrastRatio(drawn, t.system.buttonFace), 5.0) << "no further than needed";
            EXPECT_GT(blue(drawn), red(drawn)) << "still a blue";
        } else {
            EXPECT_EQ(drawn, t.drawn) << std::hex << drawn;
        }
        // A label that asks for no colour of its own is in button text on every theme.
        EXPECT_EQ(labelTextColour(std::nullopt, t.system), t.system.buttonText);
    }
}

}  // namespace
}  // namespace fernwick
