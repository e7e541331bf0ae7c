#pragma once
// A player control that records what it is told and reports what the test sets.
#include <string>
#include <vector>

#include "common/text/utf.h"
#include "play/ports/player_control.h"

class FakePlayer final : public PlayerControl {
 public:
  std::u16string MediaUrl() override { return media_url; }
  void SetMediaUrl(std::u16string_view url) override {
    media_url = url;
    calls.push_back("MediaUrl " + Utf16ToUtf8(url));
  }
  void SetMute(bool mute) override { calls.push_back(mute ? "Mute -1" : "Mute 0"); }
  void SetFullScreen() override { calls.push_back("FullScreen"); }
  long Volume() override { return volume; }
  void SetVolume(long v) override { volume = v; }
  long Duration() override { return duration; }
  long DownloadRate() override { return download_rate; }
  long Position() override { return position; }
  void SetPosition(long seconds) override {
    position = seconds;
    calls.push_back("Position " + std::to_string(seconds));
  }
  void Play() override {
    state = player::kConnecting;
    calls.push_back("Play");
  }
  void Pause() override {
    state = player::kPaused;
    calls.push_back("Pause");
  }
  void Stop() override {
    state = player::kStopped;
    calls.push_back("Stop");
  }
  int PlayState() override { return state; }
  long MediaRate() override { return media_rate; }
  void ShowVideoAdjust() override { calls.push_back("ShowVideoAdjust 3"); }
  long DownloadProgress() override { return progress; }
  void Prebuffer(std::u16string_view next) override { calls.push_back("Prebuffer " + Utf16ToUtf8(next)); }
  void SetAdUrl(std::u16string_view url) override { calls.push_back("AdUrl " + Utf16ToUtf8(url)); }
  void SetVisible(bool v) override { visible = v; }
  bool Visible() override { return visible; }
  void Move(long l, long t, long w, long h) override { left = l, top = t, width = w, height = h; }
  long Width() override { return width; }
  long Height() override { return height; }

  std::u16string media_url;
  std::vector<std::string> calls;
  int state = player::kIdle;
  long volume = 50, duration = 0, download_rate = 0, position = 0, media_rate = 0, progress = 0;
  bool visible = true;
  long left = 0, top = 0, width = 0, height = 0;
};
