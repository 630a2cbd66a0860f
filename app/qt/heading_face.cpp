#include <QByteArray>
#include <QFontDatabase>
#include <QString>
#include <QStringList>
#include <algorithm>

#include "app/qt/convert.h"
#include "app/qt/label_widget.h"
#include "app/units.h"
#include "fernwick_heading_face_ttf.h"

namespace fernwick::qt {

namespace {

// The family the stand-in face goes by, as a system font and as the bundled copy alike.
const QString kStandInFamily = QStringLiteral("DejaVu Sans Condensed");

// The stand-in's family name: the system's face where it has an upright bold style, else the
// bundled copy, registered from memory; nothing if neither.
const QString& standInFamily() {
    static const QString family = []() -> QString {
        const QStringList styles = QFontDatabase::styles(kStandInFamily);
        const bool bold = std::any_of(styles.begin(), styles.end(), [](const QString& style) {
            const QFont font = QFontDatabase::font(kStandInFamily, style, 12);
            return font.weight() >= QFont::Bold && font.style() == QFont::StyleNormal;
        });
        if (bold) return kStandInFamily;
        const QByteArray face =
            QByteArray::fromRawData(reinterpret_cast<const char*>(fernwick_heading_face_ttf),
                                    qsizetype(fernwick_heading_face_ttf_size));
        const int id = QFontDatabase::addApplicationFontFromData(face);
        // The face registers under its plain and its condensed family name; the condensed one is
        // the one with Tahoma's widths. (A face that did not register has no family.)
        return QFontDatabase::applicationFontFamilies(id).filter(u"Condensed").value(0);
    }();
    return family;
}

}  // namespace

QFont fontFromDescription(const FontDescription& description, double points) {
    // Listing a family's styles is the cheap way to ask whether it is there: hasFamily first runs
    // fontconfig's substitution rules on the name.
    const QString face = toQString(description.face);
    const bool present = !QFontDatabase::styles(face).isEmpty();
    QFont font(present || standInFamily().isEmpty() ? face : standInFamily());
    // The size is set in pixels of the 96-DPI design grid; Qt scales those for the screen.
    font.setPixelSize(emPixels(points));
    font.setWeight(QFont::Weight(description.weight));  // Qt too weighs 400 normal, 700 bold
    // Where the named face is missing, prefer a plain sans face to anything decorative.
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace fernwick::qt
