// How a label's text falls into lines (at spaces where the next word would pass the right edge,
// and at line ends), and how large a button's caption may be. The caller measures; this decides.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace fernwick {

// One line of a label: text[start, start + length), never the spaces at a break or a line end.
struct LabelLine {
    std::size_t start;
    std::size_t length;
    bool operator==(const LabelLine&) const = default;
};

// Width in pixels of a run of text as it would be drawn in the label's font.
using MeasureText = std::function<int(std::u16string_view)>;

// The lines of `text` in a label `width` pixels wide: CR LF, CR and LF each end a line; a word
// wider than the label stands alone. An empty text gives one empty line.
std::vector<LabelLine> layoutLabelLines(std::u16string_view text, int width,
                                        const MeasureText& measure);

// How many of `lineCount` lines of height `lineHeight` show, at least in part, in a label
// `height` pixels tall. Lines wholly below the bottom edge are not drawn at all.
std::size_t visibleLineCount(std::size_t lineCount, int lineHeight, int height);

struct TextExtent {
    int width = 0;
    int height = 0;
};
// The extent of `text` in a push button's caption face at an em of `pixels`.
using MeasureCaption = std::function<TextExtent(std::u16string_view text, int pixels)>;

// The largest em, at most `systemPixels`, at which every one of a button's `captions` fits within
// `contentWidth` x `contentHeight`; 1 where none does.
int captionPixels(std::span<const std::u16string_view> captions, int systemPixels, int contentWidth,
                  int contentHeight, const MeasureCaption& measure);

}  // namespace fernwick
