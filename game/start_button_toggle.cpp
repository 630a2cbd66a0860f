#include "game/start_button_toggle.h"

#include "app/form1.h"

namespace fernwick {

std::span<const std::u16string_view> Form1::STARTBUTTON_Captions() {
    static constexpr std::u16string_view kCaptions[] = {toggle::kWelcomeCaption,
                                                        toggle::kWonCaption};
    return kCaptions;
}

void Form1::STARTBUTTON_Click() {
    // Each step stops the click at the first failure; updates already made stay in place.
    auto failed = [this](const auto& result) {
        if (result.ok()) return false;
        controlFailed(result.code());
        return true;
    };

    const Result<std::u16string> state = status.getText();
    if (failed(state)) return;

    using namespace toggle;
    const bool win = state.value() != kWon;
    if (failed(HEADING.setText(win ? kWonHeading : kWelcomeHeading))) return;
    if (failed(HEADING.setFontSize(win ? kWonHeadingPoints : kWelcomeHeadingPoints))) return;
    if (failed(STARTBUTTON.setCaption(win ? kWonCaption : kWelcomeCaption))) return;
    failed(status.setText(win ? kWon : kNotWon));
}

}  // namespace fernwick
