// FernWick in a web page: Form1 built by the core, each control an element of the page. The
// browser-side calls are in app/web/page_library.js; this side decides, the page draws.
#include <emscripten.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/form_builder.h"
#include "app/label_control.h"
#include "app/text_colour.h"
#include "app/window_model.h"

// Implemented in app/web/page_library.js. A control is known to the page by its place in the
// table; texts go over as UTF-16 code units.
extern "C" {
void fw_init_page(const char16_t* title, int titleLength, int width, int height);
void fw_make_control(int kind, int index, const char16_t* name, int nameLength, int left, int top,
                     int width, int height, const char16_t* text, int textLength,
                     const char16_t* accessibleName, int accessibleNameLength);
bool fw_exists(int index);
bool fw_set_text(int index, const char16_t* text, int length);
void fw_set_font(int index, const char16_t* face, int faceLength, int weight, int em);
int fw_text_width(int index, const char16_t* text, int length);
int fw_font_metric(int index, bool descent);
void fw_clear_lines(int index, std::uint32_t light, std::uint32_t dark);
void fw_add_line(int index, const char16_t* text, int length, int baseline);
std::uint32_t fw_system_colour(bool text, bool dark);
bool fw_forced_colours();
void fw_show_picture(int index, const char* file, const char* file2x);
void fw_focus(int index);
void fw_show_failure(const char16_t* message, int length);
void fw_started();
}

namespace fernwick::web {
namespace {

enum Kind { kLabelElement, kButtonElement, kPictureElement };

int size(std::u16string_view text) { return static_cast<int>(text.size()); }

void make(Kind kind, const ControlRequest& request, std::u16string_view text) {
    const PixelRect& r = request.rect;
    fw_make_control(kind, static_cast<int>(request.index), request.name.data(), size(request.name),
                    r.left, r.top, r.width, r.height, text.data(), size(text),
                    request.accessibleName.data(), size(request.accessibleName));
}

// A label drawn as lines of text in its element. A hidden label has no element at all: it is
// measured with the page's canvas and never drawn, so it is in neither the page nor its tree.
class LabelElement final : public LabelSurface {
  public:
    LabelElement(const ControlRequest& request)
        : index_(static_cast<int>(request.index)), hasElement_(request.visible) {
        if (hasElement_) make(kLabelElement, request, {});
    }
    bool exists() const override { return !hasElement_ || fw_exists(index_); }
    Result<> useFont(const LabelFont& font) override {
        if (!exists()) return Failure{status_code::kInvalidWindowHandle};
        const std::u16string_view face = font.face ? font.face->face : u"";
        const int weight = font.face ? font.face->weight : 400;
        fw_set_font(index_, face.data(), size(face), weight, font.emPixels);
        dirty_ = true;
        return {};
    }
    int textWidth(std::u16string_view run) const override {
        return fw_text_width(index_, run.data(), size(run));
    }
    LineMetrics lineMetrics() const override {
        return {fw_font_metric(index_, false), fw_font_metric(index_, true)};
    }
    void invalidate() override { dirty_ = true; }

    // Draws the lines the core lays out, in the colour the core's rule gives for the page's
    // face, when anything changed since the last time.
    void paint(bool always) {
        if (!hasElement_ || !control() || !(dirty_ || always) || !exists()) return;
        dirty_ = false;
        // The colour for the page's light face and for its dark one: the page's style picks
        // the one for the colour scheme it shows, the moment that changes.
        auto colour = [this](bool dark) {
            return labelTextColour(
                control()->colour(),
                {fw_system_colour(false, dark), fw_system_colour(true, dark), fw_forced_colours()});
        };
        fw_clear_lines(index_, colour(false), colour(true));
        const std::u16string_view text = control()->text();
        std::size_t drawnTo = 0;
        for (const DrawnLine& line : control()->linesToDraw()) {
            fw_add_line(index_, line.text.data(), size(line.text), line.baseline);
            drawnTo = static_cast<std::size_t>(line.text.data() - text.data()) + line.text.size();
        }
        // The lines wholly past the bottom edge stay in the heading, undrawn beneath the edge, so
        // that it is read out whole, as on the desktop: each a line of its own (a screen reader
        // says a CR LF inside a line as a character), an empty one only a step down.
        int baseline = control()->rect().height + lineMetrics().ascent;
        while (drawnTo < text.size()) {
            const std::u16string_view rest = text.substr(drawnTo);
            const std::size_t end = std::min(rest.find(u"\r\n"), rest.size());
            if (end > 0) fw_add_line(index_, rest.data(), static_cast<int>(end), baseline);
            drawnTo += std::min(end + 2, rest.size());
            baseline += control()->lineHeight();
        }
    }

  private:
    int index_;
    bool hasElement_;
    bool dirty_ = true;
};

// The button, known to the page by its place in the table.
struct ButtonElement final : PushButton {
    explicit ButtonElement(int index) : index(index) {}
    Result<> setCaption(std::u16string_view caption) override {
        if (fw_set_text(index, caption.data(), size(caption))) return {};
        return Failure{status_code::kInvalidWindowHandle};
    }
    int index;
};

class Form1Page final : public ControlFactory {
  public:
    Form1Page() {
        const std::u16string_view title = kControlTable.window.caption;
        fw_init_page(title.data(), size(title), model_.clientWidth(), model_.clientHeight());
        built_.emplace(model_, *this, [this](std::uint32_t code) { fail(code); });
        if (!model_.focusOrder().empty()) fw_focus(static_cast<int>(model_.focusOrder().front()));
        repaint(true);
    }

    // The frame's picture, loaded from the site's files by the browser, which takes the rendering
    // for the screen's device pixel ratio and takes it again when the ratio changes.
    std::unique_ptr<PictureFrame> makePictureFrame(const ControlRequest& request) override {
        make(kPictureElement, request, {});
        const ImageSlot& slot = *request.picture;
        if (slot.image.file)
            fw_show_picture(static_cast<int>(request.index), slot.image.file, slot.image2x.file);
        return std::make_unique<PictureFrame>();
    }
    std::unique_ptr<PushButton> makePushButton(const ControlRequest& request,
                                               std::function<void()> clicked) override {
        make(kButtonElement, request, request.text.value_or(u""));
        clicks_[request.index] = std::move(clicked);
        return std::make_unique<ButtonElement>(static_cast<int>(request.index));
    }
    LabelSurface& makeLabelSurface(const ControlRequest& request, LabelControl&) override {
        return *(labels_[request.index] = std::make_unique<LabelElement>(request));
    }

    void click(std::size_t index) {
        if (stopped_ || !clicks_.at(index)) return;
        clicks_[index]();
        repaint(false);
    }
    // Draws the labels that changed, or all of them.
    void repaint(bool always) {
        for (const auto& label : labels_)
            if (label) label->paint(always);
    }

  private:
    // As on the desktop, the message names the code; the page then takes no more input.
    void fail(std::uint32_t code) {
        stopped_ = true;
        repaint(false);
        const std::u16string message = failureMessage(code);
        fw_show_failure(message.data(), size(message));
    }

    WindowModel model_;
    // By the control's place in the table.
    std::array<std::unique_ptr<LabelElement>, kControlCount> labels_;
    std::array<std::function<void()>, kControlCount> clicks_;
    std::optional<BuiltForm> built_;
    bool stopped_ = false;
};

Form1Page* page = nullptr;

}  // namespace
}  // namespace fernwick::web

// The page's calls, which come once main() has returned.
extern "C" {
EMSCRIPTEN_KEEPALIVE void fw_clicked(std::size_t index) { fernwick::web::page->click(index); }
// The page's colours or device pixel ratio changed.
EMSCRIPTEN_KEEPALIVE void fw_restyle() { fernwick::web::page->repaint(true); }
}

int main() {
    // The page lives as long as the document: it is never destroyed.
    fernwick::web::page = new fernwick::web::Form1Page();
    fw_started();
    return 0;
}
