#pragma once
// A window as data: its controls in creation order (parents before children), its timers,
// and its own outer size and place in twips. Handlers change it; the renderer mirrors it.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "play/model/control.h"

inline constexpr long kTwipsPerPixel = 15;

enum class WindowState { kNormal, kMinimized, kMaximized };

// A piece of the window's own surface (the frame): a rectangle of an image holder copied,
// stretched when the sizes differ, to a rectangle of the window.
struct FramePiece {
  PictureSource source;
  long left = 0;
  long top = 0;
  long width = 0;
  long height = 0;
  bool operator==(const FramePiece&) const = default;
};

class WindowModel {
 public:
  WindowModel() = default;
  WindowModel(std::vector<Control> controls, std::vector<TimerSpec> timers);

  // The control, which must exist: a name that the design has but this model lacks is a
  // programming error.
  Control& operator()(ControlName name, int index = -1);
  const Control& operator()(ControlName name, int index = -1) const;
  Control* Find(const ControlId& id);
  const std::vector<Control>& controls() const { return controls_; }
  std::vector<Control>& controls() { return controls_; }
  // The members of a control array, by index.
  std::vector<Control*> Array(ControlName name);

  TimerSpec& Timer(TimerName name);
  const std::vector<TimerSpec>& timers() const { return timers_; }

  // The window's outer size and place (twips) and its inner size (pixels).
  long width_twips = 0;
  long height_twips = 0;
  long left_twips = 0;
  long top_twips = 0;
  long scale_width = 0;   // ScaleWidth: inner width in pixels
  long scale_height = 0;  // ScaleHeight
  WindowState state = WindowState::kNormal;
  std::u16string caption;
  // The frame, painted in this order before the children; empty until a skin paints it.
  std::vector<FramePiece> frame;

 private:
  std::vector<Control> controls_;
  std::vector<TimerSpec> timers_;
};

// "npc(4)" or "zz": the control's name as the behaviour writes it.
std::u16string ControlText(const ControlId& id);
