#include "tests/e2e/x_session.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace fernwick::e2e {

namespace {

const QString kScripts = QStringLiteral(FERNWICK_SOURCE_DIR "/scripts/lib/");
constexpr int kPatienceMs = 60000;

Finished finishedFrom(QProcess& process) {
    return {.ran = true,
            .crashed = process.exitStatus() == QProcess::CrashExit,
            .exitCode = process.exitCode(),
            .out = QString::fromLocal8Bit(process.readAllStandardOutput()),
            .err = QString::fromLocal8Bit(process.readAllStandardError())};
}

}  // namespace

QStringList missingPrograms(const QStringList& programs) {
    QStringList missing;
    for (const QString& program : programs) {
        if (QStandardPaths::findExecutable(program).isEmpty()) missing << program;
    }
    return missing;
}

void skipUnlessInstalled(const QStringList& missing, const QString& hint) {
    if (missing.isEmpty()) return;
    const QString ci = qEnvironmentVariable("CI").toLower();
    const bool underCi = !QStringList{"", "0", "false", "no"}.contains(ci);
    std::printf("%s: %s (%s)\n",
                underCi ? "FAIL: not installed, and CI never skips" : "SKIP: not installed",
                qPrintable(missing.join(", ")), qPrintable(hint));
    std::fflush(stdout);
    std::exit(underCi ? 1 : FERNWICK_SKIP_STATUS);
}

QProcessEnvironment withoutDesktop() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    static const QStringList prefixes = {"QT_", "XDG_", "DBUS_", "GTK", "KDE_"};
    static const QStringList names = {"DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "DESKTOP_SESSION",
                                      "SESSION_MANAGER"};
    for (const QString& name : env.keys()) {
        const auto has = [&name](const QString& prefix) { return name.startsWith(prefix); };
        if (names.contains(name) || std::any_of(prefixes.begin(), prefixes.end(), has)) {
            env.remove(name);
        }
    }
    return env;
}

XSession::XSession(const QStringList& options) {
    skipUnlessInstalled(missingPrograms({"Xvfb", "openbox", "xprop", "xdotool", "import", "convert",
                                         "identify", "dbus-run-session"}));
    QFile::setPermissions(runtime_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The command names the display and bus, then lasts until its input closes with this object.
    session_.setProcessEnvironment(privateFolders(withoutDesktop()));
    session_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    session_.start(kScripts + "x-session",
                   options + QStringList{"--", "dbus-run-session", "--", "sh", "-c",
                                         R"(echo "$DISPLAY $DBUS_SESSION_BUS_ADDRESS"; exec cat)"});
    if (session_.waitForReadyRead(2 * kPatienceMs)) {
        const QStringList names = QString::fromLocal8Bit(session_.readLine()).split(' ');
        if (names.size() == 2 && !names[1].trimmed().isEmpty()) {
            display_ = names[0];
            bus_ = names[1].trimmed();
        }
    }
}

XSession::~XSession() {
    session_.closeWriteChannel();
    if (!session_.waitForFinished(kPatienceMs)) session_.kill();
    session_.waitForFinished();
}

QProcessEnvironment XSession::privateFolders(QProcessEnvironment env) const {
    env.insert("HOME", home_.path());
    env.insert("XDG_RUNTIME_DIR", runtime_.path());
    return env;
}

QProcessEnvironment XSession::environment() const {
    QProcessEnvironment env = privateFolders(withoutDesktop());
    env.insert("DISPLAY", display_);
    env.insert("DBUS_SESSION_BUS_ADDRESS", bus_);
    env.insert("X_SESSION_PATIENCE", QString::number(kPatienceMs / 1000));
    return env;
}

Finished XSession::run(const QString& program, const QStringList& arguments, int timeoutMs) const {
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    if (!process.waitForStarted(5000)) return {};
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    return finishedFrom(process);
}

QString XSession::tool(const QString& program, const QStringList& arguments) const {
    const Finished f = run(program, arguments, kPatienceMs);
    return f.ran && f.exitCode == 0 ? f.out.trimmed() : QString();
}

std::optional<QString> XSession::xWindow(const QStringList& arguments) const {
    const Finished f = run(kScripts + "x-window", arguments, 3 * kPatienceMs);
    std::fputs(qPrintable(f.err), stderr);
    if (!f.ran || f.exitCode != 0) return std::nullopt;
    return f.out.trimmed();
}

QString XSession::findWindow(qint64 pid) const {
    return xWindow({"find", pid ? QString::number(pid) : "any", "FernWick"}).value_or(QString());
}

QImage XSession::screenshot(const QString& window, const QImage& unlike) const {
    QTemporaryDir dir;
    const QString shot = dir.filePath("shot.png"), before = dir.filePath("unlike.png");
    QStringList arguments = {"shot"};
    const QSize part = aboveButtonRect().size();
    if (!unlike.isNull() && unlike.save(before)) {
        arguments += {"--unlike", before, "--part",
                      QStringLiteral("%1x%2+0+0").arg(part.width()).arg(part.height())};
    }
    if (!xWindow(arguments << window << shot)) return {};
    return QImage(shot).convertToFormat(QImage::Format_RGB32);
}

void XSession::bringToFront(const QString& window) const {
    tool("xdotool", {"windowactivate", "--sync", window, "windowraise", window});
}

void XSession::clickButton(const QString& window) const {
    tool("xdotool", {"mousemove", "--window", window, QString::number(buttonCentre().x()),
                     QString::number(buttonCentre().y()), "click", "1", "mousemove", "0", "479"});
}

void XSession::key(const QString& window, const QString& keys) const {
    tool("xdotool", QStringList{"windowactivate", "--sync", window, "key"} + keys.split(' '));
}

Game::Game(const XSession& session, const QStringList& arguments,
           const QProcessEnvironment& settings)
    : session_(session) {
    QProcessEnvironment env = session.environment();
    for (const QString& name : settings.keys()) env.insert(name, settings.value(name));
    process_.setProcessEnvironment(env);
    process_.start(QStringLiteral(FERNWICK_EXECUTABLE), arguments);
    process_.waitForStarted(5000);
}

Game::~Game() {
    if (running()) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

Finished Game::waitForExit(int timeoutMs) {
    if (!process_.waitForFinished(timeoutMs) && running()) return {};
    return finishedFrom(process_);
}

testing::AssertionResult Game::closesWithStatusZero() {
    key("alt+F4");
    const Finished end = waitForExit();
    if (!end.ran) return testing::AssertionFailure() << "still running after Alt+F4";
    if (end.crashed || end.exitCode != 0) {
        return testing::AssertionFailure() << "ended by a crash or with status " << end.exitCode;
    }
    return testing::AssertionSuccess();
}

int headingBluePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == qRgb(0, 0, 192);
    }
    return count;
}

}  // namespace fernwick::e2e
