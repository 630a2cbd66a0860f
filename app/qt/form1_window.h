// Form1, the program's only window, built from the control table.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/control_table.h"
#include "app/form1.h"

class QPushButton;

namespace fernwick::qt {

class LabelWidget;
class PictureFrameWidget;

class Form1Window : public QWidget {
    Q_OBJECT
  public:
    // How the program ends after a failed click has been reported. The program exits at once,
    // handling no further event; tests put a recorder in its place.
    using EndProgram = std::function<void(int status)>;
    static constexpr int kFailureExitStatus = 3;

    explicit Form1Window(const ControlTable& table = controlTable());
    ~Form1Window() override;

    // The window as the game sees it.
    Form1& form();

    // Shows the window in its normal state with focus on the first control in tab order that
    // can take it.
    void showFirstWelcomeScreen();

    void setEndProgram(EndProgram endProgram);

  private:
    class Form;
    struct Controls;

    void reportFailure(std::uint32_t code);

    std::unique_ptr<Controls> controls_;
    std::unique_ptr<Form> form_;
    EndProgram endProgram_;
};

}  // namespace fernwick::qt
