#pragma once
// The player as the main window's handlers see it: forwards to the control placed in the
// window, and until one is placed (or when it could not be) answers as an empty player, so
// the window still works for browsing.
#include <memory>

#include "play/ports/player_control.h"

class PlayerSlot final : public PlayerControl {
 public:
  void Place(std::unique_ptr<PlayerControl> player) { player_ = std::move(player); }
  PlayerControl* placed() const { return player_.get(); }

  std::u16string MediaUrl() override { return player_ ? player_->MediaUrl() : url_; }
  void SetMediaUrl(std::u16string_view url) override { player_ ? player_->SetMediaUrl(url) : void(url_ = url); }
  void SetMute(bool mute) override {
    if (player_) player_->SetMute(mute);
  }
  void SetFullScreen() override {
    if (player_) player_->SetFullScreen();
  }
  long Volume() override { return player_ ? player_->Volume() : 0; }
  void SetVolume(long volume) override {
    if (player_) player_->SetVolume(volume);
  }
  long Duration() override { return player_ ? player_->Duration() : 0; }
  long DownloadRate() override { return player_ ? player_->DownloadRate() : 0; }
  long Position() override { return player_ ? player_->Position() : 0; }
  void SetPosition(long seconds) override {
    if (player_) player_->SetPosition(seconds);
  }
  void Play() override {
    if (player_) player_->Play();
  }
  void Pause() override {
    if (player_) player_->Pause();
  }
  void Stop() override {
    if (player_) player_->Stop();
  }
  int PlayState() override { return player_ ? player_->PlayState() : player::kIdle; }
  long MediaRate() override { return player_ ? player_->MediaRate() : 0; }
  void ShowVideoAdjust() override {
    if (player_) player_->ShowVideoAdjust();
  }
  long DownloadProgress() override { return player_ ? player_->DownloadProgress() : 0; }
  void Prebuffer(std::u16string_view next) override {
    if (player_) player_->Prebuffer(next);
  }
  void SetAdUrl(std::u16string_view url) override {
    if (player_) player_->SetAdUrl(url);
  }
  void SetVisible(bool visible) override {
    if (player_) player_->SetVisible(visible);
  }
  bool Visible() override { return player_ && player_->Visible(); }
  void Move(long l, long t, long w, long h) override {
    if (player_) player_->Move(l, t, w, h);
  }
  long Width() override { return player_ ? player_->Width() : 0; }
  long Height() override { return player_ ? player_->Height() : 0; }

 private:
  std::unique_ptr<PlayerControl> player_;
  std::u16string url_;
};
