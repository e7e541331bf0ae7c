#pragma once
// The text tip's life: fade in by 25 every 100 ms to full opacity, close by itself after seven
// life periods, and fade out (then close) when the user clicks close, the title or "view".
// The window runs the timers this asks for and applies the opacity.
#include <string_view>

class TextTipFade {
 public:
  static constexpr int kFadeInTimer = 1;
  static constexpr int kFadeOutTimer = 2;
  static constexpr int kLifeTimer = 100;
  static constexpr int kFadeIntervalMs = 100;
  static constexpr int kLifePeriodMs = 10000;
  static constexpr int kLifePeriods = 7;
  static constexpr int kStep = 25;

  enum class Click { kNone, kClose, kOpenLink };

  int alpha() const { return alpha_; }
  int remaining_periods() const { return remaining_; }
  bool fading_in() const { return fading_in_; }
  bool fading_out() const { return fading_out_; }
  bool life_running() const { return life_running_; }
  bool closed() const { return closed_; }

  void OnFadeInTick();
  void OnFadeOutTick();
  void OnLifeTick();
  // The element clicked: "close" fades out; "maintext" and "view" open the link and fade out.
  Click OnClick(std::u16string_view element_id);

 private:
  int alpha_ = 0;
  int remaining_ = kLifePeriods;
  bool fading_in_ = true;
  bool fading_out_ = false;
  bool life_running_ = true;
  bool closed_ = false;
};
