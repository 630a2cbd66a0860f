// Several copies: three games on one display at once, clicked a different number of times each,
// each keep their own screen and close on their own with status 0.
#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "tests/e2e/x_session.h"
#include "tests/hardening/game_screens.h"

namespace fernwick::e2e {
namespace {

TEST(SeveralCopiesTest, EachCopyKeepsItsOwnScreenAndClosesOnItsOwn) {
    XSession session;
    ASSERT_TRUE(session.ready()) << "no virtual X server";
    constexpr int kCopies = 3;
    std::array<std::unique_ptr<Game>, kCopies> games;
    std::array<QString, kCopies> windows;
    std::array<QImage, kCopies> welcome;
    for (int i = 0; i < kCopies; ++i) {
        games[i] = std::make_unique<Game>(session);
        windows[i] = games[i]->waitForWindow();
        ASSERT_FALSE(windows[i].isEmpty()) << "copy " << i + 1 << " showed no window";
    }
    ASSERT_NE(windows[0], windows[1]);
    ASSERT_NE(windows[1], windows[2]);
    ASSERT_NE(windows[0], windows[2]);
    for (int i = 0; i < kCopies; ++i) {
        bringToFront(session, windows[i]);
        welcome[i] = aboveButton(steadyScreenshot(session, windows[i]));
        ASSERT_FALSE(welcome[i].isNull());
    }

    // Copy n is clicked n times, the copies taking turns.
    const std::array<int, kCopies> clicks = {1, 2, 3};
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < kCopies; ++i) {
            if (round >= clicks[i]) continue;
            bringToFront(session, windows[i]);
            clickButton(session, windows[i]);
        }
    }

    std::array<QImage, kCopies> now;
    for (int i = 0; i < kCopies; ++i) {
        bringToFront(session, windows[i]);
        now[i] = aboveButton(steadyScreenshot(session, windows[i]));
    }
    EXPECT_NE(now[0], welcome[0]) << "copy 1, clicked once, shows the won screen";
    EXPECT_EQ(now[1], welcome[1]) << "copy 2, clicked twice, is back on the welcome screen";
    EXPECT_NE(now[2], welcome[2]) << "copy 3, clicked three times, shows the won screen";
    EXPECT_EQ(now[2], now[0]) << "the won screen is the same in every copy";
    EXPECT_EQ(welcome[0], welcome[1]);

    // Closing one copy leaves the others running.
    for (int i = 0; i < kCopies; ++i) {
        session.tool("xdotool", {"windowactivate", "--sync", windows[i], "key", "alt+F4"});
        const Finished end = games[i]->waitForExit();
        ASSERT_TRUE(end.ran) << "copy " << i + 1 << " still running after Alt+F4";
        EXPECT_FALSE(end.crashed);
        EXPECT_EQ(end.exitCode, 0) << "copy " << i + 1;
        for (int j = i + 1; j < kCopies; ++j) {
            EXPECT_TRUE(games[j]->running()) << "copy " << j + 1 << " ended with copy " << i + 1;
        }
    }
}

}  // namespace
}  // namespace fernwick::e2e
