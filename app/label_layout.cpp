#include "app/label_layout.h"

#include <algorithm>

namespace fernwick {

std::vector<LabelLine> layoutLabelLines(std::u16string_view text, int width,
                                        const MeasureText& measure) {
    std::vector<LabelLine> lines;
    for (std::size_t begin = 0;;) {
        // The paragraph text[begin, end) holds no line ends.
        const std::size_t end = std::min(text.find_first_of(u"\r\n", begin), text.size());
        // The end of the first word at or after `from`, spaces before it included.
        const auto wordEnd = [&](std::size_t from) {
            return std::min(text.find(u' ', text.find_first_not_of(u' ', from)), end);
        };
        if (begin == end) lines.push_back({begin, 0});
        for (std::size_t start = begin; start < end;) {
            // The line holds at least its first word, however wide; then whole words while the
            // line, measured whole, still fits.
            std::size_t stop = wordEnd(start);
            while (text.find_first_not_of(u' ', stop) < end &&
                   measure(text.substr(start, wordEnd(stop) - start)) <= width)
                stop = wordEnd(stop);
            lines.push_back({start, stop - start});
            start = text.find_first_not_of(u' ', stop);  // spaces at a break are not drawn
        }
        if (end == text.size()) return lines;
        // CR LF is one line end; a lone CR or LF is one too.
        begin = end + (text.substr(end, 2) == u"\r\n" ? 2 : 1);
    }
}

std::size_t visibleLineCount(std::size_t lineCount, int lineHeight, int height) {
    if (lineHeight <= 0 || height <= 0) return 0;
    return std::min(lineCount, (static_cast<std::size_t>(height) + lineHeight - 1) / lineHeight);
}

int captionPixels(std::span<const std::u16string_view> captions, int systemPixels, int contentWidth,
                  int contentHeight, const MeasureCaption& measure) {
    int pixels = systemPixels;
    const auto fits = [&](std::u16string_view caption) {
        const TextExtent e = measure(caption, pixels);
        return e.width <= contentWidth && e.height <= contentHeight;
    };
    while (pixels > 1 && !std::all_of(captions.begin(), captions.end(), fits)) --pixels;
    return std::max(pixels, 1);
}

}  // namespace fernwick
