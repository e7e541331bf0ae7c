// What every video player on the desktop does besides playing: the display stays awake while
// an item plays, the keyboard's media keys and a remote's buttons work the player's buttons,
// and video files dropped on the window play.
#include <algorithm>
#include <array>

#include "play/main_window.h"
#include "play/startup/command_line.h"
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

// Explorer starts one copy of the program per file of a selection it opens, and each hands
// its file over; those that come this soon after the last one are of the same selection.
constexpr std::uint64_t kSelectionMs = 2000;

}  // namespace

void MainWindow::ObservePlayback() {
  TaskbarView view;
  view.has_item = !ports_.player.MediaUrl().empty();
  if (view.has_item) {
    view.playing = UnderWay(ports_.player.PlayState());
    view.next_known = NextEpisodeKnown();
    if (download_share_ >= 1 && download_share_ < 1000) view.download_per_mille = static_cast<int>(download_share_);
  }
  if (view.playing != awake_) {
    awake_ = view.playing;
    ports_.desktop.KeepAwake(awake_);
  }
  if (view != taskbar_) {
    taskbar_ = view;
    ports_.desktop.ShowOnTaskbar(view);
  }
}

bool MainWindow::NextEpisodeKnown() const {
  const std::u16string& next = context_.next_link;
  return !next.empty() && next != u"0" && next != u"1" && next != u"3";
}

void MainWindow::ThumbButtonClicked(ThumbButton button) {
  switch (button) {
    case ThumbButton::kBack: {
      if (ports_.player.MediaUrl().empty()) return;
      // As the arrow key moves it, with the monitor held meanwhile.
      TimerSpec& monitor = model_.Timer(ba1::Timer1);
      monitor.enabled = false;
      StepPosition(true);
      monitor.enabled = true;
      return;
    }
    case ThumbButton::kPlayPause: AppCommand(app_command::kPlayPause); return;
    case ThumbButton::kNext: AppCommand(app_command::kNextTrack); return;
  }
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
      if (!player.MediaUrl().empty() && NextEpisodeKnown()) {
        SavePosition(player.Position());
        GoToNextEpisode();
      }
      break;
    default: return false;
  }
  return true;
}

bool MainWindow::FilesDropped(const std::vector<std::u16string>& paths) {
  std::vector<std::u16string> media;
  bool refused = false;
  for (const std::u16string& path : paths) {
    if (ports_.files.IsFullPath(path) && IsMediaFileName(path) && ports_.files.Exists(path)) media.push_back(path);
    else refused = true;
  }
  if (refused) ports_.host.TrayBalloon(u"不支持的文件");
  if (media.empty()) return false;
  // The others first, so that the one playing is the latest entry of the list.
  for (auto it = media.rbegin(); it + 1 != media.rend(); ++it) {
    ports_.lists.AddLocalEntry(FileNameOfPath(*it), *it, 0);
  }
  OpenLocalFile(media.front());
  return true;
}

void MainWindow::MarkFileCommand(std::u16string_view text) {
  const CommandLineRequest request = ClassifyCommandLine(text);
  if (!SeveralQuotedTexts(text).empty() ||
      (request.kind == CommandLineRequest::Kind::kMedia && ports_.files.IsFullPath(request.text))) {
    file_command_ms_ = ports_.clock.MonotonicMs();
  }
}

void MainWindow::ActOnCommandLine(std::u16string_view text) {
  // Marked before it plays, for a hand-off that arrives while this one is opened, and again
  // afterwards, for one that waited for it: opening an item can take seconds.
  MarkFileCommand(text);
  const std::vector<std::u16string> several = SeveralQuotedTexts(text);
  if (!several.empty()) FilesDropped(several);
  else l_com(text);
  MarkFileCommand(text);
}

bool MainWindow::JoinsSelection(std::u16string_view command) {
  if (!file_command_ms_ || ports_.clock.MonotonicMs() - *file_command_ms_ >= kSelectionMs) return false;
  const CommandLineRequest request = ClassifyCommandLine(command);
  const std::u16string& path = request.text;
  if (request.kind != CommandLineRequest::Kind::kMedia || !ports_.files.IsFullPath(path) || !IsMediaFileName(path) ||
      !ports_.files.Exists(path)) {
    return false;
  }
  ports_.lists.AddLocalEntry(FileNameOfPath(path), path, 0);
  file_command_ms_ = ports_.clock.MonotonicMs();
  return true;
}
