// The playback monitor: once a second it reads the player and writes the status line, the time,
// the seek thumb and the downloaded share; it resumes an item at its saved place, starts the
// next-episode step, reconnects a stalled connection once, and arms the finish step.
#include <algorithm>

#include "common/text/decimal.h"
#include "play/main_window.h"
#include "play/startup/config_store.h"
#include "play/text/text_procedures.h"

namespace {

constexpr std::u16string_view kSmoothHint = u"如播放卡，先暂停1-2分钟，等等更流畅";
constexpr int kPositionSaveTicks = 30;  // monitor ticks of playback between two saves of the place

}  // namespace

void MainWindow::Timer1_Timer() {
  WindowModel& w = model_;
  PlayerControl& player = ports_.player;
  if (player.MediaUrl().empty()) {
    ShowPlayFace(false);
    w(ba1::zhun).caption = u"准备就绪";
    w(ba1::huan).left = -30;
    download_share_ = 0;
    return;
  }
  const long position = player.Position();
  const long duration = player.Duration();
  context_.last_position = position;

  if (position > duration - 2 && position > 0) {
    w.Timer(ba1::Timer2).enabled = true;
    balloon_setting_ = ReadIniValue(ports_.profile, config_path_, config::kSPao);
    if (balloon_setting_ != config::kOn) return;
    if (w(ba1::bo_but, 6).tool_tip.find(u"已开启") != std::u16string::npos) {
      ports_.host.TrayBalloon(u"即将播放完毕，正准备自动关机！");
    } else if (!context_.next_link.empty() && context_.next_link != u"1" && context_.next_link != u"0" &&
               context_.next_link != u"3") {
      ports_.host.TrayBalloon(u"正在准备播放下一集！");
    }
  }

  last_rate_ = player.DownloadRate();
  if (player.DownloadProgress() > 601 && context_.next_media != u"1" && context_.prebuffer_armed == 0) {
    context_.prebuffer_armed = 1;
    if (context_.next_media != u"0") {
      player.Prebuffer(context_.next_media);
      if (ReadIniValue(ports_.profile, config_path_, config::kSPao) == config::kOn) {
        ports_.host.TrayBalloon(u"开始缓冲下一集！");
      }
    } else {
      // Asked again on later ticks until the site gives an address or says there is none.
      QueryNextEpisode();
      context_.prebuffer_armed = 0;
    }
  }

  last_state_ = player.PlayState();
  Control& status = w(ba1::zhun);
  const std::u16string rate = Decimal(last_rate_);
  if (last_state_ == player::kPlaying) {
    connect_ticks_ = 0;
    if (context_.resume_position > 0 && context_.resume_done == 0) {
      if (player.Position() < context_.resume_position) player.SetPosition(context_.resume_position);
      context_.resume_done = 1;
    }
    w(ba1::bo_ad).visible = false;
    w(ba1::VexoC).visible = true;
    context_.resume_position = player.Position();
    w(ba1::next_s).visible = false;
    ShowPlayFace(true);
    // Every half minute of playback the place is kept as a stop would keep it, so that a
    // crash or a power cut loses at most that much.
    if (++playing_ticks_ >= kPositionSaveTicks) {
      playing_ticks_ = 0;
      SavePosition(player.Position());
    }
  } else {
    w(ba1::bo_ad).visible = true;
    w(ba1::VexoC).visible = false;
  }
  switch (last_state_) {
    case player::kIdle: status.caption = player.MediaUrl().empty() ? u"准备就绪" : u"播放完毕"; break;
    case player::kStopped: status.caption = u"已停止"; break;
    case player::kPaused: status.caption = u"已暂停"; break;
    case player::kPlaying: {
      const std::u16string media_rate = Decimal(player.MediaRate());
      if (last_rate_ >= 1 && player.Position() > 1)
        status.caption = u"播放中(" + rate + u" Kbps/S)  " + std::u16string(kSmoothHint);
      else if (last_rate_ >= 1) status.caption = u"播放中(" + media_rate + u" Kbps)  " + std::u16string(kSmoothHint);
      else status.caption = u"播放中(" + media_rate + u" Kbps)";
      break;
    }
    case player::kBuffering: status.caption = u"正在缓冲 (" + rate + u"Kbps/S)   " + std::u16string(kSmoothHint); break;
    case player::kWaiting: status.caption = u"等待中"; break;
    case player::kEnded: status.caption = u"播放结束"; break;
    case player::kPreparing: status.caption = u"准备读"; break;
    case player::kReconnecting: status.caption = u"重连中"; break;
    case player::kFetchingSeed: status.caption = u"BT种子下载中"; break;
    case player::kConnecting: status.caption = u"正在连接 (" + rate + u"KB/S)  请等待大约30秒，即可观看"; break;
    case player::kStopping: status.caption = u"正在停止"; break;
    default: break;
  }
  if (last_state_ == player::kIdle || last_state_ == player::kStopped || last_state_ == player::kPaused) {
    ShowPlayFace(false);
  }
  if (last_state_ == player::kConnecting && player.DownloadRate() == 0 && last_rate_ == 0 && reconnect_done_ != 1) {
    // Eight silent connecting ticks: reconnect, once per run of the program.
    if (connect_ticks_++ == 7) {
      player.Stop();
      player.Play();
      reconnect_done_ = 1;
      connect_ticks_ = 0;
    }
  }

  const long now = player.Position();
  const long length = player.Duration();
  Control& time = w(ba1::times);
  time.caption = FormatPlayTime(now) + u" / " + FormatPlayTime(length);
  Control& track = w(ba1::gunt);
  Control& thumb = w(ba1::gunt1);
  const long span = std::max(0L, track.width - thumb.width);
  // A player that does not know the length yet may report 0 or less: the thumb waits at 0.
  thumb.left = length > 0 ? static_cast<long>(static_cast<long long>(std::clamp(now, 0L, length)) * span / length) : 0;
  time.left = w(ba1::vexo).width - time.width - 13;
  thumb.tool_tip = FormatPlayTime(now);
  Control& share = w(ba1::huan);
  const long progress = player.DownloadProgress();
  download_share_ = progress;
  if (progress >= 1) share.Move(0, share.top, track.width * std::min(progress, 1000L) / 1000);
  else share.Move(-30, share.top, 0);
}

void MainWindow::Timer2_Timer() {
  WindowModel& w = model_;
  w(ba1::bo_ad).visible = true;
  w(ba1::VexoC).visible = false;
  w(ba1::zhun).caption = u"播放完毕";
  w.Timer(ba1::Timer2).enabled = false;
  if (ShutdownArmed()) {
    w.Timer(ba1::Timer1).enabled = false;
    // The system may sleep and shut down now: nothing holds it awake any more.
    ReleaseAwake();
    ports_.host.ShutdownComputer(true);
    return;
  }
  context_.resume_position = 1;
  context_.last_position = 1;
  if (context_.next_link == u"3") {
    ports_.panes.Navigate(ba1::Web2, kFinishSentinel);
  } else if (!context_.next_link.empty() && context_.next_link != u"1" && context_.next_link != u"0") {
    w.Timer(ba1::Timer1).enabled = false;
    w(ba1::next_s).visible = true;
    ports_.panes.Navigate(ba1::Web2, kFinishSentinel);
  }
}
