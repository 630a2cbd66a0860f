// The operations the window's controls offer to the game, whatever draws them. Every read or write
// reports success, or failure with the platform's 32-bit status code for the failed operation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fernwick {

class [[nodiscard]] Result {
  public:
    static Result success() { return Result(true, 0); }
    static Result failure(std::uint32_t code) { return Result(false, code); }

    bool ok() const { return ok_; }
    std::uint32_t code() const { return code_; }

  private:
    Result(bool ok, std::uint32_t code) : ok_(ok), code_(code) {}
    bool ok_;
    std::uint32_t code_;
};

// Status codes a front end reports when its toolkit has no code of its own. They are the numbers
// the reference platform gives for the same faults, so a message reads the same everywhere.
namespace status_code {
constexpr std::uint32_t kInvalidParameter = 87;       // a value the control cannot take
constexpr std::uint32_t kInvalidWindowHandle = 1400;  // the control no longer exists
}  // namespace status_code

// A text drawn by the window: a heading, or the hidden label that holds the game's state.
class Label {
  public:
    virtual ~Label() = default;
    virtual Result getText(std::u16string& text) const = 0;
    virtual Result setText(std::u16string_view text) = 0;
    // Changes only the size: the face, weight and colour stay. The text is re-wrapped.
    virtual Result setFontSize(float points) = 0;
};

class PushButton {
  public:
    virtual ~PushButton() = default;
    virtual Result setCaption(std::u16string_view caption) = 0;
};

// The frame that shows the dog. The game never changes it.
class PictureFrame {
  public:
    virtual ~PictureFrame() = default;
};

}  // namespace fernwick
