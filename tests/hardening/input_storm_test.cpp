// Input storm: thousands of stray key presses and clicks beside the button, sent through the X
// server to the real program, with a known number of real clicks (Space on the focused button,
// or a click on it) mixed in. Afterwards the screen is the one that number of clicks leads to,
// the program still answers, and it closes with status 0.
#include <gtest/gtest.h>

#include <QStringList>
#include <random>

#include "tests/e2e/x_session.h"
#include "tests/hardening/game_screens.h"

namespace fernwick::e2e {
namespace {

// Keys that must not click the button, nor close or move the window: letters, digits, Enter,
// Escape, Tab, arrows, editing keys and function keys. Space and every modifier are left out.
QStringList strayKeys() {
    QStringList keys;
    for (char c = 'a'; c <= 'z'; ++c) keys << QString(QChar(c));
    for (char c = '0'; c <= '9'; ++c) keys << QString(QChar(c));
    keys += {"Return", "KP_Enter", "Escape", "Tab",  "Left",      "Right",  "Up",    "Down",
             "Home",   "End",      "Prior",  "Next", "BackSpace", "Delete", "Insert"};
    for (int f = 1; f <= 12; ++f) keys << QStringLiteral("F%1").arg(f);
    return keys;
}

constexpr int kBatches = 31;
constexpr int kKeysPerBatch = 100;
constexpr int kClicksPerBatch = 10;

// One xdotool command line of stray input in random order: key presses, and clicks anywhere in
// the client area above the button's row.
QStringList strayBatch(std::mt19937& random, const QStringList& keys, const QString& window) {
    std::uniform_int_distribution<int> anyKey(0, int(keys.size()) - 1);
    std::uniform_int_distribution<int> clickX(2, 236), clickY(2, 248);
    std::uniform_int_distribution<int> oneIn(0, (kKeysPerBatch + kClicksPerBatch) - 1);
    QStringList args;
    QStringList pendingKeys;
    const auto flushKeys = [&] {
        if (pendingKeys.isEmpty()) return;
        args << "key"
             << "--delay"
             << "2" << pendingKeys;
        pendingKeys.clear();
    };
    int keysLeft = kKeysPerBatch, clicksLeft = kClicksPerBatch;
    while (keysLeft + clicksLeft > 0) {
        const bool click = clicksLeft > 0 && (keysLeft == 0 || oneIn(random) < kClicksPerBatch);
        if (click) {
            flushKeys();
            args << "mousemove"
                 << "--window" << window << QString::number(clickX(random))
                 << QString::number(clickY(random)) << "mousedown"
                 << "1"
                 << "mouseup"
                 << "1";
            --clicksLeft;
        } else {
            pendingKeys << keys[anyKey(random)];
            --keysLeft;
        }
    }
    flushKeys();
    return args;
}

TEST(InputStormTest, StrayInputChangesNothingAndEveryRealClickCounts) {
    XSession session;
    ASSERT_TRUE(session.ready()) << "no virtual X server";
    Game game(session);
    const QString window = game.waitForWindow();
    ASSERT_FALSE(window.isEmpty()) << "no FernWick window appeared";

    // The two screens to compare with, taken from this very window.
    const QImage welcome = aboveButton(steadyScreenshot(session, window));
    clickButton(session, window);
    const QImage won = aboveButton(steadyScreenshot(session, window));
    ASSERT_NE(won, welcome);
    clickButton(session, window);
    ASSERT_EQ(aboveButton(steadyScreenshot(session, window)), welcome);

    // Stray keys reach the program: the first brings out the button's focus frame.
    const QImage untouched = steadyScreenshot(session, window);
    game.key("Tab");
    const QImage afterTab = steadyScreenshot(session, window);
    ASSERT_NE(afterTab, untouched) << "a key sent through the X server never arrived";
    ASSERT_EQ(aboveButton(afterTab), welcome);

    std::mt19937 random(20240611);
    const QStringList keys = strayKeys();
    int realClicks = 0;
    for (int batch = 0; batch < kBatches; ++batch) {
        bringToFront(session, window);
        const Finished sent = session.run("xdotool", strayBatch(random, keys, window), 60000);
        ASSERT_TRUE(sent.ran && sent.exitCode == 0) << "xdotool failed: " << sent.err.toStdString();
        if (batch % 3 == 0) {
            game.key("space");
            ++realClicks;
        } else if (batch % 3 == 1) {
            clickButton(session, window);
            ++realClicks;
        }
    }
    ASSERT_TRUE(game.running()) << "the program ended during the storm";
    ASSERT_EQ(realClicks % 2, 1);

    const QImage afterStorm = steadyScreenshot(session, window);
    ASSERT_FALSE(afterStorm.isNull()) << "the window never stopped changing";
    EXPECT_EQ(aboveButton(afterStorm), won)
        << realClicks << " real clicks among the stray input should leave the won screen";

    // Still answering: one more click restarts the game.
    clickButton(session, window);
    EXPECT_EQ(aboveButton(steadyScreenshot(session, window)), welcome);

    game.key("alt+F4");
    const Finished end = game.waitForExit();
    ASSERT_TRUE(end.ran) << "still running after Alt+F4";
    EXPECT_FALSE(end.crashed);
    EXPECT_EQ(end.exitCode, 0);
}

}  // namespace
}  // namespace fernwick::e2e
