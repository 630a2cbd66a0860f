#include "app/qt/heading_face.h"

#include <QByteArray>
#include <QFontDatabase>
#include <QString>
#include <QStringList>

#include "app/qt/text.h"
#include "app/units.h"

extern const unsigned char fernwick_heading_face_ttf[];
extern const std::size_t fernwick_heading_face_ttf_size;

namespace fernwick::qt {

void registerBundledFaces(const ControlTable& table) {
    static const QString registered = [] {
        const QByteArray face =
            QByteArray::fromRawData(reinterpret_cast<const char*>(fernwick_heading_face_ttf),
                                    qsizetype(fernwick_heading_face_ttf_size));
        const int id = QFontDatabase::addApplicationFontFromData(face);
        if (id < 0) return QString();
        // The face registers under its plain and its condensed family name; the condensed one
        // is the one with Tahoma's widths. A real Tahoma, where there is one, still comes first.
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        const QString condensed = families.filter(QStringLiteral("Condensed")).value(0);
        return condensed;
    }();
    if (registered.isEmpty()) return;
    for (const ControlRecord& control : table.controls) {
        if (control.font) QFont::insertSubstitution(toQString(control.font->face), registered);
    }
}

QFont fontFromDescription(const FontDescription& description, double points) {
    QFont font(toQString(description.face));
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
