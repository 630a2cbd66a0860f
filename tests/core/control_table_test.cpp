// The table holds the window the player sees: these checks read it the way the front ends do.
#include "app/control_table.h"

#include <gtest/gtest.h>

#include <array>

#include "app/units.h"

namespace fernwick {
namespace {

struct PixelRect {
    int left, top, width, height;
    bool operator==(const PixelRect&) const = default;
};

PixelRect pixels(const ControlRecord& r) {
    return {twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.width),
            twipsToPixels(r.height)};
}

void PrintTo(const PixelRect& r, std::ostream* os) {
    *os << r.left << "," << r.top << " " << r.width << "x" << r.height;
}

TEST(ControlTableTest, WindowIsASizableFernWickWindowOf239By286Pixels) {
    const WindowRecord& w = controlTable().window;
    EXPECT_EQ(w.name, u"Form1");
    EXPECT_EQ(w.caption, u"FernWick");
    EXPECT_EQ(twipsToPixels(w.clientWidth), 239);
    EXPECT_EQ(twipsToPixels(w.clientHeight), 286);
    EXPECT_EQ(w.placement, Placement::SystemDefault);
    EXPECT_EQ(w.border, Border::Sizable);
    EXPECT_TRUE(w.systemMenu && w.minimizeBox && w.maximizeBox && w.showInTaskBar);
    EXPECT_EQ(w.initialState, WindowState::Normal);
}

TEST(ControlTableTest, ControlsComeInCreationOrderWithTheirDesignRectangles) {
    const auto& c = controlTable().controls;
    const std::array<std::u16string_view, 4> names = {u"Picture1", u"STARTBUTTON", u"status",
                                                      u"HEADING"};
    const std::array<ControlKind, 4> kinds = {ControlKind::PictureFrame, ControlKind::PushButton,
                                              ControlKind::Label, ControlKind::Label};
    const std::array<PixelRect, 4> rects = {
        PixelRect{40, 88, 153, 161}, {8, 256, 225, 25}, {16, 160, 49, 41}, {8, 0, 225, 105}};
    const std::array<int, 4> tabs = {2, 1, 3, 0};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(c[i].name, names[i]);
        EXPECT_EQ(c[i].kind, kinds[i]);
        EXPECT_EQ(pixels(c[i]), rects[i]);
        EXPECT_EQ(c[i].tabIndex, tabs[i]);
        EXPECT_EQ(controlTable().find(names[i]), &c[i]);
    }
    EXPECT_EQ(controlTable().find(u"heading"), nullptr) << "names are case-sensitive";
    EXPECT_EQ(controlTable().indexOf(u"heading"), 4u);
}

TEST(ControlTableTest, FocusOrderFollowsTheTabIndexesNotTheCreationOrder) {
    const ControlTable& t = controlTable();
    EXPECT_EQ(t.tabOrder(),
              (std::array<std::size_t, 4>{t.indexOf(u"HEADING"), t.indexOf(u"STARTBUTTON"),
                                          t.indexOf(u"Picture1"), t.indexOf(u"status")}));
    // Equal tab indexes keep their table order.
    ControlTable tied = t;
    for (ControlRecord& c : tied.controls) c.tabIndex = 7;
    EXPECT_EQ(tied.tabOrder(), (std::array<std::size_t, 4>{0, 1, 2, 3}));
}

TEST(ControlTableTest, FirstWelcomeScreenValues) {
    const ControlTable& t = controlTable();
    EXPECT_EQ(t.find(u"HEADING")->text, u"Welcome to FERNWICK!");
    EXPECT_EQ(t.find(u"STARTBUTTON")->text, u"BEGIN FERNWICK!");
    EXPECT_EQ(t.find(u"status")->text, u"clocked");
    EXPECT_FALSE(t.find(u"status")->visible);
    EXPECT_TRUE(t.find(u"HEADING")->visible);
    EXPECT_FALSE(t.find(u"Picture1")->text.has_value());
}

TEST(ControlTableTest, HeadingIsBoldDarkBlueTahomaOf37PixelEm) {
    const ControlRecord& h = *controlTable().find(u"HEADING");
    ASSERT_TRUE(h.textColour.has_value());
    EXPECT_EQ(red(*h.textColour), 0);
    EXPECT_EQ(green(*h.textColour), 0);
    EXPECT_EQ(blue(*h.textColour), 192);
    ASSERT_TRUE(h.font.has_value());
    EXPECT_EQ(h.font->face, u"Tahoma");
    EXPECT_EQ(h.font->size, 277500);
    EXPECT_EQ(h.font->weight, 700);
    EXPECT_EQ(h.font->charset, 0);
    EXPECT_FALSE(h.font->italic || h.font->underline || h.font->strikeout);
    EXPECT_EQ(emPixels(pointsFromTenThousandths(h.font->size)), 37);
    // The others draw in the window's font.
    EXPECT_FALSE(controlTable().find(u"STARTBUTTON")->font.has_value());
    EXPECT_FALSE(controlTable().find(u"status")->font.has_value());
}

TEST(ControlTableTest, PictureCoversOnlyTheHeadingsLowest17PixelStrip) {
    const ControlRecord& p = *controlTable().find(u"Picture1");
    const ControlRecord& h = *controlTable().find(u"HEADING");
    const int overlapTop = std::max(p.top, h.top);
    const int overlapBottom = std::min(p.top + p.height, h.top + h.height);
    EXPECT_EQ(overlapTop, 1320);
    EXPECT_EQ(overlapBottom, 1575);
    EXPECT_EQ(twipsToPixels(overlapBottom - overlapTop), 17);
}

}  // namespace
}  // namespace fernwick
