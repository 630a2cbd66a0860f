// The real fernwick under desktop settings that change its look: a large system font, and
// monitors of different scale.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>

#include "tests/e2e/x_session.h"

namespace fernwick::e2e {
namespace {

void keep(const QImage& image, const QString& name) {
    QDir().mkpath("screenshots");
    image.save("screenshots/" + name + ".png");
}

// The button, and the bevel around the area its caption may use.
const QRect kButton = design::rect(u"STARTBUTTON");
constexpr int kBevel = 2;

// The columns and rows of the caption's dark ink inside the button.
QRect captionInk(const QImage& shot) {
    QRect ink;
    for (int y = kButton.top(); y <= kButton.bottom(); ++y) {
        for (int x = kButton.left(); x <= kButton.right(); ++x) {
            if (qGray(shot.pixel(x, y)) < 80) ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

// Both screens' captions, for a game in `settings`.
std::pair<QImage, QImage> bothScreens(const XSession& session,
                                      const QProcessEnvironment& settings) {
    Game game(session, {}, settings);
    if (game.waitForWindow().isEmpty()) return {};
    const QImage welcome = game.screenshot();
    game.clickButton();
    return {welcome, game.screenshot(welcome)};
}

TEST(DesktopSettingsTest, OnALargeDesktopFontBothCaptionsFitInsideTheButton) {
    XSession session;
    ASSERT_TRUE(session.ready());
    const auto [plainWelcome, plainWon] = bothScreens(session, {});
    const QRect plain = captionInk(plainWelcome);
    ASSERT_FALSE(plain.isEmpty());

    for (const QString size : {"16", "20"}) {
        // GTK's own settings file, as Qt's gtk3 platform theme reads it through GTK.
        QTemporaryDir config;
        QDir(config.path()).mkpath("gtk-3.0");
        QFile ini(config.filePath("gtk-3.0/settings.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Settings]\ngtk-font-name=Sans " + size.toLatin1() + "\n");
        ini.close();
        QProcessEnvironment settings;
        settings.insert("QT_QPA_PLATFORMTHEME", "gtk3");
        settings.insert("XDG_CONFIG_HOME", config.path());

        const auto [welcome, won] = bothScreens(session, settings);
        ASSERT_FALSE(won.isNull()) << "Sans " << size.toStdString();
        keep(welcome, "large-font-" + size + "-welcome");
        keep(won, "large-font-" + size + "-won");
        for (const QImage& shot : {welcome, won}) {
            // A caption cut by the button's edges has ink up to them: a whole one keeps a column
            // of the face clear on either side, inside the bevel.
            const QRect ink = captionInk(shot);
            ASSERT_FALSE(ink.isEmpty());
            EXPECT_GT(ink.left(), kButton.left() + kBevel) << size.toStdString();
            EXPECT_LT(ink.right(), kButton.right() - kBevel) << size.toStdString();
            EXPECT_GT(ink.top(), kButton.top() + kBevel - 1) << size.toStdString();
            EXPECT_LT(ink.bottom(), kButton.bottom() - kBevel + 1) << size.toStdString();
        }
        // The caption still follows the desktop's font: larger than on the default one.
        EXPECT_GT(captionInk(welcome).height(), plain.height()) << size.toStdString();
        EXPECT_GT(captionInk(won).width(), captionInk(plainWon).width()) << size.toStdString();
    }
}

// The window's next screenshot of `size`, taken once it has changed from `before`.
QImage screenshotOfSize(const Game& game, QImage before, QSize size) {
    for (int changes = 0; changes < 3 && before.size() != size; ++changes) {
        before = game.screenshot(before);
    }
    return before.size() == size ? before : QImage();
}

// The largest difference of any colour channel of any pixel; -1 for pictures of other sizes.
int largestDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return -1;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

TEST(DesktopSettingsTest, MovedToAMonitorOfScaleTwoTheWindowLooksAsIfStartedThere) {
    skipUnlessInstalled(missingPrograms({"xrandr"}));
    // One screen holding two monitors side by side, named as Qt's scale factors name them.
    XSession session({"--screen", "1280x720x24"});
    ASSERT_TRUE(session.ready());
    for (const QString monitor :
         {"LEFT 640/169x720/190+0+0 screen", "RIGHT 640/169x720/190+640+0 none"}) {
        ASSERT_EQ(session.run("xrandr", QStringList{"--setmonitor"} + monitor.split(' ')).exitCode,
                  0);
    }
    const auto scales = [](const QString& factors) {
        QProcessEnvironment env;
        env.insert("QT_SCREEN_SCALE_FACTORS", factors);
        return env;
    };

    Game started(session, {}, scales("LEFT=2;RIGHT=2"));
    ASSERT_FALSE(started.waitForWindow().isEmpty());
    const QImage atTwo = started.screenshot();
    ASSERT_EQ(atTwo.size(), 2 * design::clientSize());
    keep(atTwo, "started-at-scale-2");

    Game game(session, {}, scales("LEFT=1;RIGHT=2"));
    ASSERT_FALSE(game.waitForWindow().isEmpty());
    const QImage atOne = game.screenshot();
    ASSERT_EQ(atOne.size(), design::clientSize());
    session.tool("xdotool", {"windowmove", game.window(), "700", "20"});
    const QImage moved = screenshotOfSize(game, atOne, atTwo.size());
    keep(moved, "moved-to-scale-2");
    // As when started at scale 2, but for the heading's anti-aliased edges: their shades came
    // up to 8 levels of 255 apart in the moved window.
    const int difference = largestDifference(moved, atTwo);
    EXPECT_GE(difference, 0) << "the window's size at scale 2";
    EXPECT_LE(difference, 12);

    session.tool("xdotool", {"windowmove", game.window(), "20", "20"});
    EXPECT_EQ(screenshotOfSize(game, moved, atOne.size()), atOne) << "and back again";
}

}  // namespace
}  // namespace fernwick::e2e
