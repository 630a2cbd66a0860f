// How a label's text falls into lines: left aligned, broken at spaces where the next word would
// pass the right edge, and at every CR LF. The caller measures; this decides.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace fernwick {

// One line of a label: the characters [start, start + length) of the text. Spaces at a break
// and line-ending characters are never part of a line.
struct LabelLine {
    std::size_t start;
    std::size_t length;
    bool operator==(const LabelLine&) const = default;
};

// Width in pixels of a run of text as it would be drawn in the label's font.
using MeasureText = std::function<int(std::u16string_view)>;

// Breaks `text` into lines for a label `width` pixels wide.
// - A CR LF pair ends a line; so does a lone CR or LF. Two in a row give an empty line.
// - A line breaks at a space when the next word would pass the right edge; the spaces at the
//   break are not drawn.
// - A word wider than the label stands on a line of its own (it is cut when drawn).
// Every text gives at least one line; an empty text gives one empty line.
std::vector<LabelLine> layoutLabelLines(std::u16string_view text, int width,
                                        const MeasureText& measure);

// How many of `lineCount` lines of height `lineHeight` show, at least in part, in a label
// `height` pixels tall. Lines wholly below the bottom edge are not drawn at all.
std::size_t visibleLineCount(std::size_t lineCount, int lineHeight, int height);

}  // namespace fernwick
