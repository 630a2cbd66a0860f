// The real fernwick on a virtual X server, driven with xdotool and read back from screenshots.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "app/control_table.h"
#include "tests/e2e/x_session.h"
#include "tests/heading_colours.h"

namespace fernwick::e2e {
namespace {

class EndToEndTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { session = std::make_unique<XSession>(); }
    static void TearDownTestSuite() { session.reset(); }
    void SetUp() override { ASSERT_TRUE(session->ready()) << "no virtual X server"; }

    static inline std::unique_ptr<XSession> session;
};

TEST_F(EndToEndTest, ClickAndSpaceToggleTheScreensAndClosingEndsWithStatusZero) {
    Game game(*session);
    ASSERT_FALSE(game.waitForWindow().isEmpty()) << "no FernWick window appeared";

    const QImage welcome = game.screenshot();
    ASSERT_EQ(welcome.size(), design::clientSize()) << "the client area";
    keep(welcome, "welcome");
    EXPECT_GT(headingBluePixels(welcome), 1000) << "the blue heading";

    game.clickButton();
    const QImage won = game.screenshot(welcome);
    keep(won, "won");
    EXPECT_GT(headingBluePixels(won), 500);
    // The dog, pixel for pixel and through clicks, is the widget tests' (picture_and_icon_test).

    game.key("space");
    EXPECT_EQ(game.screenshot(won), welcome) << "Space on the focused button restarts the game";

    EXPECT_TRUE(game.closesWithStatusZero());
}

TEST_F(EndToEndTest, OnADarkGtkThemeTheHeadingReadsAndOnTheDefaultItIsTheExactBlue) {
    const auto heading = [](const QImage& shot) {
        const QRect h = design::rect(Named::HEADING);
        return headingColours([&](int x, int y) { return shot.pixel(x, y); }, h.x(), h.y(),
                              h.width(), h.height());
    };
    Game light(*session);
    ASSERT_FALSE(light.waitForWindow().isEmpty());
    const HeadingColours lightColours = heading(light.screenshot());
    EXPECT_EQ(lightColours.text, ColourValue{0x00C00000});

    // Qt's gtk3 platform theme with dark Adwaita, as a GNOME user with a dark style has it.
    QProcessEnvironment dark;
    dark.insert("QT_QPA_PLATFORMTHEME", "gtk3");
    dark.insert("GTK_THEME", "Adwaita:dark");
    Game game(*session, {}, dark);
    ASSERT_FALSE(game.waitForWindow().isEmpty());
    const QImage shot = game.screenshot();
    keep(shot, "welcome-adwaita-dark");
    const HeadingColours colours = heading(shot);
    ASSERT_LT(contrastRatio(colours.face, 0x00C00000), kReadableContrast)
        << "the theme did not take: face " << std::hex << colours.face;
    std::printf("heading contrast: default %.2f:1, Adwaita:dark %.2f:1 (text %d,%d,%d)\n",
                lightColours.contrast, colours.contrast, red(colours.text), green(colours.text),
                blue(colours.text));
    EXPECT_GE(colours.contrast, kReadableContrast);
}

// Both icon sizes are the widget test's (PictureTest.WindowIconHoldsTheSmallAndTheLargeImage).
TEST_F(EndToEndTest, WindowSystemSeesTheTitleAndClass) {
    Game game(*session);
    ASSERT_FALSE(game.waitForWindow().isEmpty());
    EXPECT_EQ(session->tool("xdotool", {"getwindowname", game.window()}), "FernWick");
    EXPECT_TRUE(
        session->tool("xprop", {"-id", game.window(), "WM_CLASS"}).contains("\"fernwick\""));
}

TEST_F(EndToEndTest, ArgumentsAreIgnored) {
    // Were these read, Qt would draw off-screen and no window would appear.
    Game game(*session, {"-platform", "offscreen", "--help", "-display", ":9999"});
    EXPECT_FALSE(game.waitForWindow().isEmpty());
}

TEST_F(EndToEndTest, WithoutADisplayItSaysSoInOneLineAndExitsNonZero) {
    QProcess process;
    QProcessEnvironment env = session->environment();
    env.insert("DISPLAY", ":4999");  // nothing listens there
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(FERNWICK_EXECUTABLE), {});
    ASSERT_TRUE(process.waitForFinished(15000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "no crash, no core dump";
    EXPECT_NE(process.exitCode(), 0);
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());
    EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
    EXPECT_TRUE(err.contains("display")) << err.toStdString();
}

}  // namespace
}  // namespace fernwick::e2e
