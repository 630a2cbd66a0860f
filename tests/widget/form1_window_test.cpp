// The real window on Qt's offscreen platform, driven by synthetic mouse and key events.
#include "app/qt/form1_window.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/exit_status.h"
#include "app/qt/label_widget.h"
#include "app/qt/picture_frame.h"
#include "tests/design.h"
#include "tests/hardening/paint_counter.h"
#include "tests/heading_colours.h"

namespace fernwick::qt {
namespace {

const design::Screen kWelcome = design::welcomeScreen(), kWon = design::wonScreen();
const QRect kHeadingRect = design::rect(Named::HEADING);
const QRect kPictureRect = design::rect(Named::Picture1);

// The heading's exact colour, and anything bluish enough to be its anti-aliased edge.
bool isHeadingBlue(QRgb p) { return qRed(p) == 0 && qGreen(p) == 0 && qBlue(p) == 192; }
bool isBluish(QRgb p) { return qBlue(p) > qRed(p) + 40 && qBlue(p) > qGreen(p) + 40; }

class Form1WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<Form1Window>();
        window->setEndProgram([this](int status) { endStatus = status; });
        window->showFirstWelcomeScreen();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        heading = window->findChild<LabelWidget*>("HEADING");
        status = window->findChild<LabelWidget*>("status");
        button = window->findChild<QPushButton*>("STARTBUTTON");
        picture = window->findChild<PictureFrameWidget*>("Picture1");
        ASSERT_TRUE(heading && status && button && picture);
    }

    void click() { QTest::mouseClick(button, Qt::LeftButton); }
    QImage screen() { return window->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // The screen `expected` shows; `state`, where given, for the hidden state it leaves.
    void expectScreen(const design::Screen& expected, const QString& state = {}) {
        EXPECT_EQ(heading->text(), expected.heading);
        EXPECT_EQ(heading->labelFont().pixelSize(), expected.headingPixels);
        EXPECT_EQ(button->text(), expected.caption);
        EXPECT_EQ(status->text(), state.isNull() ? expected.state : state);
    }
    void expectWonScreen() { expectScreen(kWon); }
    void expectWelcomeScreen(const char* state) { expectScreen(kWelcome, state); }

    std::unique_ptr<Form1Window> window;
    LabelWidget* heading = nullptr;
    LabelWidget* status = nullptr;
    QPushButton* button = nullptr;
    PictureFrameWidget* picture = nullptr;
    int endStatus = -1;
};

TEST_F(Form1WindowTest, StartsOnTheFirstWelcomeScreen) {
    EXPECT_EQ(window->windowTitle(), "FernWick");
    EXPECT_EQ(window->size(), design::clientSize());
    expectWelcomeScreen("clocked");
    EXPECT_EQ(heading->geometry(), kHeadingRect);
    EXPECT_EQ(button->geometry(), design::rect(Named::STARTBUTTON));
    EXPECT_EQ(picture->geometry(), kPictureRect);
    EXPECT_EQ(status->geometry(), design::rect(Named::status));

    const QFont& font = heading->labelFont();
    EXPECT_TRUE(font.bold());
    EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut());
    const QString face = QFontInfo(font).family();
    EXPECT_TRUE(face == "Tahoma" || face == "DejaVu Sans Condensed") << face.toStdString();
    EXPECT_TRUE(QFontInfo(font).bold());

    EXPECT_EQ(QApplication::focusWidget(), button);
    EXPECT_FALSE(status->isVisible());
    EXPECT_EQ(status->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(heading->focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(button->isDefault() || button->autoDefault());
}

TEST_F(Form1WindowTest, HeadingLinesFitTheLabelAndTheScoreLineIsCutOff) {
    // The heading's lines, each checked to fit its width.
    auto lineTexts = [this] {
        const QFontMetrics metrics(heading->labelFont());
        QStringList out;
        for (const LabelLine& l : heading->control()->lines()) {
            out << heading->text().mid(qsizetype(l.start), qsizetype(l.length));
            EXPECT_LE(metrics.horizontalAdvance(out.back()), kHeadingRect.width())
                << out.back().toStdString();
        }
        return out;
    };
    EXPECT_EQ(lineTexts(), (QStringList{"Welcome to", "FERNWICK!"}));

    click();
    const QFontMetrics won(heading->labelFont());
    const QStringList lines = lineTexts();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines.back(), "SCORE = 1");
    EXPECT_EQ(lines[lines.size() - 2], "");
    const int lineHeight = won.ascent() + won.descent();
    EXPECT_EQ(heading->control()->lineHeight(), lineHeight);
    EXPECT_GT(int(lines.size()) * lineHeight, kHeadingRect.height())
        << "the score line reaches past the bottom edge";
}

// The alternation itself is the core's (start_button_toggle_test.cpp).
TEST_F(Form1WindowTest, AClickShowsTheWonScreenAndTheNextTheFirstOneAgain) {
    const QImage first = screen();
    click();
    expectWonScreen();
    EXPECT_NE(screen(), first);
    click();
    expectWelcomeScreen("False");
    EXPECT_EQ(screen(), first);
    EXPECT_EQ(QApplication::focusWidget(), button) << "the button keeps the focus";
    EXPECT_EQ(endStatus, -1);
}

TEST_F(Form1WindowTest, SpaceClicksOnReleaseAndHoldingItGivesNoMoreClicks) {
    QTest::keyPress(button, Qt::Key_Space);
    expectWelcomeScreen("clocked");
    for (int i = 0; i < 5; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
        QApplication::sendEvent(button, &repeat);
    }
    expectWelcomeScreen("clocked");
    QTest::keyRelease(button, Qt::Key_Space);
    expectWonScreen();
    QTest::keyClick(button, Qt::Key_Space);
    expectWelcomeScreen("False");
}

TEST_F(Form1WindowTest, OtherKeysAndAReleaseOutsideTheButtonDoNothing) {
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_A, Qt::Key_F1}) {
        QTest::keyClick(button, key);
        QTest::keyClick(window.get(), key);
    }
    expectWelcomeScreen("clocked");

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseMove(button, QPoint(20, -40));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, -40));
    expectWelcomeScreen("clocked");
    EXPECT_EQ(QApplication::focusWidget(), button) << "pressing the button gives it focus";
}

TEST_F(Form1WindowTest, ADoubleClickIsTwoClicks) {
    for (int i = 0; i < 2; ++i) {
        // What a window system delivers for a double click: press, release, double-click, release.
        QTest::mousePress(button, Qt::LeftButton);
        QTest::mouseRelease(button, Qt::LeftButton);
        QTest::mouseDClick(button, Qt::LeftButton);
        QTest::mouseRelease(button, Qt::LeftButton);
        expectWelcomeScreen("False");
    }
    click();
    expectWonScreen();
}

TEST_F(Form1WindowTest, TabAndShiftTabLeaveFocusOnTheButton) {
    QTest::keyClick(button, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), button);
    QTest::keyClick(button, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), button);
    expectWelcomeScreen("clocked");
}

TEST_F(Form1WindowTest, HeadingBlueStaysInsideTheHeadingAndAboveThePicture) {
    for (const bool won : {false, true}) {
        SCOPED_TRACE(won ? "won" : "welcome");
        if (won) click();
        const QImage image = screen();
        int inside = 0, stray = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                const QPoint at(x, y);
                if (button->geometry().adjusted(-2, -2, 2, 2).contains(at)) continue;  // focus
                if (kHeadingRect.contains(at) && !kPictureRect.contains(at)) {
                    inside += isHeadingBlue(p);
                } else {
                    stray += isBluish(p);
                }
            }
        }
        EXPECT_GT(inside, 200);
        EXPECT_EQ(stray, 0) << "heading colour outside the heading or under the picture";
    }
}

TEST_F(Form1WindowTest, ADarkPaletteWhileRunningRepaintsAReadableHeadingAndKeepsTheGame) {
    click();
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Button, QColor(50, 50, 50));
    dark.setColor(QPalette::ButtonText, QColor(240, 240, 240));
    PaintCounter paints;
    heading->installEventFilter(&paints);
    QApplication::setPalette(dark);
    const bool repainted = QTest::qWaitFor([&] { return paints.paints > 0; });
    const QImage shown = window->screen()->grabWindow(window->winId()).toImage();
    QApplication::setPalette(light);

    EXPECT_TRUE(repainted);
    const HeadingColours colours =
        headingColours([&](int x, int y) { return shown.pixel(x, y); }, kHeadingRect.x(),
                       kHeadingRect.y(), kHeadingRect.width(), kHeadingRect.height());
    EXPECT_EQ(colours.face, colourValue(50, 50, 50));
    EXPECT_GE(colours.contrast, kReadableContrast) << std::hex << colours.text;
    expectWonScreen();
}

TEST_F(Form1WindowTest, ResizingAndMaximizingMoveNoControl) {
    const QRect headingAt = heading->geometry(), buttonAt = button->geometry();
    const QRect pictureAt = picture->geometry();
    const QColor face = window->palette().color(QPalette::Button);
    window->resize(500, 450);
    QImage image = screen();
    EXPECT_EQ(QColor(image.pixel(400, 400)), face);
    EXPECT_EQ(QColor(image.pixel(design::clientSize().width() - 1, 10)), face);
    window->showMaximized();
    QApplication::processEvents();
    window->resize(120, 100);  // smaller than the design: controls are cut, not moved
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(heading->geometry(), headingAt);
        EXPECT_EQ(button->geometry(), buttonAt);
        EXPECT_EQ(picture->geometry(), pictureAt);
        window->showNormal();
    }
}

TEST_F(Form1WindowTest, TheCaptionFollowsTheSystemFontAsFarAsBothCaptionsFitTheButton) {
    const QFont system = QApplication::font();
    const auto fits = [this](const QString& caption) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect inner =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QFontMetrics metrics(button->font(), button);
        return metrics.horizontalAdvance(caption) <= inner.width() &&
               metrics.height() <= inner.height();
    };
    const auto useFont = [&system](int pixels) {
        QFont font = system;
        if (pixels) font.setPixelSize(pixels);
        QApplication::setFont(font);
        QApplication::sendPostedEvents();  // the change reaches the widgets as posted events
        return font;
    };
    for (int pixels : {20, 27, 40}) {
        const QFont large = useFont(pixels);
        const int shown = QFontInfo(button->font()).pixelSize();
        EXPECT_LE(shown, pixels);
        EXPECT_GE(shown, 14) << "as large as fits, not the old size";
        EXPECT_TRUE(fits(kWelcome.caption) && fits(kWon.caption)) << pixels;
        EXPECT_EQ(button->font().family(), large.family());
    }
    useFont(11);
    EXPECT_EQ(QFontInfo(button->font()).pixelSize(), 11) << "a size that fits is the system's";
    useFont(0);
}

TEST_F(Form1WindowTest, ScreenReadersReadTheCurrentHeadingAndCaption) {
    QAccessibleInterface* headingAccess = QAccessible::queryAccessibleInterface(heading);
    QAccessibleInterface* buttonAccess = QAccessible::queryAccessibleInterface(button);
    ASSERT_TRUE(headingAccess && buttonAccess);
    EXPECT_EQ(headingAccess->role(), QAccessible::Heading);
    EXPECT_EQ(headingAccess->text(QAccessible::Name), kWelcome.heading);
    EXPECT_EQ(buttonAccess->text(QAccessible::Name), kWelcome.caption);
    // The button is described by the heading, so that a reader at the button says it.
    EXPECT_EQ(buttonAccess->text(QAccessible::Description), kWelcome.heading);
    click();
    // Line breaks read as line breaks, not as CR LF characters; in the description, as words.
    EXPECT_EQ(headingAccess->text(QAccessible::Name), QString(kWon.heading).replace("\r\n", "\n"));
    EXPECT_EQ(buttonAccess->text(QAccessible::Name), kWon.caption);
    EXPECT_EQ(buttonAccess->text(QAccessible::Description),
              QString(kWon.heading).replace("\r\n\r\n", " "));
}

// A vanished control: the click stops, a modal message gives the code, the program then ends.
TEST_F(Form1WindowTest, AFailedOperationIsReportedWithItsCodeAndEndsTheProgram) {
    delete window->findChild<QPushButton*>("STARTBUTTON");
    button = nullptr;
    // Answers the box once it shows; with no box the click returns and the checks below fail.
    QString shown;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                shown = box->text();
                answer.stop();
                box->accept();
            }
        }
    });
    answer.start(10);
    window->form().STARTBUTTON_Click();
    EXPECT_TRUE(shown.contains("1400")) << shown.toStdString();
    EXPECT_EQ(endStatus, exit_status::kControlFailed);
    // The heading's text and size were set before the caption failed; the state was not.
    EXPECT_EQ(heading->text(), kWon.heading);
    EXPECT_EQ(heading->labelFont().pixelSize(), kWon.headingPixels);
    EXPECT_EQ(status->text(), "clocked");
}

}  // namespace
}  // namespace fernwick::qt
