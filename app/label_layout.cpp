#include "app/label_layout.h"

namespace fernwick {
namespace {

bool isLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }

// Lays out one paragraph: text[begin, end), which holds no line ends.
void layoutParagraph(std::u16string_view text, std::size_t begin, std::size_t end, int width,
                     const MeasureText& measure, std::vector<LabelLine>& lines) {
    std::size_t lineStart = begin;
    while (true) {
        // The line holds at least its first word, however wide.
        std::size_t lineEnd = text.find(u' ', lineStart);
        // Leading spaces of a paragraph belong to its first word.
        while (lineEnd < end && lineEnd == lineStart) {
            const std::size_t next = text.find_first_not_of(u' ', lineEnd);
            lineEnd = next >= end ? end : text.find(u' ', next);
        }
        if (lineEnd > end) lineEnd = end;

        // Add whole words while the line, measured whole, still fits.
        while (lineEnd < end) {
            const std::size_t wordStart = text.find_first_not_of(u' ', lineEnd);
            if (wordStart >= end) break;  // only spaces remain
            std::size_t wordEnd = text.find(u' ', wordStart);
            if (wordEnd > end) wordEnd = end;
            if (measure(text.substr(lineStart, wordEnd - lineStart)) > width) break;
            lineEnd = wordEnd;
        }
        lines.push_back({lineStart, lineEnd - lineStart});

        const std::size_t nextStart = text.find_first_not_of(u' ', lineEnd);
        if (nextStart >= end) return;  // trailing spaces are not drawn
        lineStart = nextStart;
    }
}

}  // namespace

std::vector<LabelLine> layoutLabelLines(std::u16string_view text, int width,
                                        const MeasureText& measure) {
    std::vector<LabelLine> lines;
    std::size_t begin = 0;
    while (true) {
        std::size_t end = begin;
        while (end < text.size() && !isLineEnd(text[end])) ++end;
        if (end == begin) {
            lines.push_back({begin, 0});
        } else {
            layoutParagraph(text, begin, end, width, measure, lines);
        }
        if (end == text.size()) return lines;
        // CR LF is one line end; a lone CR or LF is one too.
        begin =
            end + ((text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ? 2 : 1);
    }
}

std::size_t visibleLineCount(std::size_t lineCount, int lineHeight, int height) {
    if (lineHeight <= 0 || height <= 0) return 0;
    const std::size_t reach = (static_cast<std::size_t>(height) + lineHeight - 1) / lineHeight;
    return lineCount < reach ? lineCount : reach;
}

}  // namespace fernwick
