#include <gtest/gtest.h>

#include "app/label_layout.h"

namespace fernwick {
namespace {

// A face whose glyphs are 3/5 of the em wide, not quite in proportion to it, and 6/5 of it tall.
TextExtent measure(std::u16string_view text, int em) {
    return {static_cast<int>(text.size()) * (em * 3 / 5) + 1, em * 6 / 5};
}

constexpr std::u16string_view kCaptions[] = {u"BEGIN FERNWICK!", u"Click to restart game!"};

bool fits(int em, int width, int height) {
    for (std::u16string_view caption : kCaptions) {
        const TextExtent size = measure(caption, em);
        if (size.width > width || size.height > height) return false;
    }
    return true;
}

TEST(ButtonCaptionTest, TheSystemsSizeStaysUnlessACaptionWouldNotFitThenTheLargestThatFits) {
    EXPECT_EQ(captionPixels(kCaptions, 11, 217, 17, measure), 11);
    for (auto [width, height] : {std::pair{217, 17}, {217, 100}, {434, 34}}) {
        const int em = captionPixels(kCaptions, 40, width, height, measure);
        EXPECT_TRUE(fits(em, width, height)) << em;
        EXPECT_FALSE(fits(em + 1, width, height)) << em;
    }
    EXPECT_EQ(captionPixels(kCaptions, 40, 0, 0, measure), 1);
}

}  // namespace
}  // namespace fernwick
