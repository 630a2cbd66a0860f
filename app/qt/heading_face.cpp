#include "app/qt/heading_face.h"

#include <QByteArray>
#include <QFontDatabase>
#include <QString>

#include "app/units.h"

extern const unsigned char fernwick_tahoma_bold_ttf[];
extern const std::size_t fernwick_tahoma_bold_ttf_size;

namespace fernwick::qt {

void registerBundledFaces() {
    static const bool registered = [] {
        const QByteArray face =
            QByteArray::fromRawData(reinterpret_cast<const char*>(fernwick_tahoma_bold_ttf),
                                    qsizetype(fernwick_tahoma_bold_ttf_size));
        return QFontDatabase::addApplicationFontFromData(face) >= 0;
    }();
    (void)registered;
}

QFont fontFromDescription(const FontDescription& description, double points) {
    QFont font(QString::fromUtf16(description.face.data(), qsizetype(description.face.size())));
    // The size is set in pixels of the 96-DPI design grid; Qt scales those for the screen.
    font.setPixelSize(emPixels(points));
    font.setWeight(
        QFont::Weight(description.weight));  // Qt weighs fonts as 400 normal, 700 bold too
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    font.setStrikeOut(description.strikeout);
    // Where the named face is missing, prefer a plain sans face to anything decorative.
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace fernwick::qt
