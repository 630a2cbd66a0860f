// The toggle, driven through fake controls that record every operation and can be told to fail.
#include "game/start_button_toggle.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/form1.h"

namespace fernwick {
namespace {

struct Log {
    std::vector<std::string> operations;
    std::optional<std::size_t> failAt;  // index of the operation that fails
    std::uint32_t failCode = 0x0000DEAD;

    Result<> record(std::string operation) {
        const bool fail = failAt && *failAt == operations.size();
        operations.push_back(std::move(operation));
        if (fail) return Failure{failCode};
        return {};
    }
};

class FakeLabel : public Label {
  public:
    FakeLabel(Log& log, std::string name, std::u16string text)
        : log_(log), name_(std::move(name)), text(std::move(text)) {}
    Result<std::u16string> getText() const override {
        Result<> r = log_.record("get " + name_);
        if (!r.ok()) return Failure{r.code()};
        return text;
    }
    Result<> setText(std::u16string_view value) override {
        Result<> r = log_.record("text " + name_);
        if (r.ok()) text = value;
        return r;
    }
    Result<> setFontSize(float value) override {
        Result<> r = log_.record("size " + name_);
        if (r.ok()) points = value;
        return r;
    }

    Log& log_;
    std::string name_;
    std::u16string text;
    float points = 27.75f;
};

class FakeButton : public PushButton {
  public:
    explicit FakeButton(Log& log) : log_(log) {}
    Result<> setCaption(std::u16string_view value) override {
        Result<> r = log_.record("caption STARTBUTTON");
        if (r.ok()) caption = value;
        return r;
    }
    Log& log_;
    std::u16string caption = u"BEGIN FERNWICK!";
};

class TestForm : public Form1 {
  public:
    TestForm(PictureFrame& p, PushButton& b, Label& s, Label& h)
        : Form1{p, b, s, h, [this](std::uint32_t code) { failures.push_back(code); }} {}
    std::vector<std::uint32_t> failures;
};

class ToggleTest : public ::testing::Test {
  protected:
    Log log;
    PictureFrame picture;
    FakeButton button{log};
    FakeLabel status{log, "status", u"clocked"};
    FakeLabel heading{log, "HEADING", u"Welcome to FERNWICK!"};
    TestForm form{picture, button, status, heading};

    void expectWonScreen() {
        EXPECT_EQ(heading.text, u"Congratulations! You have clocked Fernwick!\r\n\r\nSCORE = 1");
        EXPECT_EQ(heading.points, 18.0f);
        EXPECT_EQ(button.caption, u"Click to restart game!");
        EXPECT_EQ(status.text, u"True");
    }
    void expectWelcomeScreen() {
        EXPECT_EQ(heading.text, u"Welcome to FERNWICK!");
        EXPECT_EQ(heading.points, 28.0f);
        EXPECT_EQ(button.caption, u"BEGIN FERNWICK!");
        EXPECT_EQ(status.text, u"False");
    }
};

TEST_F(ToggleTest, FirstClickWinsAndClicksAlternateStrictly) {
    for (int click = 1; click <= 9; ++click) {
        form.STARTBUTTON_Click();
        SCOPED_TRACE(click);
        if (click % 2 == 1) {
            expectWonScreen();
        } else {
            expectWelcomeScreen();
        }
    }
    EXPECT_TRUE(form.failures.empty());
}

TEST_F(ToggleTest, OnlyTheExactWordTrueCountsAsWon) {
    for (std::u16string state :
         {u"true", u"TRUE", u"True ", u" True", u"Tru", u"True\r\n", u"", u"False", u"clocked"}) {
        status.text = state;
        form.STARTBUTTON_Click();
        EXPECT_EQ(status.text, u"True") << "state of length " << state.size();
    }
    status.text = u"True";
    form.STARTBUTTON_Click();
    EXPECT_EQ(status.text, u"False");
}

TEST_F(ToggleTest, EachTransitionReadsOnceThenMakesItsFourUpdatesInOrder) {
    const std::vector<std::string> order = {"get status", "text HEADING", "size HEADING",
                                            "caption STARTBUTTON", "text status"};
    form.STARTBUTTON_Click();
    EXPECT_EQ(log.operations, order);
    log.operations.clear();
    form.STARTBUTTON_Click();
    EXPECT_EQ(log.operations, order);
}

// A failure at any operation stops the click there, keeps earlier updates, reports the code once.
TEST_F(ToggleTest, FailureStopsTheClickAtTheFailedOperation) {
    for (const bool fromWon : {false, true}) {
        for (std::size_t failAt = 0; failAt < 5; ++failAt) {
            SCOPED_TRACE(testing::Message() << (fromWon ? "restart" : "won") << " op " << failAt);
            Log failing;
            failing.failAt = failAt;
            failing.failCode = 0xC0000000u + static_cast<std::uint32_t>(failAt);
            FakeButton b{failing};
            FakeLabel s{failing, "status", fromWon ? u"True" : u"clocked"};
            FakeLabel h{failing, "HEADING", u"before"};
            const std::u16string startState = s.text;
            TestForm f{picture, b, s, h};

            f.STARTBUTTON_Click();

            ASSERT_EQ(f.failures.size(), 1u);
            EXPECT_EQ(f.failures[0], failing.failCode);
            EXPECT_EQ(failing.operations.size(), failAt + 1) << "no operation after the failure";
            const std::u16string heading =
                fromWon ? u"Welcome to FERNWICK!"
                        : u"Congratulations! You have clocked Fernwick!\r\n\r\nSCORE = 1";
            EXPECT_EQ(h.text, failAt > 1 ? heading : u"before");
            EXPECT_EQ(h.points, failAt > 2 ? (fromWon ? 28.0f : 18.0f) : 27.75f);
            EXPECT_EQ(b.caption, failAt > 3 ? std::u16string(fromWon ? u"BEGIN FERNWICK!"
                                                                     : u"Click to restart game!")
                                            : u"BEGIN FERNWICK!");
            EXPECT_EQ(s.text, startState) << "the state changes only as the last update";
        }
    }
}

}  // namespace
}  // namespace fernwick
