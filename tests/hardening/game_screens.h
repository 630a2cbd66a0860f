// What the hardening tests on a virtual X server share: bringing a window to the front, clicking
// its button, and waiting for it to stop changing.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QRect>
#include <QString>
#include <QThread>

#include "tests/e2e/x_session.h"

namespace fernwick::e2e {

// Brings a window to the front, so clicks and screenshots reach it and not one lying over it.
inline void bringToFront(const XSession& session, const QString& window) {
    session.tool("xdotool", {"windowactivate", "--sync", window});
    session.tool("xdotool", {"windowraise", window});
}

// Clicks the button of a window, then moves the pointer off it.
inline void clickButton(const XSession& session, const QString& window) {
    clickAt(session, window, kButtonX, kButtonY);
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
