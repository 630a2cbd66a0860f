#include "game/start_button_toggle.h"

#include <string>

#include "app/form1.h"

namespace fernwick {

void Form1::STARTBUTTON_Click() {
    // Each step stops the click at the first failure; updates already made stay in place.
    auto failed = [this](const Result& result) {
        if (result.ok()) return false;
        controlFailed(result.code());
        return true;
    };

    std::u16string state;
    if (failed(status.getText(state))) return;

    if (state != toggle::kWon) {
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
