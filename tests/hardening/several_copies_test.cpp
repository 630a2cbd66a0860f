// Three games on one display, clicked differently, keep their own screens and close on their own.
#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "tests/e2e/x_session.h"

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
        session.bringToFront(windows[i]);
        welcome[i] = games[i]->screenshot();
        ASSERT_FALSE(welcome[i].isNull());
    }
    EXPECT_EQ(aboveButton(welcome[0]), aboveButton(welcome[1]));

    // Copy n is clicked n times, the copies taking turns; each click changes its own window.
    std::array<QImage, kCopies> now = welcome;
    for (int round = 0; round < kCopies; ++round) {
        for (int i = round; i < kCopies; ++i) {
            session.bringToFront(windows[i]);
            games[i]->clickButton();
            now[i] = games[i]->screenshot(now[i]);
            ASSERT_FALSE(now[i].isNull()) << "copy " << i + 1 << " did not answer its click";
        }
    }
    // Nor did any click change another copy.
    for (int i = 0; i < kCopies; ++i) {
        session.bringToFront(windows[i]);
        EXPECT_EQ(aboveButton(games[i]->screenshot()), aboveButton(now[i])) << "copy " << i + 1;
    }
    EXPECT_EQ(aboveButton(now[1]), aboveButton(welcome[1])) << "copy 2, clicked twice, welcomes";
    EXPECT_EQ(aboveButton(now[2]), aboveButton(now[0])) << "copies 1 and 3 show the won screen";

    for (int i = 0; i < kCopies; ++i) {
        ASSERT_TRUE(games[i]->closesWithStatusZero()) << "copy " << i + 1;
        for (int j = i + 1; j < kCopies; ++j) {
            EXPECT_TRUE(games[j]->running()) << "copy " << j + 1 << " ended with copy " << i + 1;
        }
    }
}

}  // namespace
}  // namespace fernwick::e2e
