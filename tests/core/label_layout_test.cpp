// Line breaking with a fake measurer: every character is 10 pixels wide unless a test says other.
#include "app/label_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fernwick {
namespace {

int tenPerCharacter(std::u16string_view run) { return static_cast<int>(run.size()) * 10; }

std::vector<std::u16string> linesOf(std::u16string_view text, int width,
                                    const MeasureText& measure = tenPerCharacter) {
    std::vector<std::u16string> out;
    for (const LabelLine& line : layoutLabelLines(text, width, measure)) {
        out.emplace_back(text.substr(line.start, line.length));
    }
    return out;
}

using Lines = std::vector<std::u16string>;

TEST(LabelLayoutTest, TextThatFitsStaysOnOneLine) {
    EXPECT_EQ(linesOf(u"Welcome to", 100), Lines{u"Welcome to"});  // exactly the width
    EXPECT_EQ(linesOf(u"", 100), Lines{u""});
}

TEST(LabelLayoutTest, BreaksAtTheSpaceBeforeTheWordThatWouldPassTheEdge) {
    EXPECT_EQ(linesOf(u"Welcome to FERNWICK!", 100), (Lines{u"Welcome to", u"FERNWICK!"}));
    EXPECT_EQ(linesOf(u"Welcome to FERNWICK!", 99), (Lines{u"Welcome", u"to", u"FERNWICK!"}));
    // The spaces at a break are not drawn, on either line.
    EXPECT_EQ(linesOf(u"ab   cd", 30), (Lines{u"ab", u"cd"}));
    EXPECT_EQ(linesOf(u"ab cd   ", 50), (Lines{u"ab cd"}));
}

TEST(LabelLayoutTest, CrLfEndsALineAndTwoInARowGiveAnEmptyLine) {
    EXPECT_EQ(linesOf(u"one\r\ntwo", 500), (Lines{u"one", u"two"}));
    EXPECT_EQ(linesOf(u"one\r\n\r\ntwo", 500), (Lines{u"one", u"", u"two"}));
    EXPECT_EQ(linesOf(u"one\r\n", 500), (Lines{u"one", u""}));
    // A lone CR or LF ends a line too, rather than being drawn.
    EXPECT_EQ(linesOf(u"a\nb\rc", 500), (Lines{u"a", u"b", u"c"}));
}

TEST(LabelLayoutTest, WonMessageFallsIntoLinesWithTheScoreAfterAnEmptyLine) {
    const std::u16string text = u"Congratulations! You have clocked Fernwick!\r\n\r\nSCORE = 1";
    EXPECT_EQ(linesOf(text, 225),
              (Lines{u"Congratulations! You", u"have clocked Fernwick!", u"", u"SCORE = 1"}));
}

TEST(LabelLayoutTest, AWordWiderThanTheLabelStandsOnALineOfItsOwn) {
    EXPECT_EQ(linesOf(u"a Congratulations b", 60), (Lines{u"a", u"Congratulations", u"b"}));
    EXPECT_EQ(linesOf(u"Congratulations", 10), (Lines{u"Congratulations"}));
    EXPECT_EQ(linesOf(u"ab cd", 0), (Lines{u"ab", u"cd"}));
}

TEST(LabelLayoutTest, LeadingSpacesOfAParagraphAreKept) {
    EXPECT_EQ(linesOf(u"  ab cd", 40), (Lines{u"  ab", u"cd"}));
}

TEST(LabelLayoutTest, TheLineIsMeasuredWholeSoKerningCounts) {
    // Tightening each "o " pair, as kerning might: only a line measured whole fits.
    auto kerned = [](std::u16string_view run) {
        int width = static_cast<int>(run.size()) * 10;
        for (std::size_t i = 0; i + 1 < run.size(); ++i) {
            if (run[i] == u'o' && run[i + 1] == u' ') width -= 5;
        }
        return width;
    };
    EXPECT_EQ(linesOf(u"to go", 45), (Lines{u"to", u"go"}));
    EXPECT_EQ(linesOf(u"to go", 45, kerned), (Lines{u"to go"}));
    EXPECT_EQ(linesOf(u"to goo", 55, kerned), (Lines{u"to goo"}));
    EXPECT_EQ(linesOf(u"to goo", 55), (Lines{u"to", u"goo"}));
}

TEST(LabelLayoutTest, OnlyLinesThatReachIntoTheLabelAreDrawn) {
    EXPECT_EQ(visibleLineCount(5, 29, 105), 4u);  // the fourth line is cut at the edge
    EXPECT_EQ(visibleLineCount(5, 35, 105), 3u);  // the fourth starts at the edge: not seen
    EXPECT_EQ(visibleLineCount(2, 29, 105), 2u);
    EXPECT_EQ(visibleLineCount(2, 0, 105), 0u);
    EXPECT_EQ(visibleLineCount(2, 29, 0), 0u);
}

}  // namespace
}  // namespace fernwick
