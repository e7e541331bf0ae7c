#pragma once
// What a video player asks of the desktop session while it plays: that the display and the
// system stay awake.
class DesktopSession {
 public:
  virtual ~DesktopSession() = default;
  // True while an item plays: the screen saver and the power plan leave the display on.
  virtual void KeepAwake(bool awake) = 0;
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
