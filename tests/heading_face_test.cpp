// The heading's face: the system's DejaVu Sans Condensed Bold where fontconfig has it, the bundled
// copy where it does not, and the same pixels either way. The machine without the face is this one
// with the face hidden from fontconfig: the test runs itself again in that state (--render-to).
#include "app/qt/heading_face.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

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

TEST(HeadingFaceTest, WithoutTheSystemFaceTheBundledCopyDrawsTheSameScreens) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile config(dir.filePath("fonts.conf"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <selectfont><rejectfont><glob>*/DejaVuSansCondensed*</glob></rejectfont></selectfont>
</fontconfig>
)");
    config.close();

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("FONTCONFIG_FILE", config.fileName());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--render-to", dir.path()});
    ASSERT_TRUE(child.waitForFinished(60000));
    ASSERT_NE(child.exitCode(), kFaceStillThere) << "the face could not be hidden from fontconfig";
    ASSERT_EQ(child.exitCode(), 0);

    const auto [welcome, won] = drawScreens();
    EXPECT_EQ(QImage(dir.filePath("welcome.png")).convertToFormat(QImage::Format_RGB32), welcome);
    EXPECT_EQ(QImage(dir.filePath("won.png")).convertToFormat(QImage::Format_RGB32), won);
}

// The child: draws both screens where fontconfig lacks the face and saves them in `dir`.
int renderWithoutSystemFace(const QString& dir) {
    if (QFontDatabase::hasFamily(kFamily)) return kFaceStillThere;
    const auto [welcome, won] = drawScreens();
    const bool saved =
        !welcome.isNull() && welcome.save(dir + "/welcome.png") && won.save(dir + "/won.png");
    return saved ? 0 : 1;
}

}  // namespace
}  // namespace fernwick::qt

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    fernwick::qt::registerBundledFaces();
    fernwick::qt::installLabelAccessibility();
    if (argc == 3 && QByteArray(argv[1]) == "--render-to") {
        return fernwick::qt::renderWithoutSystemFace(QString::fromLocal8Bit(argv[2]));
    }
    return RUN_ALL_TESTS();
}
