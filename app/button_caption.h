#pragma once

#include <functional>
#include <string_view>

namespace fernwick {

struct TextExtent {
    int width = 0;
    int height = 0;
};

// The extent of `text` in the caption's face at an em of `pixels`.
using MeasureCaption = std::function<TextExtent(std::u16string_view text, int pixels)>;

// The largest em, at most `systemPixels`, at which both captions (the welcome screen's and the won
// screen's) fit within `contentWidth` x `contentHeight`; 1 where none does.
int captionPixels(int systemPixels, int contentWidth, int contentHeight,
                  const MeasureCaption& measure);

}  // namespace fernwick
