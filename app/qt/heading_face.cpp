#include "app/qt/heading_face.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <algorithm>

#include "app/qt/text.h"
#include "app/units.h"

extern const unsigned char fernwick_heading_face_ttf[];
extern const std::size_t fernwick_heading_face_ttf_size;

namespace fernwick::qt {

namespace {

// The family the stand-in face goes by, as a system font and as the bundled copy alike.
const QString kStandInFamily = QStringLiteral("DejaVu Sans Condensed");

// Whether the font database knows the family in an upright bold style. Loads the database.
bool hasUprightBold(const QString& family) {
    const QStringList styles = QFontDatabase::styles(family);
    return std::any_of(styles.begin(), styles.end(), [&family](const QString& style) {
        const QFont font = QFontDatabase::font(family, style, 12);
        return font.weight() >= QFont::Bold && font.style() == QFont::StyleNormal;
    });
}

// Registers the bundled face from memory and returns its condensed family name, or nothing.
QString registerBundledCopy() {
    const QByteArray face =
        QByteArray::fromRawData(reinterpret_cast<const char*>(fernwick_heading_face_ttf),
                                qsizetype(fernwick_heading_face_ttf_size));
    const int id = QFontDatabase::addApplicationFontFromData(face);
    if (id < 0) return QString();
    // The face registers under its plain and its condensed family name; the condensed one is the
    // one with Tahoma's widths.
    return QFontDatabase::applicationFontFamilies(id).filter(QStringLiteral("Condensed")).value(0);
}

// The stand-in's family name once it is available: the system's face, else the bundled copy.
QString standInFamily() {
    static const QString family =
        hasUprightBold(kStandInFamily) ? kStandInFamily : registerBundledCopy();
    return family;
}

// Makes `family` stand in for the faces the table names; nothing stands in when it is empty.
void substitute(const ControlTable& table, const QString& family) {
    for (const ControlRecord& control : table.controls) {
        if (!control.font) continue;
        const QString face = toQString(control.font->face);
        if (family.isEmpty()) {
            QFont::removeSubstitutions(face);
        } else if (!QFont::substitutes(face).contains(family)) {
            QFont::insertSubstitution(face, family);
        }
    }
}

// Settles the stand-in at the first paint of any widget, before anything is drawn with it. Until
// then nothing has needed the font database, so fontconfig is first loaded where a bare window
// loads it too.
class FirstPaintWatcher final : public QObject {
  public:
    FirstPaintWatcher(QObject* application, const ControlTable& table)
        : QObject(application), table_(table) {
        application->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            parent()->removeEventFilter(this);
            substitute(table_, standInFamily());
            deleteLater();
        }
        return false;
    }

  private:
    const ControlTable& table_;
};

}  // namespace

void registerBundledFaces(const ControlTable& table) {
    static bool watching = false;
    static QPointer<FirstPaintWatcher> watcher;
    if (!watching) {
        watching = true;
        // The substitution costs nothing to set; the family it names exists by the first paint.
        substitute(table, kStandInFamily);
        watcher = new FirstPaintWatcher(QCoreApplication::instance(), table);
    } else if (!watcher) {
        substitute(table, standInFamily());  // settled already
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
