// Form1, the program's only window, built from the control table.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/control_table.h"
#include "app/exit_status.h"
#include "app/form_builder.h"
#include "app/window_model.h"

namespace fernwick::qt {

class Form1Window : public QWidget, private ControlFactory {
    Q_OBJECT
  public:
    Form1Window();

    // The window as the game sees it.
    Form1& form() { return built_->form(); }

    // Shows the window with focus on the first control in tab order that can take it.
    void showFirstWelcomeScreen();

    // Ends the program after a failed click is reported (at once); tests record it instead.
    void setEndProgram(std::function<void(int status)> end) { endProgram_ = std::move(end); }

  private:
    bool event(QEvent* event) override;
    // The client area's size for the screen, as the table gives it.
    void takeDesignSize();
    // The window moved to another screen: it takes the design size there, and its controls and
    // picture are laid out again for the screen's scale.
    void screenChanged();
    std::unique_ptr<PictureFrame> makePictureFrame(const ControlRequest& request) override;
    std::unique_ptr<PushButton> makePushButton(const ControlRequest& request,
                                               std::function<void()> clicked) override;
    LabelSurface& makeLabelSurface(const ControlRequest& request, LabelControl& label) override;
    void adopt(QWidget* widget, const ControlRequest& request);
    void reportFailure(std::uint32_t code);

    WindowModel model_;
    std::vector<QWidget*> widgets_;  // in table order, owned as children
    std::unique_ptr<BuiltForm> built_;
    std::function<void(int status)> endProgram_;
};

}  // namespace fernwick::qt
