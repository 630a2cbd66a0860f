// The dog in its frame and the window's icon, as the real window draws them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/control_table.h"
#include "app/qt/form1_window.h"
#include "app/qt/picture_frame.h"
#include "tests/design.h"

namespace fernwick::qt {
namespace {

const QRect kPictureRect = design::rect(Named::Picture1);
constexpr int kBorder = 2;  // the frame's sunken border

const ImageSlot& picture1() { return *kControlTable.controls[Named::Picture1].picture; }

class PictureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<Form1Window>();
        window->showFirstWelcomeScreen();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        frame = window->findChild<PictureFrameWidget*>("Picture1");
        ASSERT_NE(frame, nullptr);
    }
    QImage screen() const { return window->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    std::unique_ptr<Form1Window> window;
    PictureFrameWidget* frame = nullptr;
};

// A shipped rendering of the dog as Qt's GIF reader gives it, independently of the frame.
QImage shippedPicture(const EmbeddedBytes& gif = picture1().image) {
    return QImage::fromData(gif.data, static_cast<int>(gif.size), "GIF")
        .convertToFormat(QImage::Format_ARGB32);
}

// The pixels of `dog` that `image` does not show from `origin`, the transparent ones as `face`.
int dogMismatches(const QImage& image, const QImage& dog, QPoint origin, QRgb face) {
    int wrong = 0;
    for (int y = 0; y < dog.height(); ++y) {
        for (int x = 0; x < dog.width(); ++x) {
            const QRgb p = dog.pixel(x, y);
            wrong += image.pixel(origin + QPoint(x, y)) != (qAlpha(p) == 255 ? p : face);
        }
    }
    return wrong;
}

TEST_F(PictureTest, DogIsDrawnUnscaledFromTheInnerTopLeftOverTheButtonFace) {
    if (window->devicePixelRatioF() != 1.0) GTEST_SKIP() << "checked at scale 1";
    const QImage dog = shippedPicture();
    ASSERT_EQ(dog.size(), QSize(146, 153));
    const QImage image = screen();
    const QRgb face = window->palette().color(QPalette::Button).rgb();
    const QPoint origin = kPictureRect.topLeft() + QPoint(kBorder, kBorder);
    EXPECT_EQ(dogMismatches(image, dog, origin, face), 0);
    int opaque = 0;
    for (int y = 0; y < dog.height(); ++y) {
        for (int x = 0; x < dog.width(); ++x) opaque += qAlpha(dog.pixel(x, y)) == 255;
    }
    EXPECT_GT(opaque, dog.width() * dog.height() / 3);
    // Inside the frame, right of and below the picture: the button face.
    const QRect inner = kPictureRect.adjusted(kBorder, kBorder, -kBorder, -kBorder);
    for (int y = inner.top(); y <= inner.bottom(); ++y) {
        for (int x = inner.left(); x <= inner.right(); ++x) {
            if (x < origin.x() + dog.width() && y < origin.y() + dog.height()) continue;
            ASSERT_EQ(image.pixel(x, y), face) << x << "," << y;
        }
    }
}

TEST_F(PictureTest, KeyColourNeverShowsAndThePictureStaysStillThroughClicks) {
    const qreal scale = window->devicePixelRatioF();
    const QRect picturePixels(kPictureRect.topLeft() * scale, kPictureRect.size() * scale);
    const QImage before = screen().copy(picturePixels);
    auto* button = window->findChild<QPushButton*>("STARTBUTTON");
    for (int i = 0; i < 5; ++i) QTest::mouseClick(button, Qt::LeftButton);
    const QImage after = screen();
    EXPECT_EQ(after.copy(picturePixels), before);
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            ASSERT_NE(after.pixel(x, y), qRgb(128, 255, 255)) << x << "," << y;
        }
    }
}

TEST_F(PictureTest, ScreensOfScaleTwoGetTheDoubleSizeRendering) {
    const qreal scale = window->devicePixelRatioF();
    const QPixmap& picture = frame->picture();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.devicePixelRatio(), scale >= 1.5 ? 2.0 : 1.0);
    EXPECT_EQ(picture.deviceIndependentSize().toSize(), shippedPicture().size());
    EXPECT_EQ(frame->geometry(), kPictureRect) << "the layout does not change with the scale";
}

TEST_F(PictureTest, SunkenBorderAndPictureScaleWithTheScreen) {
    const int scale = qRound(window->devicePixelRatioF());
    const QImage image = screen();
    const QRect r(kPictureRect.topLeft() * scale, kPictureRect.size() * scale);
    const QPalette& p = frame->palette();
    for (int i = 0; i < kBorder * scale; ++i) {
        const bool outer = i < scale;
        const QRgb topLeft = p.color(outer ? QPalette::Dark : QPalette::Shadow).rgb();
        const QRgb bottomRight = p.color(outer ? QPalette::Light : QPalette::Midlight).rgb();
        EXPECT_EQ(image.pixel(r.center().x(), r.top() + i), topLeft) << i;
        EXPECT_EQ(image.pixel(r.left() + i, r.center().y()), topLeft) << i;
        EXPECT_EQ(image.pixel(r.center().x(), r.bottom() - i), bottomRight) << i;
        EXPECT_EQ(image.pixel(r.right() - i, r.center().y()), bottomRight) << i;
    }
    if (scale != 2) return;
    const QImage dog = shippedPicture(picture1().image2x);
    ASSERT_EQ(dog.size(), QSize(292, 306));
    const QPoint origin = r.topLeft() + QPoint(kBorder, kBorder) * scale;
    EXPECT_EQ(dogMismatches(image, dog, origin, p.color(QPalette::Button).rgb()), 0);
}

TEST(PictureFrameTest, UndecodableBytesLeaveAnEmptyFrameAndSayOneLine) {
    QWidget parent;
    const unsigned char broken[] = "GIF89a\x92\x00\x99\x00\xf7\x17\x00truncated";
    const ImageSlot slot{{broken, sizeof broken - 1}, {}};
    testing::internal::CaptureStderr();
    PictureFrameWidget frame(&parent, slot);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(frame.picture().isNull());
    EXPECT_NE(said.find("could not be decoded"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

TEST_F(PictureTest, WindowIconHoldsTheSmallAndTheLargeImage) {
    const QIcon icon = window->windowIcon();
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    for (int side : {16, 32}) {
        const QImage image = icon.pixmap(QSize(side, side), 1.0).toImage();
        ASSERT_EQ(image.size(), QSize(side, side));
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << side << ": transparent around the shape";
        EXPECT_EQ(qAlpha(image.pixel(side / 2, side / 2)), 255) << side;
    }
}

}  // namespace
}  // namespace fernwick::qt
