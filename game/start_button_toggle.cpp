#include "game/start_button_toggle.h"

#include <string>

#include "app/form1.h"

namespace fernwick {

void Form1::STARTBUTTON_Click() {
    // Each step stops the click at the first failure; updates already made stay in place.
    auto failed = [this](const auto& result) {
        if (result.ok()) return false;
        controlFailed_(result.code());
        return true;
    };

    const Result<std::u16string> state = status.getText();
    if (failed(state)) return;

    if (state.value() != toggle::kWon) {
        if (failed(HEADING.setText(toggle::kWonHeading))) return;
        if (failed(HEADING.setFontSize(toggle::kWonHeadingPoints))) return;
        if (failed(STARTBUTTON.setCaption(toggle::kWonCaption))) return;
        if (failed(status.setText(toggle::kWon))) return;
    } else {
        if (failed(HEADING.setText(toggle::kWelcomeHeading))) return;
        if (failed(HEADING.setFontSize(toggle::kWelcomeHeadingPoints))) return;
        if (failed(STARTBUTTON.setCaption(toggle::kWelcomeCaption))) return;
        if (failed(status.setText(toggle::kNotWon))) return;
    }
}

}  // namespace fernwick
