#include "tests/e2e/x_session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <functional>

namespace fernwick::e2e {

namespace {

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) return false;
        QThread::msleep(25);
    }
    return true;
}

QString freeDisplayNumber() {
    for (int n = 140; n < 400; ++n) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) &&
            !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n))) {
            return QString::number(n);
        }
    }
    return {};
}

// How a process that has ended ended, with all it wrote.
Finished finishedFrom(QProcess& process) {
    Finished result;
    result.ran = true;
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

}  // namespace

XSession::XSession() {
    const QString number = freeDisplayNumber();
    if (number.isEmpty()) return;
    display_ = ":" + number;
    server_ = std::make_unique<QProcess>();
    server_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server_->setStandardOutputFile(QProcess::nullDevice());
    server_->start(QStringLiteral("Xvfb"), {display_, QStringLiteral("-screen"),
                                            QStringLiteral("0"), QStringLiteral("640x480x24"),
                                            QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!server_->waitForStarted(5000)) return;
    const QString socket = "/tmp/.X11-unix/X" + number;
    if (!waitUntil([&] { return QFile::exists(socket); }, 10000)) return;

    windowManager_ = std::make_unique<QProcess>();
    windowManager_->setProcessEnvironment(environment());
    windowManager_->setStandardOutputFile(QProcess::nullDevice());
    windowManager_->setStandardErrorFile(QProcess::nullDevice());
    windowManager_->start(QStringLiteral("openbox"), {});
    if (!windowManager_->waitForStarted(5000)) return;
    // Windows mapped before the window manager is ready can stay unmapped.
    ready_ = waitUntil(
        [&] {
            return tool("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
        },
        10000);
}

XSession::~XSession() {
    for (QProcess* p : {windowManager_.get(), server_.get()}) {
        if (p && p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(3000)) p->kill();
            p->waitForFinished(1000);
        }
    }
}

QProcessEnvironment XSession::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_);
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    env.remove("QT_SCALE_FACTOR");
    return env;
}

Finished XSession::run(const QString& program, const QStringList& arguments, int timeoutMs) const {
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    Finished result;
    if (!process.waitForStarted(5000)) return result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return result;
    }
    return finishedFrom(process);
}

QString XSession::tool(const QString& program, const QStringList& arguments) const {
    const Finished f = run(program, arguments, 15000);
    return f.ran && f.exitCode == 0 ? f.out.trimmed() : QString();
}

QImage XSession::screenshot(const QString& window) const {
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(QStringLiteral("import"), {"-window", window, "png:-"});
    if (!process.waitForFinished(15000) || process.exitCode() != 0) return {};
    return QImage::fromData(process.readAllStandardOutput(), "PNG")
        .convertToFormat(QImage::Format_RGB32);
}

Game::Game(const XSession& session, const QStringList& arguments) : session_(session) {
    process_.setProcessEnvironment(session.environment());
    process_.start(QStringLiteral(FERNWICK_EXECUTABLE), arguments);
    process_.waitForStarted(5000);
}

Game::~Game() {
    if (running()) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

QString Game::waitForWindow(int timeoutMs) {
    const QString pidText = QString::number(pid());
    waitUntil(
        [&] {
            // The game's own top-level window, known by its process id, once it is mapped.
            const QStringList ids =
                session_
                    .tool("xdotool", {"search", "--all", "--pid", pidText, "--name", "^FernWick$"})
                    .split('\n', Qt::SkipEmptyParts);
            for (const QString& id : ids) {
                if (session_.tool("xwininfo", {"-id", id}).contains("IsViewable")) {
                    window_ = id;
                    return true;
                }
            }
            return !running();
        },
        timeoutMs);
    if (!window_.isEmpty()) QThread::msleep(300);  // let the first paint land
    return window_;
}

void Game::clickAt(int x, int y) { e2e::clickAt(session_, window_, x, y); }

void Game::key(const QString& keys) {
    session_.tool("xdotool", {"windowactivate", "--sync", window_, "key", keys});
    QThread::msleep(200);
}

Finished Game::waitForExit(int timeoutMs) {
    if (!process_.waitForFinished(timeoutMs) && running()) return {};
    return finishedFrom(process_);
}

void clickAt(const XSession& session, const QString& window, int x, int y) {
    session.tool("xdotool", {"mousemove", "--window", window, QString::number(x),
                             QString::number(y), "click", "1"});
    session.tool("xdotool", {"mousemove", "0", "479"});
    QThread::msleep(200);
}

int headingBluePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == qRgb(0, 0, 192);
    }
    return count;
}

}  // namespace fernwick::e2e
