#pragma once
// The outside player control, reached only by late-bound calls with fixed dispatch ids. It
// raises no event the program handles: everything is learnt by polling.
#include <string>
#include <string_view>

#include "common/dispatch_member.h"

namespace player {

// Dispatch ids of the control's members.
enum Member : int {
  kMediaUrl = 1,           // put, get: what to play; empty when nothing is loaded
  kMute = 3,               // put: -1 mutes, 0 unmutes
  kFullScreen = 5,         // put: -1 enters full screen
  kVolume = 6,             // get, put
  kDuration = 7,           // get: seconds, may be 0
  kDownloadRate = 8,       // get: kilobytes per second, 0 when no data flows
  kPosition = 10,          // get, put (put seeks): seconds
  kPlay = 12,              // call
  kPause = 13,             // call
  kStop = 14,              // call
  kPlayState = 16,         // get: see State
  kMediaRate = 20,         // get: kilobits per second while playing
  kShowVideoAdjust = 22,   // call with 3
  kDownloadProgress = 26,  // get: per mille fetched
  kPrebuffer = 30,         // call with the next episode's address, by reference
  kAdUrl = 31,             // put: the advertisement page
};

// The members' names, for callers that bind by name.
inline constexpr DispatchMember kMemberNames[] = {
    {L"MediaUrl", kMediaUrl},
    {L"Mute", kMute},
    {L"FullScreen", kFullScreen},
    {L"Volume", kVolume},
    {L"Duration", kDuration},
    {L"DownloadRate", kDownloadRate},
    {L"Position", kPosition},
    {L"Play", kPlay},
    {L"Pause", kPause},
    {L"Stop", kStop},
    {L"PlayState", kPlayState},
    {L"MediaRate", kMediaRate},
    {L"ShowVideoAdjust", kShowVideoAdjust},
    {L"DownloadProgress", kDownloadProgress},
    {L"Prebuffer", kPrebuffer},
    {L"AdUrl", kAdUrl},
};

enum State : int {
  kIdle = 0,
  kStopped = 1,
  kPaused = 2,
  kPlaying = 3,
  kBuffering = 4,
  kWaiting = 5,
  kEnded = 6,
  kPreparing = 7,
  kReconnecting = 8,
  kFetchingSeed = 9,
  kConnecting = 10,
  kStopping = 11,
};

}  // namespace player

class PlayerControl {
 public:
  virtual ~PlayerControl() = default;

  virtual std::u16string MediaUrl() = 0;
  virtual void SetMediaUrl(std::u16string_view url) = 0;
  virtual void SetMute(bool mute) = 0;
  virtual void SetFullScreen() = 0;
  virtual long Volume() = 0;
  virtual void SetVolume(long volume) = 0;
  virtual long Duration() = 0;
  virtual long DownloadRate() = 0;
  virtual long Position() = 0;
  virtual void SetPosition(long seconds) = 0;
  virtual void Play() = 0;
  virtual void Pause() = 0;
  virtual void Stop() = 0;
  virtual int PlayState() = 0;
  virtual long MediaRate() = 0;
  virtual void ShowVideoAdjust() = 0;
  virtual long DownloadProgress() = 0;
  virtual void Prebuffer(std::u16string_view next_media) = 0;
  virtual void SetAdUrl(std::u16string_view url) = 0;

  // Members of the host around the control.
  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() = 0;
  virtual void Move(long left, long top, long width, long height) = 0;
  virtual long Width() = 0;
  virtual long Height() = 0;
};
