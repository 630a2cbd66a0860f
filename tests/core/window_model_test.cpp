// The window every front end builds, its labels on a surface of one pixel per character.
#include "app/window_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <list>

#include "app/form_builder.h"
#include "app/label_control.h"

namespace fernwick {
namespace {

TEST(WindowModelTest, DesignRectanglesAt96DpiScaleWithTheScreen) {
    const WindowModel model;
    EXPECT_EQ(model.clientWidth(), 239);
    EXPECT_EQ(model.clientHeight(), 286);
    EXPECT_EQ(model.rect(Named::Picture1), (PixelRect{40, 88, 153, 161}));
    EXPECT_EQ(model.rect(Named::STARTBUTTON), (PixelRect{8, 256, 225, 25}));
    EXPECT_EQ(model.rect(Named::status), (PixelRect{16, 160, 49, 41}));
    EXPECT_EQ(model.rect(Named::HEADING), (PixelRect{8, 0, 225, 105}));
    const WindowModel doubled(192);
    EXPECT_EQ(doubled.clientWidth(), 478);
    EXPECT_EQ(doubled.rect(Named::HEADING), (PixelRect{16, 0, 450, 210}));
}

TEST(WindowModelTest, OnlyTheVisibleButtonTakesFocus) {
    EXPECT_EQ(WindowModel().focusOrder(), std::vector<std::size_t>{Named::STARTBUTTON});
}

TEST(WindowModelTest, PictureForTheScreenScale) {
    static constexpr unsigned char k1x[] = {1}, k2x[] = {2};
    const ImageSlot dog{{k1x, sizeof k1x}, {k2x, sizeof k2x}};
    const struct {
        ImageSlot slot;
        double screenScale;
        const unsigned char* chosen;
        int scale;
    } cases[] = {{dog, 1.25, k1x, 1}, {dog, 1.5, k2x, 2}, {{dog.image, {}}, 2.0, k1x, 1}};
    for (const auto& c : cases) {
        const ChosenPicture chosen = choosePicture(c.slot, c.screenScale);
        EXPECT_EQ(chosen.bytes.data, c.chosen) << c.screenScale;
        EXPECT_EQ(chosen.scale, c.scale) << c.screenScale;
    }
    EXPECT_TRUE(choosePicture(ImageSlot{}, 2.0).bytes.empty());
}

TEST(WindowModelTest, FailureMessageGivesTheCodeInDecimalAndHex) {
    const std::u16string text = failureMessage(1400);
    EXPECT_NE(text.find(u"Failure code: 1400 (0x00000578)"), std::u16string::npos);
    EXPECT_NE(text.find(u"FernWick will close now."), std::u16string::npos);
    EXPECT_NE(failureMessage(0xC0000005u).find(u"3221225477 (0xC0000005)"), std::u16string::npos);
}

// One pixel per character, ascent 7 and descent 3; the font can be refused.
class FakeSurface : public LabelSurface {
  public:
    bool exists() const override { return true; }
    Result<> useFont(const LabelFont& font) override {
        if (refuseFonts) return Failure{0xBAD};
        em = font.emPixels;
        return {};
    }
    int textWidth(std::u16string_view run) const override { return static_cast<int>(run.size()); }
    LineMetrics lineMetrics() const override { return {7, 3}; }
    void invalidate() override { ++invalidated; }
    bool refuseFonts = false;
    int em = -1;
    int invalidated = 0;
};

class LabelControlTest : public testing::Test {
  protected:
    void SetUp() override { label.attach(surface); }
    // Eight characters wide, two lines and half of the third tall.
    LabelControl label{kControlTable.controls[Named::HEADING], {8, 0, 8, 25}, kDesignDpi};
    FakeSurface surface;
};

TEST_F(LabelControlTest, LinesAreBrokenPlacedAndCutAtTheBottom) {
    EXPECT_EQ(surface.em, 37);
    ASSERT_TRUE(label.setText(u"ab cd efgh\r\n\r\nlast").ok());
    EXPECT_EQ(surface.invalidated, 1);
    const std::vector<DrawnLine> drawn = label.linesToDraw();
    ASSERT_EQ(drawn.size(), 2u);  // "ab cd", "efgh"; the empty third line shows but draws nothing
    EXPECT_EQ(drawn[0].text, u"ab cd");
    EXPECT_EQ(drawn[1].text, u"efgh");
    EXPECT_EQ(drawn[1].top, 10);
    EXPECT_EQ(drawn[1].baseline, 17);
    EXPECT_EQ(label.lines().size(), 4u) << "the last line is laid out but lies below the edge";
}

TEST_F(LabelControlTest, RefusedSizesAndFontsChangeNothing) {
    for (float points : {0.0f, -18.0f, NAN, INFINITY, 1e9f}) {
        const Result<> r = label.setFontSize(points);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.code(), status_code::kInvalidParameter);
    }
    surface.refuseFonts = true;
    EXPECT_EQ(label.setFontSize(18.0f).code(), 0xBADu);
    EXPECT_EQ(label.font().points, 27.75f);
    surface.refuseFonts = false;
    ASSERT_TRUE(label.setFontSize(18.0f).ok());
    EXPECT_EQ(label.font().emPixels, 24);
    EXPECT_EQ(surface.em, 24);
}

TEST_F(LabelControlTest, ANewDpiLaysTheLabelOutAsAFreshStartThereWithItsTextAndSize) {
    ASSERT_TRUE(label.setText(u"won").ok());
    ASSERT_TRUE(label.setFontSize(18.0f).ok());
    label.place({12, 0, 12, 38}, 144);
    EXPECT_EQ(label.rect(), (PixelRect{12, 0, 12, 38}));
    EXPECT_EQ(label.font().emPixels, 36);
    EXPECT_EQ(surface.em, 36);
    EXPECT_EQ(label.text(), u"won");
    EXPECT_EQ(label.font().points, 18.0f);
    ASSERT_TRUE(label.setFontSize(27.75f).ok());
    EXPECT_EQ(surface.em, emPixels(27.75, 144)) << "later sizes are for the new DPI too";
}

TEST(LabelControlWithoutSurfaceTest, AVanishedSurfaceFailsEveryOperation) {
    LabelControl label(kControlTable.controls[Named::HEADING], {8, 0, 8, 25}, kDesignDpi);
    {
        FakeSurface surface;
        label.attach(surface);
        EXPECT_EQ(label.getText().value(), u"Welcome to FERNWICK!");
    }
    EXPECT_EQ(label.getText().code(), status_code::kInvalidWindowHandle);
    EXPECT_EQ(label.setText(u"x").code(), status_code::kInvalidWindowHandle);
    EXPECT_EQ(label.setFontSize(18.0f).code(), status_code::kInvalidWindowHandle);
    EXPECT_TRUE(label.linesToDraw().empty());
}

// Records what the core asks for; the button's click handler is kept to be pressed.
class FakeFactory : public ControlFactory {
  public:
    struct Button : PushButton {
        Result<> setCaption(std::u16string_view c) override {
            caption = c;
            return {};
        }
        std::u16string caption;
    };
    std::unique_ptr<PictureFrame> makePictureFrame(const ControlRequest& request) override {
        asked.push_back(request);
        return std::make_unique<PictureFrame>();
    }
    std::unique_ptr<PushButton> makePushButton(const ControlRequest& request,
                                               std::function<void()> clicked) override {
        asked.push_back(request);
        click = std::move(clicked);
        auto made = std::make_unique<Button>();
        button = made.get();
        return made;
    }
    LabelSurface& makeLabelSurface(const ControlRequest& request, LabelControl&) override {
        asked.push_back(request);
        return surfaces.emplace_back();
    }
    std::vector<ControlRequest> asked;
    std::list<FakeSurface> surfaces;
    std::function<void()> click;
    Button* button = nullptr;
};

TEST(BuiltFormTest, EveryControlIsAskedForInTableOrderAndTheClickPlaysTheGame) {
    const WindowModel model;
    FakeFactory factory;
    BuiltForm built(model, factory, {});
    ASSERT_EQ(factory.asked.size(), 4u);
    EXPECT_EQ(factory.asked[0].name, u"Picture1");
    EXPECT_EQ(factory.asked[0].accessibleName, u"Cartoon dog");
    EXPECT_EQ(factory.asked[1].rect, (PixelRect{8, 256, 225, 25}));
    EXPECT_TRUE(factory.asked[1].takesFocus);
    EXPECT_EQ(factory.asked[1].text, u"BEGIN FERNWICK!");
    EXPECT_FALSE(factory.asked[2].visible);
    EXPECT_EQ(built.label(Named::HEADING)->font().face->face, u"Tahoma");

    ASSERT_TRUE(factory.click);
    factory.click();
    EXPECT_EQ(factory.button->caption, u"Click to restart game!");
    EXPECT_EQ(built.label(Named::status)->text(), u"True");
}

TEST(BuiltFormTest, ANewDpiPlacesEveryLabelAgain) {
    WindowModel model;
    FakeFactory factory;
    BuiltForm built(model, factory, {});
    model.setDpi(192);
    built.relayout(model);
    EXPECT_EQ(built.label(Named::HEADING)->rect(), (PixelRect{16, 0, 450, 210}));
    EXPECT_EQ(built.label(Named::HEADING)->font().emPixels, 74);
}

}  // namespace
}  // namespace fernwick
