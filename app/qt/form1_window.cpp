#include "app/qt/form1_window.h"

#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/icon_file.h"
#include "app/qt/heading_face.h"
#include "app/qt/images.h"
#include "app/qt/label_widget.h"
#include "app/qt/picture_frame.h"
#include "app/qt/qt_controls.h"
#include "app/qt/text.h"
#include "app/units.h"

namespace fernwick::qt {

namespace {

QRect pixelRect(const ControlRecord& record) {
    return QRect(twipsToPixels(record.left), twipsToPixels(record.top), twipsToPixels(record.width),
                 twipsToPixels(record.height));
}

QColor fromColourValue(ColourValue colour) {
    return QColor(red(colour), green(colour), blue(colour));
}

// The window icon: every image of the icon file, the 16 x 16 one serving as the small icon and
// the 32 x 32 one as the large. An empty slot leaves the platform's default icon.
QIcon iconFrom(const EmbeddedBytes& bytes) {
    QIcon icon;
    if (bytes.empty()) return icon;
    const std::optional<std::vector<DecodedImage>> images = decodeIconFile(bytes.data, bytes.size);
    if (!images) {
        std::fputs("fernwick: the window icon could not be decoded; the default icon shows\n",
                   stderr);
        return icon;
    }
    for (const DecodedImage& image : *images) icon.addPixmap(QPixmap::fromImage(toQImage(image)));
    return icon;
}

void endAtOnce(int status) {
    std::fflush(nullptr);
    std::_Exit(status);
}

}  // namespace

// The widgets made from the table, in table order, and the control operations on them.
struct Form1Window::Controls {
    std::vector<QWidget*> widgets;  // owned by the window, as its children
    std::unique_ptr<QtPictureFrame> picture1;
    std::unique_ptr<QtPushButton> startButton;
    std::unique_ptr<QtLabel> status;
    std::unique_ptr<QtLabel> heading;
    std::vector<QWidget*> focusOrder;  // the controls that take focus, in tab-index order

    QWidget* widget(const ControlTable& table, std::u16string_view name) const {
        const std::size_t i = table.indexOf(name);
        return i < widgets.size() ? widgets[i] : nullptr;
    }
};

class Form1Window::Form final : public Form1 {
  public:
    Form(Form1Window& window, Controls& c)
        : Form1(*c.picture1, *c.startButton, *c.status, *c.heading), window_(window) {}

  protected:
    void controlFailed(std::uint32_t code) override { window_.reportFailure(code); }

  private:
    Form1Window& window_;
};

Form1Window::Form1Window(const ControlTable& table)
    : controls_(std::make_unique<Controls>()), endProgram_(endAtOnce) {
    const WindowRecord& record = table.window;
    setObjectName(toQString(record.name));
    setWindowTitle(toQString(record.caption));
    // The client area is the window's size; the system chooses where it goes.
    resize(twipsToPixels(record.clientWidth), twipsToPixels(record.clientHeight));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    setWindowIcon(iconFrom(record.icon));

    for (const ControlRecord& control : table.controls) {
        QWidget* widget = nullptr;
        switch (control.kind) {
            case ControlKind::PictureFrame:
                widget = new PictureFrameWidget(this, control.picture);
                widget->setAccessibleName(tr("Cartoon dog"));  // what screen readers call it
                break;
            case ControlKind::PushButton: {
                auto* button = new QPushButton(this);
                // Neither Enter nor Escape clicks it: it is no default or cancel button.
                button->setAutoDefault(false);
                button->setDefault(false);
                button->setFocusPolicy(Qt::StrongFocus);
                if (control.text) button->setText(toQString(*control.text));
                widget = button;
                break;
            }
            case ControlKind::Label: {
                auto* label = new LabelWidget(this);
                if (control.font) {
                    label->setLabelFont(fontFromDescription(
                        *control.font, pointsFromTenThousandths(control.font->size)));
                }
                if (control.textColour) label->setTextColour(fromColourValue(*control.textColour));
                if (control.text) label->setText(toQString(*control.text));
                // Labels lie beneath every child control.
                label->lower();
                widget = label;
                break;
            }
        }
        widget->setObjectName(toQString(control.name));
        widget->setGeometry(pixelRect(control));
        widget->setVisible(control.visible);
        controls_->widgets.push_back(widget);
    }

    // Keyboard focus moves in tab-index order among the controls that take it.
    for (std::size_t i : table.tabOrder()) {
        QWidget* widget = controls_->widgets[i];
        if (widget->focusPolicy() == Qt::NoFocus) continue;
        if (!controls_->focusOrder.empty()) setTabOrder(controls_->focusOrder.back(), widget);
        controls_->focusOrder.push_back(widget);
    }

    // The game reaches the controls by name.
    Controls& c = *controls_;
    auto* startButton = qobject_cast<QPushButton*>(c.widget(table, u"STARTBUTTON"));
    c.picture1 = std::make_unique<QtPictureFrame>();
    c.startButton = std::make_unique<QtPushButton>(startButton);
    c.status = std::make_unique<QtLabel>(qobject_cast<LabelWidget*>(c.widget(table, u"status")),
                                         table.find(u"status")->font);
    c.heading = std::make_unique<QtLabel>(qobject_cast<LabelWidget*>(c.widget(table, u"HEADING")),
                                          table.find(u"HEADING")->font);
    form_ = std::make_unique<Form>(*this, c);

    // The one event with a handler: the click of STARTBUTTON.
    connect(startButton, &QPushButton::clicked, this, [this] { form_->STARTBUTTON_Click(); });
}

Form1Window::~Form1Window() = default;

Form1& Form1Window::form() { return *form_; }

void Form1Window::setEndProgram(EndProgram endProgram) { endProgram_ = std::move(endProgram); }

void Form1Window::showFirstWelcomeScreen() {
    setWindowState(Qt::WindowNoState);
    show();
    // The first control in tab order that can take focus gets it.
    for (QWidget* widget : controls_->focusOrder) {
        if (widget->isVisibleTo(this)) {
            widget->setFocus(Qt::OtherFocusReason);
            break;
        }
    }
}

void Form1Window::reportFailure(std::uint32_t code) {
    const QString text = tr("The game cannot go on: a control of the window failed to change.\n\n"
                            "Failure code: %1 (0x%2)\n\nFernWick will close now.")
                             .arg(code)
                             .arg(code, 8, 16, QLatin1Char('0'));
    QMessageBox box(QMessageBox::Critical, windowTitle(), text, QMessageBox::Ok, this);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    endProgram_(kFailureExitStatus);
}

}  // namespace fernwick::qt
