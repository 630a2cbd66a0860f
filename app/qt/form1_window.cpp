#include "app/qt/form1_window.h"

#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

#include "app/label_control.h"
#include "app/label_layout.h"
#include "app/qt/convert.h"
#include "app/qt/label_widget.h"
#include "app/qt/picture_frame.h"
#include "assets/identity/app_icon.h"

namespace fernwick::qt {

namespace {

// The frame the window record asks for: with every box present, the platform's full frame. A
// window kept out of the task bar is a tool window.
Qt::WindowFlags frameFlags(const WindowRecord& r) {
    Qt::WindowFlags flags = r.showInTaskBar ? Qt::Window : Qt::Tool;
    if (r.border == Border::None) return flags | Qt::FramelessWindowHint;
    if (r.systemMenu && r.minimizeBox && r.maximizeBox) return flags;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (r.systemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (r.minimizeBox) flags |= Qt::WindowMinimizeButtonHint;
    if (r.maximizeBox) flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

// The window icon: its 16 x 16 image serving as the small icon and its 32 x 32 one as the large.
QIcon appIcon() {
    QIcon icon;
    for (const EmbeddedBytes& png :
         {EmbeddedBytes{fernwick_app_icon_16_png, fernwick_app_icon_16_png_size},
          EmbeddedBytes{fernwick_app_icon_32_png, fernwick_app_icon_32_png_size}}) {
        const QImage image = readImage(png, "png");
        if (image.isNull()) {
            std::fputs("fernwick: the window icon could not be decoded; the default icon shows\n",
                       stderr);
            return QIcon();
        }
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

// A push button; once the widget is gone its operations fail instead of touching freed memory.
class ButtonControl final : public PushButton {
  public:
    explicit ButtonControl(QPushButton* button) : button_(button) {}
    Result<> setCaption(std::u16string_view caption) override {
        if (!button_) return Failure{status_code::kInvalidWindowHandle};
        button_->setText(toQString(caption));
        return {};
    }

  private:
    QPointer<QPushButton> button_;
};

// A push button in the system's font, made smaller where a caption would not fit inside the bevel.
class CaptionButton final : public QPushButton {
  public:
    using QPushButton::QPushButton;

    // Takes the size for the window's font and style; the window calls for it when they change.
    void fit() {
        QStyleOptionButton option;
        initStyleOption(&option);
        const QRect inner = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        const QFont system = parentWidget()->font();
        const int systemPixels = QFontInfo(system).pixelSize();
        const int pixels = captionPixels(
            Form1::STARTBUTTON_Captions(), systemPixels, inner.width(), inner.height(),
            [&](std::u16string_view text, int em) {
                QFont font = system;
                font.setPixelSize(em);
                const QFontMetrics metrics(font, this);
                return TextExtent{metrics.horizontalAdvance(toQString(text)), metrics.height()};
            });
        // Only a size smaller than the system's is the button's own: the rest follows the
        // window's font. (Setting the font it already has changes nothing.)
        QFont font;
        if (pixels < systemPixels) font.setPixelSize(pixels);
        setFont(font);
    }
};

}  // namespace

Form1Window::Form1Window()
    : QWidget(nullptr, frameFlags(kControlTable.window)), endProgram_([](int status) {
          std::fflush(nullptr);
          std::_Exit(status);
      }) {
    setObjectName(toQString(kControlTable.window.name));
    setWindowTitle(toQString(kControlTable.window.caption));
    takeDesignSize();  // the system chooses where the window goes
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    setWindowIcon(appIcon());

    built_ = std::make_unique<BuiltForm>(model_, static_cast<ControlFactory&>(*this),
                                         [this](std::uint32_t code) { reportFailure(code); });
    const std::vector<std::size_t>& order = model_.focusOrder();
    for (std::size_t n = 1; n < order.size(); ++n)
        setTabOrder(widgets_[order[n - 1]], widgets_[order[n]]);
}

void Form1Window::takeDesignSize() {
    const QSize design(model_.clientWidth(), model_.clientHeight());
    resize(design);
    if (kControlTable.window.border == Border::Fixed) setFixedSize(design);
    // The widget may still hold the size while its window shrank to the same device pixels.
    if (windowHandle() && windowHandle()->size() != design) windowHandle()->resize(design);
}

// On a screen of another scale the window would keep its size in device pixels and cut off what is
// drawn larger.
void Form1Window::screenChanged() {
    takeDesignSize();
    built_->relayout(model_);
    for (PictureFrameWidget* frame : findChildren<PictureFrameWidget*>()) frame->takeRendering();
}

bool Form1Window::event(QEvent* event) {
    // A button in a font of its own does not follow the window's: the window tells it.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        for (QPushButton* child : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
            if (auto* button = dynamic_cast<CaptionButton*>(child)) button->fit();
    }
    return QWidget::event(event);
}

void Form1Window::adopt(QWidget* widget, const ControlRequest& request) {
    widget->setObjectName(toQString(request.name));
    widget->setGeometry(request.rect.left, request.rect.top, request.rect.width,
                        request.rect.height);
    widget->setVisible(request.visible);
    widget->setFocusPolicy(request.takesFocus ? Qt::StrongFocus : Qt::NoFocus);
    if (!request.accessibleName.empty())
        widget->setAccessibleName(toQString(request.accessibleName));
    widgets_.push_back(widget);
}

std::unique_ptr<PictureFrame> Form1Window::makePictureFrame(const ControlRequest& request) {
    adopt(new PictureFrameWidget(this, *request.picture), request);
    return std::make_unique<PictureFrame>();
}

std::unique_ptr<PushButton> Form1Window::makePushButton(const ControlRequest& request,
                                                        std::function<void()> clicked) {
    auto* button = new CaptionButton(toQString(request.text.value_or(u"")), this);
    // Neither Enter nor Escape clicks it: it is no default or cancel button.
    button->setAutoDefault(false);
    if (clicked) connect(button, &QPushButton::clicked, this, std::move(clicked));
    adopt(button, request);
    button->fit();
    return std::make_unique<ButtonControl>(button);
}

LabelSurface& Form1Window::makeLabelSurface(const ControlRequest& request, LabelControl&) {
    auto* widget = new LabelWidget(this);
    widget->lower();  // labels lie beneath every child control
    adopt(widget, request);
    return *widget;
}

void Form1Window::showFirstWelcomeScreen() {
    const WindowState state = kControlTable.window.initialState;
    setWindowState(state == WindowState::Minimized   ? Qt::WindowMinimized
                   : state == WindowState::Maximized ? Qt::WindowMaximized
                                                     : Qt::WindowNoState);
    describeButtons(this);
    show();
    // Shown, the window has its screen, and follows it to any other.
    connect(windowHandle(), &QWindow::screenChanged, this, &Form1Window::screenChanged,
            Qt::UniqueConnection);
    if (!model_.focusOrder().empty())
        widgets_[model_.focusOrder().front()]->setFocus(Qt::OtherFocusReason);
    // Laying the labels out makes their fonts, which reads the system's font list, the costliest
    // step of start-up: done here, it overlaps the window manager's framing of the window.
    for (LabelWidget* label : findChildren<LabelWidget*>())
        if (label->control()) label->control()->lines();
}

void Form1Window::reportFailure(std::uint32_t code) {
    QMessageBox box(QMessageBox::Critical, windowTitle(), toQString(failureMessage(code)),
                    QMessageBox::Ok, this);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    endProgram_(exit_status::kControlFailed);
}

}  // namespace fernwick::qt
