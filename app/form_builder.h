// How every front end builds Form1: the core walks the table and asks the front end's
// ControlFactory for each control, then binds them to Form1 and wires the click to the game.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "app/control_table.h"
#include "app/form1.h"
#include "app/label_control.h"
#include "app/window_model.h"

namespace fernwick {

// One control as the front end is asked to make it.
struct ControlRequest {
    std::size_t index;         // its place in the table
    std::u16string_view name;  // the name the window knows it by
    PixelRect rect;            // relative to the client area, at the model's DPI
    bool visible;
    bool takesFocus;
    std::u16string_view text;               // caption or label text; empty for the picture
    const FontDescription* font;            // null: the window's font
    std::optional<ColourValue> textColour;  // none: the system's button-text colour
    const ImageSlot* picture;               // picture frames only
    std::u16string_view accessibleName;     // empty: the control is named by its text
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
    // Every control is made; `focusOrder` holds those taking focus, as table places, in tab order.
    virtual void controlsMade(std::span<const std::size_t> /*focusOrder*/) {}
};

// Form1 with its controls, built through a factory.
class BuiltForm {
  public:
    // Asks `factory` for every control of `model`'s table. Throws TableError when the factory
    // made a control that does not stand for its record.
    BuiltForm(const WindowModel& model, ControlFactory& factory,
              Form1::ControlFailed controlFailed);
    BuiltForm(const BuiltForm&) = delete;
    BuiltForm& operator=(const BuiltForm&) = delete;

    Form1& form() { return *form_; }
    // The control made for the record at `index`, and the label named `name` (null if none).
    Control& control(std::size_t index) const { return *controls_.at(index); }
    LabelControl* label(std::u16string_view name) const;

    // Every control takes its place at `model`'s DPI, keeping its text, size and state.
    void relayout(const WindowModel& model);

  private:
    template <class T>
    T& named(std::u16string_view name) const;

    const ControlTable& table_;
    std::array<std::unique_ptr<Control>, kControlCount> controls_;  // in table order
    std::unique_ptr<Form1> form_;
};

}  // namespace fernwick
