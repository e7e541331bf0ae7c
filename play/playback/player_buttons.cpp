// The control bar's buttons: play and pause, stop with the position saved, mute, full screen,
// video adjustment.
#include "play/main_window.h"
#include "play/startup/run_startup.h"

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
        w(ba1::bo_but, 0).tool_tip = u"播放";
        w(ba1::zhun).caption = u"已暂停";
      } else {
        context_.resume_done = 0;
        player.Play();
        w(ba1::bo_but, 0).tool_tip = u"暂停";
        w(ba1::zhun).caption = u"正在播放";
        w.Timer(ba1::Timer1).enabled = true;
      }
      return;
    case 1:
      if (player.MediaUrl().empty()) return;
      w(ba1::bo_ad).visible = true;
      w(ba1::VexoC).visible = false;
      if (context_.current_item != u"0" && context_.last_position > 0) {
        if (context_.panel_source == 1) {
          ports_.lists.SaveWebPosition(IniNumber(context_.current_item), context_.last_position);
        } else if (context_.panel_source == 2) {
          ports_.lists.SaveLocalPosition(context_.current_item, context_.last_position);
        }
      }
      context_.last_position = 0;
      w.Timer(ba1::Timer1).enabled = false;
      player.Stop();
      w(ba1::bo_but, 0).tool_tip = u"播放";
      w(ba1::zhun).caption = u"已停止";
      return;
    case 2: {
      Control& mute = w(ba1::bo_but, 2);
      const bool muting = mute.tool_tip == u"静音";
      mute.tool_tip = muting ? u"取消静音" : u"静音";
      player.SetMute(muting);
      return;
    }
    case 3:
      if (player.PlayState() == player::kPlaying) player.SetFullScreen();
      return;
    case 5:
      if (player.PlayState() == player::kPlaying) player.ShowVideoAdjust();
      return;
    case 6: ShowShutdownMenu(); return;
    default:
      // Opening a file comes with its dialog.
      return;
  }
}
