#include "app/form_builder.h"

namespace fernwick {

BuiltForm::BuiltForm(const WindowModel& model, ControlFactory& factory,
                     Form1::ControlFailed controlFailed)
    : table_(model.table()) {
    for (std::size_t i = 0; i < table_.controls.size(); ++i) {
        const ControlRecord& r = table_.controls[i];
        const ControlRequest request{i,
                                     r.name,
                                     model.rect(i),
                                     r.visible,
                                     model.takesFocus(i),
                                     r.text.value_or(u""),
                                     r.font ? &*r.font : nullptr,
                                     r.textColour,
                                     &r.picture,
                                     r.accessibleName};
        switch (r.kind) {
            case ControlKind::PictureFrame:
                controls_[i] = factory.makePictureFrame(request);
                break;
            case ControlKind::PushButton: {
                // The one event with a handler: the click of STARTBUTTON.
                std::function<void()> clicked;
                if (r.name == u"STARTBUTTON") clicked = [this] { form_->STARTBUTTON_Click(); };
                controls_[i] = factory.makePushButton(request, std::move(clicked));
                break;
            }
            case ControlKind::Label: {
                auto label = std::make_unique<LabelControl>(r, model, i);
                label->attach(factory.makeLabelSurface(request, *label));
                controls_[i] = std::move(label);
                break;
            }
        }
    }
    factory.controlsMade(model.focusOrder());

    form_ = std::make_unique<Form1>(named<PictureFrame>(u"Picture1"),
                                    named<PushButton>(u"STARTBUTTON"), named<Label>(u"status"),
                                    named<Label>(u"HEADING"), std::move(controlFailed));
}

// The window model has checked the kind of each control the game names, and each was made as
// one of its kind.
template <class T>
T& BuiltForm::named(std::u16string_view name) const {
    T* control = static_cast<T*>(controls_[table_.indexOf(name)].get());
    if (!control) {
        tableError({"the window's ", std::string(name.begin(), name.end()), " could not be made"});
    }
    return *control;
}

LabelControl* BuiltForm::label(std::u16string_view name) const {
    const std::size_t i = table_.indexOf(name);
    if (i == controls_.size() || table_.controls[i].kind != ControlKind::Label) return nullptr;
    return static_cast<LabelControl*>(controls_[i].get());
}

void BuiltForm::relayout(const WindowModel& model) {
    for (std::size_t i = 0; i < controls_.size(); ++i)
        controls_[i]->place(model.rect(i), model.dpi());
}

}  // namespace fernwick
