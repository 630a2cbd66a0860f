// A label drawn by the window: button-face fill, no border, left-aligned text from the top-left
// corner in the lines its LabelControl lays out, cut at the edges. It never resizes to its text
// and takes no keyboard focus.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <QWidget>
#include <optional>

#include "app/control_table.h"
#include "app/label_control.h"

namespace fernwick::qt {

class LabelWidget : public QWidget, public LabelSurface {
    Q_OBJECT
  public:
    explicit LabelWidget(QWidget* parent);

    QString text() const;
    const QFont& labelFont() const;

    bool exists() const override { return true; }
    Result<> useFont(const LabelFont& font) override;
    int textWidth(std::u16string_view run) const override;
    LineMetrics lineMetrics() const override;
    void invalidate() override { update(); }
    void textChanged() override;

  private:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    const QFontMetrics& metrics() const;

    // The font is made when the label is first measured or drawn, not when it is asked for:
    // making the heading's font reads the system's font list, which the window does best once it
    // is on its way to the screen (see Form1Window::showFirstWelcomeScreen).
    LabelFont asked_;
    mutable std::optional<QFont> font_;
    // Of the font on this widget's screen; layout measures every word.
    mutable std::optional<QFontMetrics> metrics_;
};

// DejaVu Sans Condensed Bold, whose widths follow Tahoma Bold's, stands in for the faces the table
// names wherever the machine lacks them; a machine with a Tahoma of its own keeps using it. The
// system's copy of the face is used where fontconfig has one, and the bundled copy is registered
// only where it has none. That is settled when fontFromDescription first needs it, which loads the
// font database; nothing before that touches fontconfig.
//
// The font a description names, at `points`, asking for the stand-in by name where the named face
// is missing, so that Qt need not search for it. Its em height is a whole number of pixels, the
// size rounded as the platform rounds it, so 27.75 pt and 28 pt draw alike.
QFont fontFromDescription(const FontDescription& description, double points);

}  // namespace fernwick::qt
