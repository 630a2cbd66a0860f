// What the window's controls offer the game, whatever draws them. Every operation reports success
// (with the value, for a read) or failure with the platform's 32-bit status code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace fernwick {

struct Failure {
    std::uint32_t code;
};

// Result<> reports success or failure alone.
template <class T = std::monostate>
class [[nodiscard]] Result {
  public:
    Result(T value = {}) : value_(std::move(value)) {}
    Result(Failure failure) : code_(failure.code) {}

    bool ok() const { return value_.has_value(); }
    const T& value() const { return *value_; }
    std::uint32_t code() const { return code_; }

  private:
    std::optional<T> value_;
    std::uint32_t code_ = 0;
};

// Windows' codes, for toolkits with none of their own: a message reads the same everywhere.
namespace status_code {
constexpr std::uint32_t kInvalidParameter = 87;       // a value the control cannot take
constexpr std::uint32_t kInvalidWindowHandle = 1400;  // the control no longer exists
}  // namespace status_code

// A status code as the platform writes it: "0x" and eight upper-case hexadecimal digits.
std::string hexCode(std::uint32_t code);
// The text of the modal message that reports a failed control operation, with its code.
std::u16string failureMessage(std::uint32_t code);

// A control's rectangle in pixels, relative to the window's client area.
struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const PixelRect&) const = default;
};

// Whatever a front end made for one record of the control table.
class Control {
  public:
    virtual ~Control() = default;
    // The window now lays out at `dpi`: the control goes to `rect` and takes its fonts and
    // picture for that resolution.
    virtual void place(const PixelRect& /*rect*/, int /*dpi*/) {}
};

// A text drawn by the window: a heading, or the hidden label that holds the game's state.
class Label : public Control {
  public:
    virtual Result<std::u16string> getText() const = 0;
    virtual Result<> setText(std::u16string_view text) = 0;
    // Changes only the size: the face, weight and colour stay. The text is re-wrapped.
    virtual Result<> setFontSize(float points) = 0;
};

class PushButton : public Control {
  public:
    virtual Result<> setCaption(std::u16string_view caption) = 0;
};

// The frame that shows the dog. The game never changes it.
class PictureFrame : public Control {};

}  // namespace fernwick
