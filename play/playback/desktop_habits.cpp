// What every video player on the desktop does besides playing: the display stays awake while
// an item plays, the keyboard's media keys and a remote's buttons work the player's buttons,
// and video files dropped on the window play.
#include <algorithm>
#include <array>

#include "play/main_window.h"
#include "play/text/text_procedures.h"

namespace {

// The states in which an item is under way: the user watches, or waits for it to go on.
bool UnderWay(int state) {
  switch (state) {
    case player::kPlaying:
    case player::kBuffering:
    case player::kWaiting:
    case player::kPreparing:
    case player::kReconnecting:
    case player::kConnecting: return true;
    default: return false;
  }
}

// What the player control plays (the open-file dialog's types and the usual video files).
bool IsMediaFileName(std::u16string_view name) {
  static constexpr std::array<std::u16string_view, 24> kExtensions = {
      u".mp4",  u".mkv", u".avi", u".wmv", u".webm", u".mpg", u".mpeg", u".ts",  u".m4v", u".mov",  u".flv", u".rm",
      u".rmvb", u".asf", u".vob", u".3gp", u".m2ts", u".ogv", u".mp3",  u".wma", u".wav", u".flac", u".aac", u".m4a"};
  const auto dot = name.rfind(u'.');
  if (dot == std::u16string_view::npos) return false;
  std::u16string extension(name.substr(dot));
  for (char16_t& c : extension) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return std::find(kExtensions.begin(), kExtensions.end(), extension) != kExtensions.end();
}

}  // namespace

void MainWindow::ObservePlayback() {
  // After every event: the cheap question first.
  const bool awake = UnderWay(ports_.player.PlayState()) && !ports_.player.MediaUrl().empty();
  if (awake == awake_) return;
  awake_ = awake;
  ports_.desktop.KeepAwake(awake);
}

void MainWindow::ReleaseAwake() {
  if (!awake_) return;
  awake_ = false;
  ports_.desktop.KeepAwake(false);
}

bool MainWindow::AppCommand(int command) {
  PlayerControl& player = ports_.player;
  // What the player does now, not the button's face, which the monitor sets only on its tick.
  const bool playing = UnderWay(player.PlayState());
  const auto play_button = [&](bool pause) {
    ShowPlayFace(pause);
    bo_but_Click(0);
  };
  switch (command) {
    case app_command::kPlayPause: play_button(playing); break;
    case app_command::kPlay:
      if (!playing) play_button(false);
      break;
    case app_command::kPause:
      if (playing) play_button(true);
      break;
    case app_command::kStop: bo_but_Click(1); break;
    case app_command::kVolumeMute: bo_but_Click(2); break;
    case app_command::kVolumeUp:
    case app_command::kVolumeDown: StepVolume(command == app_command::kVolumeUp ? 10 : -10); break;
    case app_command::kNextTrack:
      // Only where the site has named the next episode: a file of this computer has none.
      if (!player.MediaUrl().empty() && context_.next_link != u"0" && context_.next_link != u"1" &&
          context_.next_link != u"3") {
        SavePosition(player.Position());
        GoToNextEpisode();
      }
      break;
    default: return false;
  }
  return true;
}

void MainWindow::FilesDropped(const std::vector<std::u16string>& paths) {
  std::vector<std::u16string> media;
  bool refused = false;
  for (const std::u16string& path : paths) {
    if (ports_.files.IsFullPath(path) && IsMediaFileName(path) && ports_.files.Exists(path)) media.push_back(path);
    else refused = true;
  }
  if (refused) ports_.host.TrayBalloon(u"不支持的文件");
  if (media.empty()) return;
  // The others first, so that the one playing is the latest entry of the list.
  for (auto it = media.rbegin(); it + 1 != media.rend(); ++it) {
    ports_.lists.AddLocalEntry(FileNameOfPath(*it), *it, 0);
  }
  OpenLocalFile(media.front());
}
