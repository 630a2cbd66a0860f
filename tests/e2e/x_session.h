// A private virtual X server with a window manager (scripts/lib/x-session) and a session bus, for
// driving the real program the way a person at a desktop would: real windows, real input through
// the X server, real screenshots.
#pragma once

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

#include "tests/design.h"

namespace fernwick::e2e {

struct Finished {
    bool ran = false;      // started and ended by itself within the time allowed
    bool crashed = false;  // ended by a signal
    int exitCode = -1;
    QString out;
    QString err;
};

// The programs of `programs` that are not on PATH.
QStringList missingPrograms(const QStringList& programs);

// Ends the test when something it needs is not installed (`missing` names it; nothing happens
// when it is empty), with one line saying what and how to install it: outside CI as skipped, with
// the status CTest reads as a skip (FERNWICK_SKIP_STATUS, tests/CMakeLists.txt), and under CI
// (CI=true), which never skips, as failed.
void skipUnlessInstalled(const QStringList& missing, const QString& hint = QStringLiteral(
                                                         "scripts/install-deps test installs it"));

// The test's own environment without anything of the desktop it may have been started from: its
// display, session bus, folders and Qt settings would otherwise reach the programs under test.
QProcessEnvironment withoutDesktop();

// The button's centre in the window's client area.
inline QPoint buttonCentre() { return design::rect(u"STARTBUTTON").center(); }

// Everything above the button. Keyboard use brings out the button's focus frame, 2 pixels around
// it, so the button itself is left out when screens are compared.
inline QRect aboveButtonRect() {
    return {0, 0, design::clientSize().width(), design::rect(u"STARTBUTTON").top() - 2};
}
inline QImage aboveButton(const QImage& screen) { return screen.copy(aboveButtonRect()); }

class XSession {
  public:
    // Starts the session, which says on stderr what did not start. Check ready() after. Skips the
    // test (fails it under CI) where the server, the window manager or the X tools are missing.
    // `options` go to scripts/lib/x-session (--screen 1280x720x24, say).
    explicit XSession(const QStringList& options = {});
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool ready() const { return !display_.isEmpty(); }
    // What programs on this display run with: nothing of the desktop the test was started from,
    // but the display, a session bus, and a home and runtime folder of the session's own.
    QProcessEnvironment environment() const;
    // The session bus's address, as DBUS_SESSION_BUS_ADDRESS gives it.
    QString busAddress() const { return bus_; }

    // Runs a program on this display to its end.
    Finished run(const QString& program, const QStringList& arguments = {},
                 int timeoutMs = 30000) const;
    // The output of an X tool, trimmed; empty on failure.
    QString tool(const QString& program, const QStringList& arguments) const;

    // The id of the mapped FernWick window of process `pid` (of any process when 0), once there
    // is one; empty when none appears or the process ends first.
    QString findWindow(qint64 pid) const;
    // A window's contents once drawn and no longer changing, and, when `unlike` is given, once
    // what lies above the button differs from it. Null when that does not come about.
    QImage screenshot(const QString& window, const QImage& unlike = {}) const;

    // Brings a window to the front, so input and screenshots reach it and not one lying over it.
    void bringToFront(const QString& window) const;
    // Clicks a window's button with a real press and release, then moves the pointer off the
    // window so no hover highlight shows in the next screenshot.
    void clickButton(const QString& window) const;
    // Activates a window and sends it keys (xdotool names, separated by spaces) through the X
    // server.
    void key(const QString& window, const QString& keys) const;

  private:
    // What scripts/lib/x-window writes, trimmed, when it succeeds; what it says is passed on.
    std::optional<QString> xWindow(const QStringList& arguments) const;
    QProcessEnvironment privateFolders(QProcessEnvironment env) const;

    QTemporaryDir home_, runtime_;
    QProcess session_;
    QString display_, bus_;
};

// The real fernwick executable running on a session.
class Game {
  public:
    // `settings` are set in the game's environment over the session's (a desktop theme, say).
    explicit Game(const XSession& session, const QStringList& arguments = {},
                  const QProcessEnvironment& settings = {});
    ~Game();

    // The id of the game's top-level window once it is shown, or empty.
    QString waitForWindow() { return window_ = session_.findWindow(pid()); }
    QString window() const { return window_; }
    qint64 pid() const { return process_.processId(); }
    bool running() const { return process_.state() != QProcess::NotRunning; }

    void clickButton() const { session_.clickButton(window_); }
    void key(const QString& keys) const { session_.key(window_, keys); }
    QImage screenshot(const QImage& unlike = {}) const {
        return session_.screenshot(window_, unlike);
    }

    // Waits for the program to end by itself.
    Finished waitForExit(int timeoutMs = 15000);

  private:
    const XSession& session_;
    QProcess process_;
    QString window_;
};

// Saves a screenshot in screenshots/ beside the test binary, for a person to look at.
inline void keep(const QImage& image, const QString& name) {
    QDir().mkpath("screenshots");
    image.save("screenshots/" + name + ".png");
}

// The screen's pixels of the heading's exact blue.
int headingBluePixels(const QImage& image);

}  // namespace fernwick::e2e
