// The heading's face: the system's DejaVu Sans Condensed Bold, else the bundled copy, with the
// same pixels; Tahoma where there. Other machines: this test rerun under other fontconfig rules.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <utility>

#include "app/qt/form1_window.h"
#include "app/qt/label_widget.h"

namespace fernwick::qt {
namespace {

const QString kFamily = QStringLiteral("DejaVu Sans Condensed");
constexpr int kFaceStillThere = 10;  // the child's status when hiding the face did not work

// The welcome and the won screen of a fresh window, as drawn.
std::pair<QImage, QImage> drawScreens() {
    Form1Window window;
    window.showFirstWelcomeScreen();
    if (!QTest::qWaitForWindowExposed(&window)) return {};
    auto screen = [&] { return window.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    const QImage welcome = screen();
    QTest::mouseClick(window.findChild<QPushButton*>("STARTBUTTON"), Qt::LeftButton);
    return {welcome, screen()};
}

TEST(HeadingFaceTest, SystemFaceIsUsedWithoutLoadingTheBundledCopy) {
    ASSERT_TRUE(QFontDatabase::hasFamily(kFamily)) << "fonts-dejavu-extra is not installed";
    ASSERT_FALSE(drawScreens().first.isNull());
    EXPECT_TRUE(QFontDatabase::applicationFontFamilies(0).isEmpty())
        << "the bundled copy was registered although the system has the face";
}

// Reruns this program with `arguments` and only `rules` for fontconfig; its status and output.
std::pair<int, QString> runWithFontRules(const QTemporaryDir& dir, const QByteArray& rules,
                                         const QStringList& arguments) {
    QFile config(dir.filePath("fonts.conf"));
    if (!config.open(QIODevice::WriteOnly)) return {-1, {}};
    config.write(
        "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>" +
        rules + "</fontconfig>\n");
    config.close();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("FONTCONFIG_FILE", config.fileName());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(60000)) return {-1, {}};
    return {child.exitCode(), QString::fromUtf8(child.readAllStandardOutput()).trimmed()};
}

TEST(HeadingFaceTest, WithoutTheSystemFaceTheBundledCopyDrawsTheSameScreens) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The system's rules, with a font folder of links to every system font but the face's files.
    // (Qt 6.8 keeps the fonts that a <rejectfont> rule hides from fontconfig's own tools.)
    ASSERT_TRUE(QDir(dir.path()).mkdir("fonts"));
    int links = 0;
    for (QDirIterator it("/usr/share/fonts", QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QFileInfo font(it.next());
        if (font.fileName().startsWith("DejaVuSansCondensed")) continue;
        ASSERT_TRUE(
            QFile::link(font.filePath(),
                        dir.filePath(QString("fonts/%1-%2").arg(++links).arg(font.fileName()))));
    }
    const auto [status, output] = runWithFontRules(
        dir,
        "<dir>" + dir.filePath("fonts").toUtf8() + "</dir><cachedir>" +
            dir.filePath("cache").toUtf8() +
            "</cachedir><include ignore_missing=\"yes\">/etc/fonts/conf.d</include>",
        {"--render-to", dir.path()});
    ASSERT_NE(status, kFaceStillThere) << "the face could not be hidden from fontconfig";
    ASSERT_EQ(status, 0);

    const auto [welcome, won] = drawScreens();
    EXPECT_EQ(QImage(dir.filePath("welcome.png")).convertToFormat(QImage::Format_RGB32), welcome);
    EXPECT_EQ(QImage(dir.filePath("won.png")).convertToFormat(QImage::Format_RGB32), won);
}

TEST(HeadingFaceTest, AMachineWithTahomaKeepsIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Wine's Tahoma (fonts-wine), which fontconfig does not see by default.
    const auto [status, family] =
        runWithFontRules(dir,
                         "<include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>"
                         "<dir>/usr/share/wine/fonts</dir>",
                         {"--heading-family"});
    ASSERT_EQ(status, 0);
    EXPECT_EQ(family, "Tahoma");
}

// The children. Draws both screens where fontconfig lacks the face and saves them in `dir`.
int renderWithoutSystemFace(const QString& dir) {
    if (QFontDatabase::hasFamily(kFamily)) return kFaceStillThere;
    const auto [welcome, won] = drawScreens();
    const bool saved =
        !welcome.isNull() && welcome.save(dir + "/welcome.png") && won.save(dir + "/won.png");
    return saved ? 0 : 1;
}

int printHeadingFamily() {
    Form1Window window;
    const QFontInfo face(window.findChild<LabelWidget*>("HEADING")->labelFont());
    std::printf("%s\n", qPrintable(face.family()));
    return 0;
}

}  // namespace
}  // namespace fernwick::qt

// Runs the tests, or, given its arguments, one of the children above.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--render-to") {
        return fernwick::qt::renderWithoutSystemFace(QString::fromLocal8Bit(argv[2]));
    }
    if (argc == 2 && QByteArray(argv[1]) == "--heading-family") {
        return fernwick::qt::printHeadingFamily();
    }
    return RUN_ALL_TESTS();
}
