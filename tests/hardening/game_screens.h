// What the hardening tests on a virtual X server share: where the button is, the part of the
// window that shows which screen is up, and waiting for a window to stop changing.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QThread>

#include "tests/e2e/x_session.h"

namespace fernwick::e2e {

// The button's centre in the window's client area.
constexpr int kButtonX = 120, kButtonY = 268;

// Everything above the button. Keyboard use brings out the button's focus frame, so the button
// itself is left out when screens are compared.
inline QImage aboveButton(const QImage& screen) { return screen.copy(QRect(0, 0, 239, 254)); }

// The viewable top-level window of one process, or empty after the timeout. Unlike
// Game::waitForWindow this requires both the process id and the title, so it tells several
// copies on one display apart.
inline QString windowOfProcess(const XSession& session, qint64 pid, int timeoutMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        const QStringList ids = session
                                    .tool("xdotool", {"search", "--all", "--pid",
                                                      QString::number(pid), "--name", "^FernWick$"})
                                    .split('\n', Qt::SkipEmptyParts);
        for (const QString& id : ids) {
            if (session.tool("xwininfo", {"-id", id}).contains("IsViewable")) return id;
        }
        QThread::msleep(50);
    }
    return {};
}

// Brings a window to the front, so clicks and screenshots reach it and not one lying over it.
inline void bringToFront(const XSession& session, const QString& window) {
    session.tool("xdotool", {"windowactivate", "--sync", window});
    session.tool("xdotool", {"windowraise", window});
}

// Clicks the button of a window with a real press and release, then moves the pointer off it.
inline void clickButton(const XSession& session, const QString& window) {
    session.tool("xdotool", {"mousemove", "--window", window, QString::number(kButtonX),
                             QString::number(kButtonY), "click", "1"});
    session.tool("xdotool", {"mousemove", "0", "479"});
    QThread::msleep(150);
}

// The window's screenshot once two taken half a second apart agree: whatever input was queued
// has been handled. Null when it never settles.
inline QImage steadyScreenshot(const XSession& session, const QString& window,
                               int timeoutMs = 30000) {
    QElapsedTimer timer;
    timer.start();
    QImage last = session.screenshot(window);
    while (timer.elapsed() < timeoutMs) {
        QThread::msleep(500);
        const QImage now = session.screenshot(window);
        if (!now.isNull() && now == last) return now;
        last = now;
    }
    return {};
}

}  // namespace fernwick::e2e
