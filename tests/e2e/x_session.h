// A private virtual X server with a window manager, for driving the real program the way a
// person at a desktop would: real windows, real input through the X server, real screenshots.
#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>

namespace fernwick::e2e {

struct Finished {
    bool ran = false;      // started and ended by itself within the time allowed
    bool crashed = false;  // ended by a signal
    int exitCode = -1;
    QString out;
    QString err;
};

class XSession {
  public:
    // Starts Xvfb on a free display number and a window manager on it. Check ready() after.
    XSession();
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool ready() const { return ready_; }
    QString display() const { return display_; }
    QProcessEnvironment environment() const;

    // Runs a program on this display to its end.
    Finished run(const QString& program, const QStringList& arguments = {},
                 int timeoutMs = 30000) const;
    // The output of an X tool, trimmed; empty on failure.
    QString tool(const QString& program, const QStringList& arguments) const;

    // A screenshot of one window's contents (an X window id), or of the whole screen.
    QImage screenshot(const QString& window = QStringLiteral("root")) const;

  private:
    QString display_;
    std::unique_ptr<QProcess> server_;
    std::unique_ptr<QProcess> windowManager_;
    bool ready_ = false;
};

// The real fernwick executable running on a session.
class Game {
  public:
    explicit Game(const XSession& session, const QStringList& arguments = {});
    ~Game();

    // The id of the game's top-level window once it is shown, or empty after the timeout.
    QString waitForWindow(int timeoutMs = 20000);
    QString window() const { return window_; }
    qint64 pid() const { return process_.processId(); }
    bool running() const { return process_.state() != QProcess::NotRunning; }

    // Clicks at a point of the window's client area, with a real press and release.
    void clickAt(int x, int y);
    // Sends keys (xdotool names) to the focused window through the X server.
    void key(const QString& keys);
    QImage screenshot() const { return session_.screenshot(window_); }

    // Waits for the program to end by itself.
    Finished waitForExit(int timeoutMs = 15000);

  private:
    const XSession& session_;
    QProcess process_;
    QString window_;
};

// The screen's pixels of the heading's exact blue.
int headingBluePixels(const QImage& image);

// The button's centre in the window's client area.
constexpr int kButtonX = 120, kButtonY = 268;

// Everything above the button. Keyboard use brings out the button's focus frame, so the button
// itself is left out when screens are compared.
inline QImage aboveButton(const QImage& screen) { return screen.copy(QRect(0, 0, 239, 254)); }

// Clicks at a point of a window's client area with a real press and release, then moves the
// pointer off the window so no hover highlight shows in the next screenshot.
void clickAt(const XSession& session, const QString& window, int x, int y);

}  // namespace fernwick::e2e
