#pragma once
// What a video player asks of the desktop session while it plays: that the display and the
// system stay awake, and that the task bar shows the player's buttons and the download.
#include <optional>

// The task bar's view of the player: the thumbnail buttons under its preview and the
// progress on its button.
struct TaskbarView {
  bool has_item = false;                  // an item is open: the back button works
  bool playing = false;                   // the middle button pauses (else it plays)
  bool next_known = false;                // the site named the next episode: the next button works
  std::optional<int> download_per_mille;  // shown while the item is still being fetched
  bool operator==(const TaskbarView&) const = default;
};

class DesktopSession {
 public:
  virtual ~DesktopSession() = default;
  // True while an item plays: the screen saver and the power plan leave the display on.
  virtual void KeepAwake(bool awake) = 0;
  // Called when the view changed.
  virtual void ShowOnTaskbar(const TaskbarView& view) = 0;
};

// The keyboard's media keys and a remote's buttons, as the system names them (WM_APPCOMMAND).
namespace app_command {
inline constexpr int kVolumeMute = 8;
inline constexpr int kVolumeDown = 9;
inline constexpr int kVolumeUp = 10;
inline constexpr int kNextTrack = 11;
inline constexpr int kStop = 13;
inline constexpr int kPlayPause = 14;
inline constexpr int kPlay = 46;
inline constexpr int kPause = 47;
}  // namespace app_command

// The thumbnail buttons under the task bar's preview, left to right.
enum class ThumbButton { kBack = 1, kPlayPause = 2, kNext = 3 };
