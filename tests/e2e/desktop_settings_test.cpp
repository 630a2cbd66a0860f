// The real fernwick on monitors of different scale (a large font is the widget test's).
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>

#include "tests/e2e/x_session.h"

namespace fernwick::e2e {
namespace {

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
    // As when started at scale 2, but for anti-aliased edges (up to 8 levels apart).
    const int difference = largestDifference(moved, atTwo);
    EXPECT_GE(difference, 0) << "the window's size at scale 2";
    EXPECT_LE(difference, 12);

    session.tool("xdotool", {"windowmove", game.window(), "20", "20"});
    EXPECT_EQ(screenshotOfSize(game, moved, atOne.size()), atOne) << "and back again";
}

}  // namespace
}  // namespace fernwick::e2e
