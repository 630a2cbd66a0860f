// The real fernwick as a native Wayland client on a headless weston, read from its screenshots.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLibraryInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <optional>

#include "tests/e2e/x_session.h"

namespace fernwick {
namespace {

const QString kSocket = QStringLiteral("fernwick-test");

const QRect kHeading = design::rect(Named::HEADING);
const QRect kButton = design::rect(Named::STARTBUTTON);
const QPoint kDogInClient = design::rect(Named::Picture1).topLeft() + QPoint(2, 2);
const QSize kClientSize = design::clientSize();

// What the game and this test need on weston that is missing.
QStringList missingPackages() {
    QStringList missing;
    if (!e2e::missingPrograms({"weston", "weston-screenshooter"}).isEmpty()) missing << "weston";
    const QString plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath);
    if (!QFile::exists(plugins + "/platforms/libqwayland-generic.so")) missing << "qt6-wayland";
    return missing;
}

// Where the client area lies on the screen, found from the dog inside its 2-pixel frame.
std::optional<QPoint> findClientArea(const QImage& screen, const QImage& dog, QPoint dogInClient) {
    QPoint first(-1, -1);
    for (int y = 0; y < dog.height() && first.x() < 0; ++y) {
        for (int x = 0; x < dog.width() && first.x() < 0; ++x) {
            if (qAlpha(dog.pixel(x, y))) first = QPoint(x, y);
        }
    }
    const QRgb firstColour = dog.pixel(first);
    for (int sy = first.y(); sy + dog.height() - first.y() <= screen.height(); ++sy) {
        for (int sx = first.x(); sx + dog.width() - first.x() <= screen.width(); ++sx) {
            if (screen.pixel(sx, sy) != firstColour) continue;
            const QPoint corner(sx - first.x(), sy - first.y());
            bool all = true;
            for (int y = 0; y < dog.height() && all; ++y) {
                for (int x = 0; x < dog.width() && all; ++x) {
                    const QRgb p = dog.pixel(x, y);
                    all = !qAlpha(p) || screen.pixel(corner.x() + x, corner.y() + y) == p;
                }
            }
            if (all) return corner - dogInClient;
        }
    }
    return std::nullopt;
}

int countPixels(const QImage& image, const QRect& rect, bool (*wanted)(QRgb)) {
    int count = 0;
    const QRect inside = rect.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) count += wanted(image.pixel(x, y));
    }
    return count;
}

bool isDark(QRgb p) { return qRed(p) < 96 && qGreen(p) < 96 && qBlue(p) < 96; }

QProcessEnvironment waylandOnly(const QString& runtimeDir) {
    QProcessEnvironment env = e2e::withoutDesktop();
    env.remove("WAYLAND_SOCKET");
    env.insert("XDG_RUNTIME_DIR", runtimeDir);
    env.insert("WAYLAND_DISPLAY", kSocket);
    return env;
}

QImage screenshot(const QProcessEnvironment& env, const QString& folder) {
    QDir dir(folder);
    QProcess shooter;
    shooter.setProcessEnvironment(env);
    shooter.setWorkingDirectory(folder);  // it writes wayland-screenshot-<time>.png there
    shooter.start("weston-screenshooter", {});
    if (!shooter.waitForFinished(30000) || shooter.exitCode() != 0) return {};
    QImage image;
    for (const QString& name : dir.entryList({"*.png"}, QDir::Files, QDir::Time)) {
        if (image.isNull()) image.load(dir.filePath(name));
        dir.remove(name);
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

TEST(Wayland, TheGameDrawsItsHeadingDogAndButtonOnAHeadlessWeston) {
    e2e::skipUnlessInstalled(missingPackages());

    QTemporaryDir runtime, shots;  // private to this user, as a Wayland runtime folder must be
    ASSERT_TRUE(runtime.isValid() && shots.isValid());
    const QProcessEnvironment env = waylandOnly(runtime.path());

    QProcess weston;
    weston.setProcessEnvironment(env);
    weston.setStandardOutputFile(runtime.filePath("weston.log"));
    weston.setStandardErrorFile(runtime.filePath("weston.log"), QIODevice::Append);
    weston.start("weston", {"--backend=headless-backend.so", "--use-pixman", "--debug",
                            "--socket=" + kSocket, "--width=640", "--height=480", "--idle-time=0"});
    ASSERT_TRUE(weston.waitForStarted());
    auto westonLog = [&runtime] {
        QFile log(runtime.filePath("weston.log"));
        return log.open(QIODevice::ReadOnly) ? log.readAll().toStdString() : std::string();
    };
    // Weston listens on its socket once its shell is loaded.
    QDeadlineTimer deadline(30000);
    while (!QFile::exists(runtime.filePath(kSocket))) {
        ASSERT_EQ(weston.state(), QProcess::Running) << "weston ended:\n" << westonLog();
        ASSERT_FALSE(deadline.hasExpired()) << "weston opened no socket:\n" << westonLog();
        QThread::msleep(20);
    }

    QProcessEnvironment gameEnv = env;
    gameEnv.insert("QT_QPA_PLATFORM", "wayland");
    QProcess game;
    game.setProcessEnvironment(gameEnv);
    game.setProcessChannelMode(QProcess::ForwardedChannels);
    game.start(FERNWICK_EXECUTABLE, {});
    ASSERT_TRUE(game.waitForStarted());

    const QImage dog = QImage(FERNWICK_SOURCE_DIR "/assets/picture/dog.gif")
                           .convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(dog.isNull());

    QImage screen;
    std::optional<QPoint> client;
    deadline.setRemainingTime(60000);
    while (!client) {
        ASSERT_EQ(game.state(), QProcess::Running) << "fernwick ended: " << game.exitCode();
        if (deadline.hasExpired()) {
            screen.save("wayland-failed.png");
            FAIL() << "the dog never showed on weston; the last screen is in wayland-failed.png";
        }
        QThread::msleep(100);
        screen = screenshot(env, shots.path());
        if (!screen.isNull()) client = findClientArea(screen, dog, kDogInClient);
    }
    EXPECT_GT(e2e::headingBluePixels(screen.copy(kHeading.translated(*client))), 1000)
        << "the blue heading";
    EXPECT_GT(countPixels(screen, kButton.translated(*client), isDark), 40)
        << "the button's caption";

    // The window with its decorations and a little of the desktop, for a person to look at.
    const QRect window(client->x() - 24, client->y() - 56, kClientSize.width() + 48,
                       kClientSize.height() + 80);
    EXPECT_TRUE(screen.copy(window.intersected(screen.rect())).save("wayland.png"));

    game.terminate();
    EXPECT_TRUE(game.waitForFinished(15000));
    weston.terminate();
    EXPECT_TRUE(weston.waitForFinished(15000));
}

}  // namespace
}  // namespace fernwick
