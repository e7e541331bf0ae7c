#pragma once
// The player control, created by its class id and activated in place inside a container
// window of ours (the host), reached by late-bound calls with its fixed dispatch ids.
#include <windows.h>
#include <ole2.h>

#include <functional>
#include <initializer_list>
#include <memory>

#include "common/win32/com.h"
#include "common/win32/window_base.h"
#include "play/ports/player_control.h"

// {6B1E27C4-5A93-4D0E-9F28-3C71A4D8E05B}
inline constexpr CLSID kPlayerControlClass = {
    0x6B1E27C4, 0x5A93, 0x4D0E, {0x9F, 0x28, 0x3C, 0x71, 0xA4, 0xD8, 0xE0, 0x5B}};

// Whether the control can be created at all (it is installed).
bool PlayerControlInstalled(const CLSID& clsid = kPlayerControlClass);

// Makes the control's object (a new reference in *object), or fails.
using PlayerObjectSource = std::function<HRESULT(IOleObject** object)>;
// The class's registered server, through COM.
PlayerObjectSource RegisteredPlayer(const CLSID& clsid);

class InPlaceSite;

class Win32PlayerHost final : public PlayerControl, private WindowBase {
 public:
  // Creates the host window inside `parent` at the given place and the control in it; nullptr
  // when the control cannot be created or activated.
  static std::unique_ptr<Win32PlayerHost> Create(HWND parent, const RECT& place,
                                                 const CLSID& clsid = kPlayerControlClass);
  static std::unique_ptr<Win32PlayerHost> Create(HWND parent, const RECT& place, const PlayerObjectSource& source);
  ~Win32PlayerHost() override;

  HWND host_window() const { return hwnd_; }

  std::u16string MediaUrl() override;
  void SetMediaUrl(std::u16string_view url) override;
  void SetMute(bool mute) override;
  void SetFullScreen() override;
  long Volume() override;
  void SetVolume(long volume) override;
  long Duration() override;
  long DownloadRate() override;
  long Position() override;
  void SetPosition(long seconds) override;
  void Play() override;
  void Pause() override;
  void Stop() override;
  int PlayState() override;
  long MediaRate() override;
  void ShowVideoAdjust() override;
  long DownloadProgress() override;
  void Prebuffer(std::u16string_view next_media) override;
  void SetAdUrl(std::u16string_view url) override;

  void SetVisible(bool visible) override;
  bool Visible() override;
  void Move(long left, long top, long width, long height) override;
  long Width() override;
  long Height() override;

 private:
  Win32PlayerHost() = default;
  long GetLong(int member);
  void PutLong(int member, long value);
  void PutBool(int member, bool value);
  void PutString(int member, std::u16string_view text);
  void Call(int member);
  // Calls a member by its dispatch id; a failure stays silent to the user but is traced.
  HRESULT Invoke(int member, WORD flags, std::initializer_list<const VARIANT*> args, VARIANT* result);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  ComPtr<InPlaceSite> site_;
  ComPtr<IOleObject> object_;
  ComPtr<IDispatch> dispatch_;
};
