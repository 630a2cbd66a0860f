#include "app/form_builder.h"

namespace fernwick {

BuiltForm::BuiltForm(const WindowModel& model, ControlFactory& factory,
                     Form1::ControlFailed controlFailed) {
    std::array<PictureFrame*, kControlCount> frames{};
    std::array<PushButton*, kControlCount> buttons{};
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlRecord& r = kControlTable.controls[i];
        const ControlRequest request{r, i, model.rect(i), model.takesFocus(i)};
        // Keeps what was made, and gives it back as the kind it was made as.
        const auto keep = [&](auto made) {
            auto* kept = made.get();
            controls_[i] = std::move(made);
            return kept;
        };
        switch (r.kind) {
            case ControlKind::PictureFrame:
                frames[i] = keep(factory.makePictureFrame(request));
                break;
            case ControlKind::PushButton: {
                // The one event with a handler: the click of STARTBUTTON.
                std::function<void()> clicked;
                if (i == Named::STARTBUTTON) clicked = [this] { form_->STARTBUTTON_Click(); };
                buttons[i] = keep(factory.makePushButton(request, std::move(clicked)));
                break;
            }
            case ControlKind::Label:
                labels_[i] = keep(std::make_unique<LabelControl>(r, model.rect(i), model.dpi()));
                labels_[i]->attach(factory.makeLabelSurface(request, *labels_[i]));
                break;
        }
    }
    form_.reset(new Form1{*frames[Named::Picture1], *buttons[Named::STARTBUTTON],
                          *labels_[Named::status], *labels_[Named::HEADING],
                          std::move(controlFailed)});
}

void BuiltForm::relayout(const WindowModel& model) {
    for (std::size_t i = 0; i < controls_.size(); ++i)
        controls_[i]->place(model.rect(i), model.dpi());
}

}  // namespace fernwick
