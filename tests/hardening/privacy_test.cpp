// Privacy: played under strace as on a desktop, the program writes no file and opens no internet
// socket; its own empty home, runtime and temporary folders stay empty.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <optional>

#include "tests/e2e/x_session.h"

namespace fernwick::e2e {
namespace {

// One system call from strace's log, its unfinished and resumed halves put together.
struct Call {
    QString name, arguments, result;
    QString line;  // as strace wrote it
};

std::vector<Call> readTrace(const QString& file) {
    QFile log(file);
    std::vector<Call> calls;
    if (!log.open(QIODevice::ReadOnly)) return calls;
    static const QRegularExpression start(R"(^(\d+)\s+(\w+)\((.*)$)");
    static const QRegularExpression resumed(R"(^(\d+)\s+<\.\.\. (\w+) resumed>(.*)$)");
    std::map<QString, Call> unfinished;  // by process id
    const auto finish = [&calls](Call call, const QString& rest) {
        const qsizetype equals = rest.lastIndexOf(QLatin1String(") = "));
        call.arguments += equals < 0 ? rest : rest.left(equals);
        call.result = equals < 0 ? QString() : rest.mid(equals + 4);
        calls.push_back(call);
    };
    while (!log.atEnd()) {
        const QString line = QString::fromUtf8(log.readLine()).trimmed();
        if (const auto m = resumed.match(line); m.hasMatch()) {
            const auto it = unfinished.find(m.captured(1));
            if (it == unfinished.end()) continue;
            Call call = it->second;
            unfinished.erase(it);
            call.line += QLatin1String(" ... ") + line;
            finish(call, m.captured(3));
        } else if (const auto s = start.match(line); s.hasMatch()) {
            Call call{s.captured(2), {}, {}, line};
            QString rest = s.captured(3);
            if (rest.endsWith(QLatin1String("<unfinished ...>"))) {
                call.arguments = rest.chopped(16);
                unfinished[s.captured(1)] = call;
            } else {
                finish(call, rest);
            }
        }
    }
    return calls;
}

QString firstQuoted(const QString& text) {
    const qsizetype open = text.indexOf('"');
    const qsizetype close = open < 0 ? -1 : text.indexOf('"', open + 1);
    return close < 0 ? QString() : text.mid(open + 1, close - open - 1);
}

// Why a call writes to the file system or reaches the network (EEXIST changed nothing), if it does.
std::optional<QString> offence(const Call& call) {
    if (call.result.contains(QLatin1String("EEXIST"))) return std::nullopt;
    static const QStringList changesFiles = {
        "creat",     "mkdir",    "mkdirat",   "unlink",      "unlinkat",    "rmdir",
        "rename",    "renameat", "renameat2", "link",        "linkat",      "symlink",
        "symlinkat", "truncate", "chmod",     "fchmodat",    "chown",       "lchown",
        "fchownat",  "utime",    "utimes",    "utimensat",   "futimesat",   "mknod",
        "mknodat",   "setxattr", "lsetxattr", "removexattr", "lremovexattr"};
    if (changesFiles.contains(call.name)) return QStringLiteral("changes the file system");
    if (call.name == "open" || call.name == "openat" || call.name == "openat2") {
        static const QRegularExpression writing(R"(O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND)");
        const QString path = firstQuoted(call.arguments);
        const bool device = (path.startsWith("/dev/") && !path.startsWith("/dev/shm/")) ||
                            path.startsWith("/proc/");
        if (writing.match(call.arguments).hasMatch() && !device) {
            return QStringLiteral("opens a file for writing");
        }
        return std::nullopt;
    }
    static const QRegularExpression internet(R"(\bAF_INET6?\b)");
    if ((call.name == "socket" || call.name == "connect" || call.name == "bind" ||
         call.name == "sendto" || call.name == "sendmsg") &&
        internet.match(call.arguments).hasMatch()) {
        return QStringLiteral("uses an internet socket");
    }
    return std::nullopt;
}

// Every call innocent, but for making the folder `allowed`.
void expectNoOffence(const std::vector<Call>& calls, const QString& allowed = {}) {
    for (const Call& call : calls) {
        const std::optional<QString> why = offence(call);
        if (why && !allowed.isEmpty() && call.name == "mkdir" &&
            firstQuoted(call.arguments) == allowed) {
            continue;
        }
        ASSERT_FALSE(why) << "the program " << why->toStdString() << ": "
                          << call.line.toStdString();
    }
}

bool isEmptyFolder(const QString& path) {
    return QDir(path)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
        .isEmpty();
}

class PrivacyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        skipUnlessInstalled(missingPrograms({"strace"}));
        ASSERT_TRUE(session.ready()) << "no virtual X server";
        ASSERT_TRUE(home.isValid() && runtime.isValid() && temp.isValid() && logs.isValid());
        QFile::setPermissions(runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The calls of one traced game: shown, clicked once, closed with Alt+F4, status 0.
    std::vector<Call> playTraced(QProcessEnvironment env) {
        const QString log = logs.filePath("trace.log");
        QProcess strace;
        strace.setProcessEnvironment(env);
        strace.start("strace", {"-f", "-e", "trace=%file,%network", "-o", log,
                                QStringLiteral(FERNWICK_EXECUTABLE)});
        EXPECT_TRUE(strace.waitForStarted(5000));

        // Found by title (any process): no other program runs on this private display.
        const QString window = session.findWindow(0);
        EXPECT_FALSE(window.isEmpty()) << "no FernWick window appeared under strace";
        if (window.isEmpty()) {
            strace.kill();
            strace.waitForFinished(3000);
            return {};
        }
        const QImage before = session.screenshot(window);
        session.clickButton(window);
        EXPECT_FALSE(session.screenshot(window, before).isNull())
            << "the click did not toggle the screen";
        // Alt+F4 again while it runs: a key before the window manager activates the window is lost.
        bool ended = false;
        for (int tries = 0; tries < 6 && !ended; ++tries) {
            session.key(window, "alt+F4");
            ended = strace.waitForFinished(10000);
        }
        EXPECT_TRUE(ended) << "still running after Alt+F4";
        EXPECT_EQ(strace.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(strace.exitCode(), 0) << "strace passes on the program's exit status";

        std::vector<Call> calls = readTrace(log);
        const auto connected = std::find_if(calls.begin(), calls.end(), [](const Call& c) {
            return c.name == "connect" && c.arguments.contains("/tmp/.X11-unix/X");
        });
        EXPECT_NE(connected, calls.end()) << "the trace has no connection to the X server";
        // As on a desktop, it spoke to the session bus, so had no cause to start one.
        static const QRegularExpression socket(R"((?:path|abstract)=([^,]+))");
        const QString bus = socket.match(session.busAddress()).captured(1);
        EXPECT_TRUE(!bus.isEmpty() && std::any_of(calls.begin(), calls.end(),
                                                  [&bus](const Call& c) {
                                                      return c.name == "connect" &&
                                                             c.arguments.contains(bus);
                                                  }))
            << "the program did not connect to the session bus "
            << session.busAddress().toStdString();
        return calls;
    }

    QProcessEnvironment privateEnvironment() const {
        QProcessEnvironment env = session.environment();
        env.insert("HOME", home.path());
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("TMPDIR", temp.path());
        return env;
    }

    XSession session;
    QTemporaryDir home, runtime, temp, logs;
};

TEST_F(PrivacyTest, PlayingWritesNoFileAndOpensNoInternetSocket) {
    const std::vector<Call> calls = playTraced(privateEnvironment());
    ASSERT_FALSE(calls.empty());
    expectNoOffence(calls);
    EXPECT_TRUE(isEmptyFolder(home.path())) << "something was left in the home folder";
    EXPECT_TRUE(isEmptyFolder(runtime.path())) << "something was left in the runtime folder";
    EXPECT_TRUE(isEmptyFolder(temp.path())) << "something was left in the temporary folder";
}

// Without XDG_RUNTIME_DIR (a bare X session with no login manager), Qt falls back to a folder
// runtime-<user> in the temporary folder and makes it, empty, when it is missing. That is all.
TEST_F(PrivacyTest, WithoutARuntimeFolderOnlyQtsFallbackFolderIsMade) {
    QProcessEnvironment env = privateEnvironment();
    env.remove("XDG_RUNTIME_DIR");
    const std::vector<Call> calls = playTraced(env);
    ASSERT_FALSE(calls.empty());
    const passwd* user = getpwuid(geteuid());
    ASSERT_NE(user, nullptr);
    const QString fallback =
        QDir(temp.path()).filePath("runtime-" + QString::fromLocal8Bit(user->pw_name));
    expectNoOffence(calls, fallback);
    EXPECT_TRUE(isEmptyFolder(home.path())) << "something was left in the home folder";
    const QStringList left =
        QDir(temp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_TRUE(left.isEmpty() || (left.size() == 1 && isEmptyFolder(fallback)))
        << left.join(", ").toStdString();
}

}  // namespace
}  // namespace fernwick::e2e
