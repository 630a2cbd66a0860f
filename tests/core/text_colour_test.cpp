#include "app/text_colour.h"

#include <gtest/gtest.h>

namespace fernwick {
namespace {

constexpr ColourValue kHeadingBlue = 0x00C00000;

TEST(TextColourTest, ContrastIsTheWcagRatio) {
    EXPECT_DOUBLE_EQ(contrastRatio(colourValue(0, 0, 0), colourValue(255, 255, 255)), 21.0);
    EXPECT_DOUBLE_EQ(contrastRatio(kHeadingBlue, kHeadingBlue), 1.0);
    // The heading on Adwaita dark's button face, and on Windows' high-contrast black.
    EXPECT_NEAR(contrastRatio(kHeadingBlue, colourValue(50, 50, 50)), 1.08, 0.005);
    EXPECT_NEAR(contrastRatio(colourValue(0, 0, 0), kHeadingBlue), 1.76, 0.005);
}

// The button face and button text of real themes, as the front ends get them: the GTK themes as
// Qt's gtk3 platform theme reports them, KDE's from its colour schemes, Windows' from its system
// colours (the high-contrast #1 and #2 as Windows 11 ships them, Dusk and Night sky).
TEST(TextColourTest, TheHeadingOnEachTheme) {
    const struct {
        const char* theme;
        SystemColours system;
        ColourValue drawn;
    } themes[] = {
        {"Adwaita", {colourValue(239, 239, 239), colourValue(0, 0, 0)}, kHeadingBlue},
        {"Adwaita dark",
         {colourValue(50, 50, 50), colourValue(240, 240, 240)},
         colourValue(141, 141, 255)},
        {"Breeze", {colourValue(239, 240, 241), colourValue(35, 38, 41)}, kHeadingBlue},
        {"Breeze Dark",
         {colourValue(49, 54, 59), colourValue(239, 240, 241)},
         colourValue(146, 146, 255)},
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
        // Black and white system colours with no high-contrast mode reported, as under Wine.
        {"Black face, mode off",
         {colourValue(0, 0, 0), colourValue(255, 255, 255)},
         colourValue(94, 94, 255)},
        {"White face, mode off", {colourValue(255, 255, 255), colourValue(0, 0, 0)}, kHeadingBlue},
        // On a mid-grey face no lighter blue reaches 4.5:1 (white gives 3.95:1), so it darkens.
        {"Mid-grey face",
         {colourValue(128, 128, 128), colourValue(0, 0, 0)},
         colourValue(0, 0, 99)},
    };
    for (const auto& t : themes) {
        SCOPED_TRACE(t.theme);
        const ColourValue drawn = labelTextColour(kHeadingBlue, t.system);
        EXPECT_EQ(drawn, t.drawn) << std::hex << drawn;
        EXPECT_GE(contrastRatio(drawn, t.system.buttonFace), kReadableContrast);
        // A label that asks for no colour of its own is in button text on every theme.
        EXPECT_EQ(labelTextColour(std::nullopt, t.system), t.system.buttonText);
    }
}

}  // namespace
}  // namespace fernwick
