// The control bar's buttons: play and pause, stop with the position saved, mute, full screen,
// opening a local file, video adjustment and the shutdown menu; and the buttons' faces.
#include "play/main_window.h"
#include "play/startup/run_startup.h"
#include "play/text/text_procedures.h"

namespace {

// The transport pictures but(0) to but(17): normal and under-the-mouse face of each button in
// each of its states. but(16) is the scheduled-shutdown button while the shutdown is armed.
struct Faces {
  int normal;
  int hover;
};

Faces TransportFaces(int index, const Control& button) {
  switch (index) {
    case 0: return button.tool_tip == u"暂停" ? Faces{1, 4} : Faces{2, 5};
    case 1: return {3, 6};
    case 2: return button.tool_tip == u"静音" ? Faces{7, 9} : Faces{8, 10};
    case 3: return {11, 12};
    case 4: return {0, 13};
    case 5: return {14, 15};
    default: {
      const int face = button.tool_tip.find(u"已开启") != std::u16string::npos ? 16 : 17;
      return {face, face};
    }
  }
}

constexpr std::u16string_view kMediaFilter = u"影音文件|*.rm;*.rmvb;*.wmv;*.mp3;*wma;*mid;*wav;*mpg;*mp4|所有文件|*.*";

}  // namespace

void MainWindow::ShowTransportFace(int index, bool hover) {
  Control& button = model_(ba1::bo_but, index);
  const Faces faces = TransportFaces(index, button);
  const Control& image = model_(ba1::but, hover ? faces.hover : faces.normal);
  button.picture = PictureSource{ControlText(image.id), 0, 0, image.width, image.height};
}

// The current item's place in its list: the history for a site item, the local list for a file.
void MainWindow::SavePosition(long position) {
  if (context_.current_item == u"0" || position <= 0) return;
  if (context_.panel_source == 1) {
    ports_.lists.SaveWebPosition(IniNumber(context_.current_item), position);
  } else if (context_.panel_source == 2) {
    ports_.lists.SaveLocalPosition(context_.current_item, position);
  }
}

void MainWindow::ShowPlayFace(bool playing) {
  model_(ba1::bo_but, 0).tool_tip = playing ? u"暂停" : u"播放";
  ShowTransportFace(0, false);
}

// A file of this computer the user chose (the open-file button, a drop): it plays, and the
// local list records it.
void MainWindow::OpenLocalFile(const std::u16string& chosen) {
  WindowModel& w = model_;
  PlayerControl& player = ports_.player;
  const std::u16string path = chosen;  // the handlers below may run events
  bo_but_Click(1);
  NewChoice();
  NewItem();
  player.SetMediaUrl(path);
  player.Play();
  w.Timer(ba1::Timer1).enabled = true;
  w(ba1::bo_name).caption = FileNameOfPath(path);
  if (compact_mode_ == 1) w(ba1::ni_name).caption = w(ba1::ni_bo1).caption = w(ba1::bo_name).caption;
  ports_.lists.AddLocalEntry(w(ba1::bo_name).caption, path, 0);
  context_.panel_source = 2;
  context_.current_item = path;
  npc_Click(9);
}

void MainWindow::bo_but_Click(int index) {
  WindowModel& w = model_;
  PlayerControl& player = ports_.player;
  w(ba1::P1).visible = false;
  switch (index) {
    case 0:
      if (player.MediaUrl().empty()) return;
      if (w(ba1::bo_but, 0).tool_tip == u"暂停") {
        w(ba1::bo_ad).visible = true;
        w(ba1::VexoC).visible = false;
        player.Pause();
        ShowPlayFace(false);
        w(ba1::zhun).caption = u"已暂停";
      } else {
        context_.resume_done = 0;
        player.Play();
        ShowPlayFace(true);
        w(ba1::zhun).caption = u"正在播放";
        w.Timer(ba1::Timer1).enabled = true;
      }
      return;
    case 1:
      if (player.MediaUrl().empty()) return;
      w(ba1::bo_ad).visible = true;
      w(ba1::VexoC).visible = false;
      SavePosition(context_.last_position);
      context_.last_position = 0;
      w.Timer(ba1::Timer1).enabled = false;
      player.Stop();
      ShowPlayFace(false);
      w(ba1::zhun).caption = u"已停止";
      return;
    case 2: {
      Control& mute = w(ba1::bo_but, 2);
      const bool muting = mute.tool_tip == u"静音";
      mute.tool_tip = muting ? u"取消静音" : u"静音";
      player.SetMute(muting);
      ShowTransportFace(2, false);
      return;
    }
    case 3:
      if (player.PlayState() != player::kPlaying) return;
      ShowTransportFace(3, false);
      player.SetFullScreen();
      return;
    case 4: {
      ShowTransportFace(4, false);
      const std::optional<std::u16string> chosen = ports_.dialogs.OpenFile(kMediaFilter, u"选择播放文件");
      if (!chosen || chosen->empty()) return;
      OpenLocalFile(*chosen);
      return;
    }
    case 5:
      if (player.PlayState() == player::kPlaying) player.ShowVideoAdjust();
      return;
    case 6: ShowShutdownMenu(); return;
    default: return;
  }
}
