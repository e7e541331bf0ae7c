#pragma once
// One control of a window as the behaviour sees it: a name (and index, for control arrays),
// its kind, its container, its place in pixels and the properties handlers read and write.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class ControlKind {
  kPictureBox,  // a container that paints a back colour or a picture
  kLabel,       // text in the window's font
  kImage,       // a hidden holder of a fixed picture (skin and button images)
  kWebBrowser,  // a browser pane
  kLine,
  kPlayer,    // the player control's host
  kCheckBox,  // a check box with its caption; a click toggles `checked`
  kButton,    // a push button with its caption
  kFrame,     // a group frame with its caption on the top edge
};

// A control's name as the design declares it (play/model/ba1_names.h): only the design makes
// one, so a misspelt name does not compile. The text is the name the behaviour writes.
class ControlName {
 public:
  constexpr ControlName() = default;
  explicit constexpr ControlName(std::u16string_view text) : text_(text) {}
  constexpr std::u16string_view text() const { return text_; }
  std::u16string str() const { return std::u16string(text_); }
  constexpr bool empty() const { return text_.empty(); }
  constexpr bool operator==(const ControlName& other) const { return text_ == other.text_; }
  // Names that come back from windows (a pane's events) are compared as text.
  friend constexpr bool operator==(const ControlName& name, std::u16string_view text) { return name.text_ == text; }

 private:
  std::u16string_view text_;
};

// A timer of the window, declared with the controls.
class TimerName {
 public:
  constexpr TimerName() = default;
  explicit constexpr TimerName(std::u16string_view text) : text_(text) {}
  constexpr std::u16string_view text() const { return text_; }
  constexpr bool operator==(const TimerName& other) const { return text_ == other.text_; }

 private:
  std::u16string_view text_;
};

struct ControlId {
  ControlName name;
  int index = -1;  // -1: not a member of a control array
  bool operator==(const ControlId&) const = default;
};

// Colours as the system takes them: 0x00BBGGRR.
using Color = std::uint32_t;
constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}

// A picture shown by a control: an image holder and the rectangle of it that is shown, at
// the control's top left; stretched when a target size is given.
struct PictureSource {
  std::u16string slot;  // the image holder, e.g. "ppt(1)" or "but(4)"
  long x = 0;
  long y = 0;
  long width = 0;
  long height = 0;
  long target_width = 0;  // 0: the source's own size
  long target_height = 0;
  bool operator==(const PictureSource&) const = default;
};

struct Control {
  ControlId id;
  ControlKind kind = ControlKind::kPictureBox;
  ControlId parent;  // empty name: the window itself
  long left = 0;
  long top = 0;
  long width = 0;
  long height = 0;
  bool visible = true;
  bool enabled = true;
  std::u16string caption;
  std::u16string tool_tip;
  Color back_color = Rgb(255, 255, 255);
  Color fore_color = Rgb(0, 0, 0);
  bool auto_size = false;
  bool word_wrap = false;
  std::optional<PictureSource> picture;
  // A label drawn over its container's picture instead of a back colour.
  bool transparent = false;
  // The tool tip shows by the system's own balloon; buttons that show the window's balloon
  // P1 on hover have this off.
  bool system_tip = true;
  // A check box's mark.
  bool checked = false;
  // An image holder: the bitmap resource it holds now (0: none).
  int resource_id = 0;

  // Moves the control; a size is changed only when given, as with the classic Move.
  void Move(long new_left, long new_top, std::optional<long> new_width = std::nullopt,
            std::optional<long> new_height = std::nullopt) {
    left = new_left;
    top = new_top;
    if (new_width) width = *new_width < 0 ? 0 : *new_width;
    if (new_height) height = *new_height < 0 ? 0 : *new_height;
  }
  long right() const { return left + width; }
  long bottom() const { return top + height; }
};

struct TimerSpec {
  TimerName name;
  int interval_ms = 0;
  bool enabled = false;
};
