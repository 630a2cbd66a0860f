// The heading's colours as a screenshot shows them: the face it is drawn on (the commonest colour
// in its rectangle) and its text (the commonest other colour there: the inside of the glyphs,
// whose edges are blends of the two), and the contrast between them.
#pragma once

#include <QHash>
#include <QImage>
#include <QRect>

#include "app/text_colour.h"

namespace fernwick {

struct HeadingColours {
    QRgb face = 0, text = 0;
    double contrast = 0;
};

// `image` is the window's client area, whose heading lies at `heading` (at 96 DPI: 8, 0, 225, 105).
inline HeadingColours headingColours(const QImage& image, const QRect& heading = {8, 0, 225, 105}) {
    QHash<QRgb, int> counts;
    for (int y = heading.top(); y <= heading.bottom(); ++y) {
        for (int x = heading.left(); x <= heading.right(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000u];
    }
    HeadingColours found;
    int faceCount = 0, textCount = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > faceCount) {
            found.text = found.face, textCount = faceCount;
            found.face = it.key(), faceCount = it.value();
        } else if (it.value() > textCount) {
            found.text = it.key(), textCount = it.value();
        }
    }
    const auto value = [](QRgb c) { return colourValue(qRed(c), qGreen(c), qBlue(c)); };
    found.contrast = contrastRatio(value(found.face), value(found.text));
    return found;
}

}  // namespace fernwick
