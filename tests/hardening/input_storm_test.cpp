// Input storm: thousands of stray keys and clicks through the X server, with real clicks mixed in;
// after each, the screen the clicks so far lead to; at the end, status 0.
#include <gtest/gtest.h>

#include <QStringList>
#include <random>

#include "tests/e2e/x_session.h"

namespace fernwick::e2e {
namespace {

// Keys that must not click, close or move anything (no Space, no modifiers).
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

// One xdotool command line of stray keys and clicks above the button's row, in random order.
QStringList strayBatch(std::mt19937& random, const QStringList& keys, const QString& window) {
    std::uniform_int_distribution<int> anyKey(0, int(keys.size()) - 1);
    const QRect area = aboveButtonRect().adjusted(2, 2, -2, -5);  // clear of the focus frame
    std::uniform_int_distribution<int> clickX(area.left(), area.right());
    std::uniform_int_distribution<int> clickY(area.top(), area.bottom());
    std::uniform_int_distribution<int> oneIn(0, (kKeysPerBatch + kClicksPerBatch) - 1);
    QStringList args;
    QStringList pendingKeys;
    const auto flushKeys = [&] {
        if (pendingKeys.isEmpty()) return;
        args += QStringList{"key", "--delay", "2"} + pendingKeys;
        pendingKeys.clear();
    };
    int keysLeft = kKeysPerBatch, clicksLeft = kClicksPerBatch;
    while (keysLeft + clicksLeft > 0) {
        const bool click = clicksLeft > 0 && (keysLeft == 0 || oneIn(random) < kClicksPerBatch);
        if (click) {
            flushKeys();
            const QString x = QString::number(clickX(random)), y = QString::number(clickY(random));
            args += QStringList{"mousemove", "--window", window,    x,  y,
                                "mousedown", "1",        "mouseup", "1"};
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

    const QImage welcome = game.screenshot();
    game.clickButton();
    const QImage won = game.screenshot(welcome);
    ASSERT_FALSE(won.isNull()) << "the first click changed nothing";

    // Once a real click has changed the screen, all input before it has been handled.
    std::mt19937 random(20240611);
    const QStringList keys = strayKeys();
    int realClicks = 1;
    QImage screen = won;
    for (int batch = 0; batch < kBatches; ++batch) {
        session.bringToFront(window);
        const Finished sent = session.run("xdotool", strayBatch(random, keys, window), 60000);
        ASSERT_TRUE(sent.ran && sent.exitCode == 0) << "xdotool failed: " << sent.err.toStdString();
        if (batch % 3 == 2) continue;
        batch % 3 ? game.clickButton() : game.key("space");
        ++realClicks;
        screen = game.screenshot(screen);
        ASSERT_FALSE(screen.isNull()) << "real click " << realClicks << " changed nothing";
        ASSERT_EQ(aboveButton(screen), aboveButton(realClicks % 2 ? won : welcome))
            << realClicks << " real clicks among the stray input";
    }
    ASSERT_TRUE(game.running()) << "the program ended during the storm";

    EXPECT_TRUE(game.closesWithStatusZero());
}

}  // namespace
}  // namespace fernwick::e2e
