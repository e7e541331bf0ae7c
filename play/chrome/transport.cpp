// The seek bar and the volume slider of the player panel, with the mouse and the arrow keys.
// Positions and lengths are whole seconds; the thumb's Left is the position on a scale from 0
// to the seek span, the knob's Left the volume on a scale from 0 to the volume span.
#include <algorithm>
#include <cmath>

#include "common/text/decimal.h"
#include "play/main_window.h"
#include "play/text/text_procedures.h"

namespace {

constexpr int kSpace = 32;
constexpr int kLeftArrow = 37;
constexpr int kUpArrow = 38;
constexpr int kRightArrow = 39;
constexpr int kDownArrow = 40;

// The share a / b, or nothing when b is no length at all (an empty item, a track no wider
// than its thumb): then there is nowhere to seek or set.
std::optional<double> Share(double a, double b) {
  if (b <= 0) return std::nullopt;
  return a / b;
}

long VolumeSpan(WindowModel& w) { return w(ba1::yin).width - w(ba1::bo_v).width; }

std::u16string VolumeText(long volume) { return u"音量：" + Decimal(volume) + u"%"; }

}  // namespace

long MainWindow::SeekSpan() { return model_(ba1::gunt).width - model_(ba1::gunt1).width; }

// Seeks to the second nearest `target` (halves to even), and pulls a seek beyond the end back
// to two seconds before it.
void MainWindow::SeekTo(double target) {
  PlayerControl& player = ports_.player;
  player.SetPosition(static_cast<long>(std::nearbyint(target)));
  const long duration = player.Duration();
  if (duration < player.Position()) player.SetPosition(duration - 2);
}

void MainWindow::gunt_MouseDown(bool left, long x) {
  ports_.host.LetPendingEventsRun();
  if (left) model_(ba1::gunt1).left = x;
}

void MainWindow::huan_MouseDown(bool left, long x) {
  ports_.host.LetPendingEventsRun();
  if (left) model_(ba1::gunt1).left = x;
}

void MainWindow::gunt1_MouseMove(bool left, long x) {
  if (!left) return;
  ports_.host.LetPendingEventsRun();
  Control& thumb = model_(ba1::gunt1);
  thumb.left = std::clamp(thumb.left + x, 0L, std::max(0L, SeekSpan()));
}

void MainWindow::gunt_MouseUp() {
  ports_.host.LetPendingEventsRun();
  const auto share = Share(model_(ba1::gunt1).left, SeekSpan());
  if (share) SeekTo(*share * ports_.player.Duration());
}

void MainWindow::huan_MouseUp() {
  ports_.host.LetPendingEventsRun();
  const auto share = Share(model_(ba1::gunt1).left, SeekSpan());
  if (share) SeekTo(*share * ports_.player.Duration() - 2);
}

// Let go of the thumb: two seconds before the place, unless it is at the very start.
void MainWindow::gunt1_MouseUp() {
  ports_.host.LetPendingEventsRun();
  const long left = model_(ba1::gunt1).left;
  const auto share = Share(left, SeekSpan());
  if (share) SeekTo(*share * ports_.player.Duration() - (left > 2 ? 2 : 0));
}

// Any change of the volume leaves the sound on.
void MainWindow::Unmute() {
  model_(ba1::bo_but, 2).tool_tip = u"静音";
  ports_.player.SetMute(false);
  ShowTransportFace(2, false);
}

// Places the knob (and the level bar with it) and sends the volume it stands for: the share
// of the track, truncated to a whole percent. The volume sent, or nothing for a track no
// wider than its knob.
std::optional<long> MainWindow::PlaceVolumeKnob(long left) {
  WindowModel& w = model_;
  Control& knob = w(ba1::bo_v);
  knob.left = left;
  w(ba1::bo_y).width = std::max(0L, knob.left);
  const auto share = Share(knob.left, VolumeSpan(w));
  if (!share) return std::nullopt;
  const long volume = static_cast<long>(std::trunc(*share * 100));
  ports_.player.SetVolume(volume);
  w(ba1::zhun).caption = VolumeText(ports_.player.Volume());
  return volume;
}

void MainWindow::yin_MouseDown(bool left, long x) {
  if (!left) return;
  Unmute();
  const long span = VolumeSpan(model_);
  PlaceVolumeKnob(x <= span ? x : span);
}

// The level bar reports its own pixels, as the track does.
void MainWindow::bo_y_MouseDown(bool left, long x) { yin_MouseDown(left, x); }

void MainWindow::bo_v_MouseMove(bool left, long x) {
  if (!left) return;
  Unmute();
  Control& knob = model_(ba1::bo_v);
  const long place = knob.left + x;
  if (place < 0 || place > VolumeSpan(model_)) return;  // past either end the knob stays where it was
  if (const auto volume = PlaceVolumeKnob(place)) knob.tool_tip = Decimal(*volume);
}

// The volume a step up or down, as the arrow keys and the media keys move it: the sound on,
// the status line and the slider's knob following.
void MainWindow::StepVolume(long by) {
  WindowModel& w = model_;
  PlayerControl& player = ports_.player;
  Unmute();
  player.SetVolume(player.Volume() + by);
  const long volume = player.Volume();
  w(ba1::zhun).caption = VolumeText(volume);
  // The knob stays on its track even when the player takes a volume beyond either end.
  const long span = std::max(0L, VolumeSpan(w));
  Control& knob = w(ba1::bo_v);
  knob.left = std::clamp(span * volume / 100, 0L, span);
  w(ba1::bo_y).width = knob.left;
}

void MainWindow::StepPosition(bool back) {
  WindowModel& w = model_;
  PlayerControl& player = ports_.player;
  const long position = player.Position();
  if (position <= 0) return;
  if (back) {
    player.SetPosition(position - 10);
    if (player.Position() < 0) player.SetPosition(0);
  } else {
    player.SetPosition(position + 10);
    ports_.host.LetPendingEventsRun();
    if (player.Duration() < player.Position()) player.SetPosition(player.Duration() - 2);
  }
  const long now = player.Position();
  const long duration = player.Duration();
  const auto share = Share(back ? now : now + 10, duration);
  w(ba1::gunt1).left = share ? std::lround(*share * SeekSpan()) : 0;
  w(ba1::times).caption = FormatPlayTime(now) + u" / " + FormatPlayTime(duration);
}

void MainWindow::Form_KeyDown(int key_code) {
  WindowModel& w = model_;
  if (!w(ba1::vexo).visible) return;
  ports_.host.LetPendingEventsRun();
  TimerSpec& monitor = w.Timer(ba1::Timer1);
  switch (key_code) {
    case kSpace: bo_but_Click(0); break;
    case kLeftArrow:
    case kRightArrow:
      monitor.enabled = false;
      StepPosition(key_code == kLeftArrow);
      break;
    case kUpArrow:
    case kDownArrow:
      monitor.enabled = false;
      StepVolume(key_code == kUpArrow ? 10 : -10);
      break;
    default: break;
  }
  monitor.enabled = true;
}
