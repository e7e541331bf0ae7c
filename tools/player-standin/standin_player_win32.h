#pragma once
// The stand-in for the outside player control (see standin_player_win32.cpp).
#include <windows.h>

#include <memory>
#include <string>

#include "common/win32/in_place_control.h"
#include "common/win32/server_module.h"
#include "common/win32/window_base.h"
#include "tools/player-standin/standin_timeline.h"

// {6B1E27C4-5A93-4D0E-9F28-3C71A4D8E05B}, the class id the program creates.
inline constexpr CLSID kStandinClass = {0x6B1E27C4, 0x5A93, 0x4D0E, {0x9F, 0x28, 0x3C, 0x71, 0xA4, 0xD8, 0xE0, 0x5B}};

class StandinPlayer final : public InPlaceControl {
 public:
  StandinPlayer();

 private:
  ~StandinPlayer() override;
  // The window the player draws into while it is in place.
  class Canvas final : public WindowBase {
   public:
    Canvas(StandinPlayer& player, HWND parent, const RECT& area);
    HWND hwnd() const { return hwnd_; }

   private:
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    StandinPlayer& player_;
  };

  HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override;
  HWND CreateView(HWND parent, const RECT& area) override;
  void DestroyView() override { view_.reset(); }
  HWND View() const override { return view_ ? view_->hwnd() : nullptr; }
  void Paint(HWND hwnd, HDC dc);

  std::unique_ptr<Canvas> view_;
  std::wstring media_url_;
  StandinTimeline timeline_;
  long volume_ = 50;
  bool muted_ = false;
};
