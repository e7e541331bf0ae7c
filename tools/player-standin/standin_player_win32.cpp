// The stand-in player control: an in-place activated ActiveX object answering the player's
// dispatch ids, playing along its timeline and drawing a visible frame (the media name, the
// state, a moving position bar).
#include "tools/player-standin/standin_player_win32.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

#include "common/text/utf.h"
#include "common/win32/event_log.h"
#include "common/win32/gdi_scope.h"
#include "common/win32/trace.h"
#include "common/win32/unique_handle.h"
#include "common/win32/wide.h"
#include "play/ports/player_control.h"

namespace {

constexpr wchar_t kWindowClass[] = L"VexoStandinPlayerView";

StandinTimeline::Ms Now() { return static_cast<StandinTimeline::Ms>(GetTickCount64()); }

// Calls are written to the file VEXO_STANDIN_LOG names, one a line, so tests can see them.
void Log(const std::wstring& line) { AppendEventLog(L"VEXO_STANDIN_LOG", Utf16ToUtf8(FromWide(line))); }

const wchar_t* StateName(int state) {
  static const wchar_t* kNames[] = {L"空闲",     L"已停止", L"已暂停",   L"正在播放", L"正在缓冲", L"等待",
                                    L"播放完毕", L"准备中", L"重新连接", L"获取种子", L"正在连接", L"正在停止"};
  return state >= 0 && state < 12 ? kNames[state] : L"?";
}

}  // namespace

StandinPlayer::StandinPlayer() : InPlaceControl(kStandinClass, player::kMemberNames, std::size(player::kMemberNames)) {}
StandinPlayer::~StandinPlayer() { DestroyView(); }

HRESULT StandinPlayer::InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) {
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  const auto now = Now();
  std::wstring text;
  long number = 0;
  switch (id) {
    case player::kMediaUrl:
      if (put) {
        if (!DispatchArgString(params, 0, text)) return DISP_E_TYPEMISMATCH;
        media_url_ = text;
        timeline_.Load(FromWide(text));
        Log(L"MediaUrl " + text);
      } else {
        SetResultString(result, media_url_);
      }
      break;
    case player::kMute:
      if (!put || !DispatchArgLong(params, 0, number)) return DISP_E_MEMBERNOTFOUND;
      muted_ = number != 0;
      Log(muted_ ? L"Mute on" : L"Mute off");
      break;
    case player::kFullScreen:
      if (!put) return DISP_E_MEMBERNOTFOUND;
      Log(L"FullScreen");
      break;
    case player::kVolume:
      if (put) {
        if (!DispatchArgLong(params, 0, number)) return DISP_E_TYPEMISMATCH;
        volume_ = number < 0 ? 0 : number > 100 ? 100 : number;
      } else {
        SetResultLong(result, volume_);
      }
      break;
    case player::kDuration: SetResultLong(result, timeline_.Duration(now)); break;
    case player::kDownloadRate: SetResultLong(result, timeline_.DownloadRate(now)); break;
    case player::kPosition:
      if (put) {
        if (!DispatchArgLong(params, 0, number)) return DISP_E_TYPEMISMATCH;
        timeline_.Seek(number, now);
        Log(L"Position " + std::to_wstring(number));
      } else {
        SetResultLong(result, timeline_.Position(now));
      }
      break;
    case player::kPlay:
      timeline_.Play(now);
      Log(L"Play " + media_url_);
      break;
    case player::kPause:
      timeline_.Pause(now);
      Log(L"Pause");
      break;
    case player::kStop:
      timeline_.Stop(now);
      Log(L"Stop");
      break;
    case player::kPlayState: SetResultLong(result, timeline_.State(now)); break;
    case player::kMediaRate: SetResultLong(result, timeline_.MediaRate(now)); break;
    case player::kShowVideoAdjust:
      DispatchArgLong(params, 0, number);
      Log(L"ShowVideoAdjust " + std::to_wstring(number));
      break;
    case player::kDownloadProgress: SetResultLong(result, timeline_.DownloadProgress(now)); break;
    case player::kPrebuffer:
      if (!DispatchArgString(params, 0, text)) return DISP_E_TYPEMISMATCH;
      Log(L"Prebuffer " + text);
      break;
    case player::kAdUrl:
      if (!put || !DispatchArgString(params, 0, text)) return DISP_E_MEMBERNOTFOUND;
      Log(L"AdUrl " + text);
      break;
    default: return DISP_E_MEMBERNOTFOUND;
  }
  if (View()) InvalidateRect(View(), nullptr, FALSE);
  return S_OK;
}

StandinPlayer::Canvas::Canvas(StandinPlayer& player, HWND parent, const RECT& area) : player_(player) {
  WNDCLASSEXW wc{sizeof wc};
  wc.hInstance = ServerModule();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowClass;
  RegisterWindowClass(wc);
  CreateBound(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, area.left, area.top,
              area.right - area.left, area.bottom - area.top, parent, nullptr, ServerModule());
  if (hwnd_) SetTimer(hwnd_, 1, 250, nullptr);
}

LRESULT StandinPlayer::Canvas::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_TIMER: InvalidateRect(hwnd_, nullptr, FALSE); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      const PaintScope paint(hwnd_);
      player_.Paint(hwnd_, paint.dc());
      return 0;
    }
  }
  return Default(message, wparam, lparam);
}

HWND StandinPlayer::CreateView(HWND parent, const RECT& area) {
  view_ = std::make_unique<Canvas>(*this, parent, area);
  if (!view_->hwnd()) view_.reset();
  return View();
}

void StandinPlayer::Paint(HWND hwnd, HDC target) {
  RECT client{};
  GetClientRect(hwnd, &client);
  const UniqueMemoryDc memory(CreateCompatibleDC(target));
  const UniqueBitmap bitmap(CreateCompatibleBitmap(target, client.right, client.bottom));
  if (!memory || !bitmap) return;
  const HDC dc = memory.get();
  const ScopedSelect select_bitmap(dc, bitmap.get());
  const auto now = Now();
  const int state = timeline_.State(now);
  // A dark picture with a slow colour drift while playing, so a screenshot shows it moving.
  const long position = timeline_.Position(now);
  const BYTE glow = state == player::kPlaying ? static_cast<BYTE>(40 + (position * 7) % 60) : 24;
  FillRect(dc, &client, UniqueBrush(CreateSolidBrush(RGB(16, 20, glow))).get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(235, 240, 250));
  std::wstring name = media_url_;
  const auto cut = name.find_last_of(L"/\\");
  if (cut != std::wstring::npos) name = name.substr(cut + 1);
  name = name.substr(0, name.find(L'?'));
  RECT title = client;
  title.top = client.bottom / 2 - 30;
  DrawTextW(dc, name.empty() ? L"(no media)" : name.c_str(), -1, &title, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  wchar_t line[128];
  const long duration = timeline_.Duration(now);
  std::swprintf(line, 128, L"%ls  %ld:%02ld / %ld:%02ld  %ld‰", StateName(state), position / 60, position % 60,
                duration / 60, duration % 60, timeline_.DownloadProgress(now));
  RECT status = client;
  status.top = client.bottom / 2;
  DrawTextW(dc, line, -1, &status, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  // The position bar along the bottom edge.
  RECT track{20, client.bottom - 24, client.right - 20, client.bottom - 18};
  FillRect(dc, &track, UniqueBrush(CreateSolidBrush(RGB(70, 78, 92))).get());
  if (duration > 0) {
    RECT done = track;
    done.right = track.left + (track.right - track.left) * position / duration;
    FillRect(dc, &done, UniqueBrush(CreateSolidBrush(RGB(43, 124, 240))).get());
  }
  BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}
