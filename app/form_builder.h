// How every front end builds Form1: the core walks the table and asks the front end's
// ControlFactory for each control, then binds the named ones to Form1 and wires the click.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <memory>

#include "app/control_table.h"
#include "app/form1.h"
#include "app/label_control.h"
#include "app/window_model.h"

namespace fernwick {

// One control as the front end is asked to make it: its record, and where it goes.
struct ControlRequest : ControlRecord {
    std::size_t index;  // its place in the table
    PixelRect rect;     // relative to the client area, at the model's DPI
    bool takesFocus;
};

class ControlFactory {
  public:
    virtual ~ControlFactory() = default;
    virtual std::unique_ptr<PictureFrame> makePictureFrame(const ControlRequest& request) = 0;
    // `clicked` runs the control's click handler; it is empty for a button without one.
    virtual std::unique_ptr<PushButton> makePushButton(const ControlRequest& request,
                                                       std::function<void()> clicked) = 0;
    // Where `label` is drawn: the front end owns the surface, the core the label.
    virtual LabelSurface& makeLabelSurface(const ControlRequest& request, LabelControl& label) = 0;
};

// Form1 with its controls, built through a factory.
class BuiltForm {
  public:
    // Asks `factory` for every control of the table, laid out as `model` says.
    BuiltForm(const WindowModel& model, ControlFactory& factory,
              Form1::ControlFailed controlFailed);
    BuiltForm(const BuiltForm&) = delete;
    BuiltForm& operator=(const BuiltForm&) = delete;

    Form1& form() { return *form_; }
    // The label at `index` in the table (a place in Named); null for another kind of control.
    LabelControl* label(std::size_t index) const { return labels_.at(index); }

    // Every control takes its place at `model`'s DPI, keeping its text, size and state.
    void relayout(const WindowModel& model);

  private:
    std::array<std::unique_ptr<Control>, kControlCount> controls_;  // in table order
    std::array<LabelControl*, kControlCount> labels_{};             // null for other kinds
    std::unique_ptr<Form1> form_;
};

}  // namespace fernwick
