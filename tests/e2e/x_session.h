// A private X server with a window manager and session bus, to drive the real program on.
#pragma once

#include <gtest/gtest.h>

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
    QString out, err;
};

QStringList missingPrograms(const QStringList& programs);

// Unless `missing` is empty, ends the test saying what to install: skipped, or failed under CI.
void skipUnlessInstalled(const QStringList& missing, const QString& hint = QStringLiteral(
                                                         "scripts/install-deps test installs it"));

// The test's environment without the display, bus, folders and Qt settings of any desktop.
QProcessEnvironment withoutDesktop();

inline QPoint buttonCentre() { return design::rect(Named::STARTBUTTON).center(); }

// Everything above the button and its focus frame, which keyboard use brings out.
inline QRect aboveButtonRect() {
    return {0, 0, design::clientSize().width(), design::rect(Named::STARTBUTTON).top() - 2};
}
inline QImage aboveButton(const QImage& screen) { return screen.copy(aboveButtonRect()); }

class XSession {
  public:
    // Starts the session (check ready() after); skips without its tools. Options: x-session's.
    explicit XSession(const QStringList& options = {});
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool ready() const { return !display_.isEmpty(); }
    // The display, the session bus and the session's own home and runtime folder, and no more.
    QProcessEnvironment environment() const;
    QString busAddress() const { return bus_; }

    Finished run(const QString& program, const QStringList& arguments = {},
                 int timeoutMs = 30000) const;
    // The output of an X tool, trimmed; empty on failure.
    QString tool(const QString& program, const QStringList& arguments) const;

    // The mapped FernWick window of process `pid` (any when 0) once there is one, or empty.
    QString findWindow(qint64 pid) const;
    // A window's contents once settled and, given `unlike`, changed above the button; or null.
    QImage screenshot(const QString& window, const QImage& unlike = {}) const;

    void bringToFront(const QString& window) const;
    // A real press and release; the pointer then leaves, so no hover highlight shows.
    void clickButton(const QString& window) const;
    // Activates a window and sends it keys (xdotool names) through the X server.
    void key(const QString& window, const QString& keys) const;

  private:
    std::optional<QString> xWindow(const QStringList& arguments) const;
    QProcessEnvironment privateFolders(QProcessEnvironment env) const;

    QTemporaryDir home_, runtime_;
    QProcess session_;
    QString display_, bus_;
};

// The real fernwick executable running on a session.
class Game {
  public:
    // `settings` go over the session's environment.
    explicit Game(const XSession& session, const QStringList& arguments = {},
                  const QProcessEnvironment& settings = {});
    ~Game();

    QString waitForWindow() { return window_ = session_.findWindow(pid()); }
    QString window() const { return window_; }
    qint64 pid() const { return process_.processId(); }
    bool running() const { return process_.state() != QProcess::NotRunning; }

    void clickButton() const { session_.clickButton(window_); }
    void key(const QString& keys) const { session_.key(window_, keys); }
    QImage screenshot(const QImage& unlike = {}) const {
        return session_.screenshot(window_, unlike);
    }

    Finished waitForExit(int timeoutMs = 15000);
    testing::AssertionResult closesWithStatusZero();

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
