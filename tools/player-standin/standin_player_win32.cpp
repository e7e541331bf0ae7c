// The stand-in player control: an in-place activated ActiveX object answering the player's
// dispatch ids, playing along its timeline and drawing a visible frame (the media name, the
// state, a moving position bar).
#include "tools/player-standin/standin_player_win32.h"

#include <cstdio>
#include <cstdlib>
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
std::atomic<long> g_objects{0};

StandinTimeline::Ms Now() { return static_cast<StandinTimeline::Ms>(GetTickCount64()); }

// Calls are written to the file VEXO_STANDIN_LOG names, one a line, so tests can see them.
void Log(const std::wstring& line) { AppendEventLog(L"VEXO_STANDIN_LOG", Utf16ToUtf8(FromWide(line))); }

const wchar_t* StateName(int state) {
  static const wchar_t* kNames[] = {L"空闲",     L"已停止", L"已暂停",   L"正在播放", L"正在缓冲", L"等待",
                                    L"播放完毕", L"准备中", L"重新连接", L"获取种子", L"正在连接", L"正在停止"};
  return state >= 0 && state < 12 ? kNames[state] : L"?";
}

struct MemberName {
  const wchar_t* name;
  DISPID id;
};
const MemberName kMembers[] = {
    {L"MediaUrl", player::kMediaUrl},
    {L"Mute", player::kMute},
    {L"FullScreen", player::kFullScreen},
    {L"Volume", player::kVolume},
    {L"Duration", player::kDuration},
    {L"DownloadRate", player::kDownloadRate},
    {L"Position", player::kPosition},
    {L"Play", player::kPlay},
    {L"Pause", player::kPause},
    {L"Stop", player::kStop},
    {L"PlayState", player::kPlayState},
    {L"MediaRate", player::kMediaRate},
    {L"ShowVideoAdjust", player::kShowVideoAdjust},
    {L"DownloadProgress", player::kDownloadProgress},
    {L"Prebuffer", player::kPrebuffer},
    {L"AdUrl", player::kAdUrl},
};

// The n-th argument (in natural order) as a string, following a reference if there is one.
bool ArgString(const DISPPARAMS* params, UINT n, std::wstring& out) {
  if (!params || n >= params->cArgs) return false;
  const VARIANT& arg = params->rgvarg[params->cArgs - 1 - n];
  const VARIANT* value = &arg;
  VARIANT deref;
  if (arg.vt == (VT_BYREF | VT_VARIANT) && arg.pvarVal) value = arg.pvarVal;
  if (value->vt == (VT_BYREF | VT_BSTR)) {
    out = value->pbstrVal && *value->pbstrVal ? std::wstring(*value->pbstrVal, SysStringLen(*value->pbstrVal)) : L"";
    return true;
  }
  VariantInit(&deref);
  if (FAILED(VariantChangeType(&deref, const_cast<VARIANT*>(value), 0, VT_BSTR))) return false;
  out = deref.bstrVal ? std::wstring(deref.bstrVal, SysStringLen(deref.bstrVal)) : L"";
  VariantClear(&deref);
  return true;
}

bool ArgLong(const DISPPARAMS* params, UINT n, long& out) {
  if (!params || n >= params->cArgs) return false;
  VARIANT converted;
  VariantInit(&converted);
  if (FAILED(VariantChangeType(&converted, &params->rgvarg[params->cArgs - 1 - n], 0, VT_I4))) return false;
  out = converted.lVal;
  return true;
}

void SetLong(VARIANT* result, long value) {
  if (!result) return;
  VariantInit(result);
  result->vt = VT_I4;
  result->lVal = value;
}

}  // namespace

long StandinObjectCount() { return g_objects.load(); }

StandinPlayer::StandinPlayer() { ++g_objects; }
StandinPlayer::~StandinPlayer() {
  DestroyView();
  --g_objects;
}

STDMETHODIMP StandinPlayer::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch) *out = static_cast<IDispatch*>(this);
  else if (iid == IID_IOleObject) *out = static_cast<IOleObject*>(this);
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject) *out = static_cast<IOleInPlaceObject*>(this);
  else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) StandinPlayer::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
STDMETHODIMP_(ULONG) StandinPlayer::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

STDMETHODIMP StandinPlayer::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  HRESULT result = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    for (const MemberName& member : kMembers) {
      if (_wcsicmp(names[i], member.name) == 0) ids[i] = member.id;
    }
    if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
  }
  return result;
}

STDMETHODIMP StandinPlayer::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                   UINT*) {
  return ComBarrier(L"StandinPlayer::Invoke", [&] { return InvokeMember(id, flags, params, result); });
}

HRESULT StandinPlayer::InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) {
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  const auto now = Now();
  std::wstring text;
  long number = 0;
  switch (id) {
    case player::kMediaUrl:
      if (put) {
        if (!ArgString(params, 0, text)) return DISP_E_TYPEMISMATCH;
        media_url_ = text;
        timeline_.Load(FromWide(text));
        Log(L"MediaUrl " + text);
      } else if (result) {
        VariantInit(result);
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocStringLen(media_url_.data(), static_cast<UINT>(media_url_.size()));
      }
      break;
    case player::kMute:
      if (!put || !ArgLong(params, 0, number)) return DISP_E_MEMBERNOTFOUND;
      muted_ = number != 0;
      Log(muted_ ? L"Mute on" : L"Mute off");
      break;
    case player::kFullScreen:
      if (!put) return DISP_E_MEMBERNOTFOUND;
      Log(L"FullScreen");
      break;
    case player::kVolume:
      if (put) {
        if (!ArgLong(params, 0, number)) return DISP_E_TYPEMISMATCH;
        volume_ = number < 0 ? 0 : number > 100 ? 100 : number;
      } else {
        SetLong(result, volume_);
      }
      break;
    case player::kDuration: SetLong(result, timeline_.Duration(now)); break;
    case player::kDownloadRate: SetLong(result, timeline_.DownloadRate(now)); break;
    case player::kPosition:
      if (put) {
        if (!ArgLong(params, 0, number)) return DISP_E_TYPEMISMATCH;
        timeline_.Seek(number, now);
        Log(L"Position " + std::to_wstring(number));
      } else {
        SetLong(result, timeline_.Position(now));
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
    case player::kPlayState: SetLong(result, timeline_.State(now)); break;
    case player::kMediaRate: SetLong(result, timeline_.MediaRate(now)); break;
    case player::kShowVideoAdjust:
      ArgLong(params, 0, number);
      Log(L"ShowVideoAdjust " + std::to_wstring(number));
      break;
    case player::kDownloadProgress: SetLong(result, timeline_.DownloadProgress(now)); break;
    case player::kPrebuffer:
      if (!ArgString(params, 0, text)) return DISP_E_TYPEMISMATCH;
      Log(L"Prebuffer " + text);
      break;
    case player::kAdUrl:
      if (!put || !ArgString(params, 0, text)) return DISP_E_MEMBERNOTFOUND;
      Log(L"AdUrl " + text);
      break;
    default: return DISP_E_MEMBERNOTFOUND;
  }
  if (view()) InvalidateRect(view(), nullptr, FALSE);
  return S_OK;
}

STDMETHODIMP StandinPlayer::SetClientSite(IOleClientSite* site) {
  site_ = ComPtr<IOleClientSite>();
  if (site) {
    site->AddRef();
    site_ = ComPtr<IOleClientSite>::Adopt(site);
  }
  return S_OK;
}

STDMETHODIMP StandinPlayer::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = site_.get();
  if (*site) (*site)->AddRef();
  return S_OK;
}

STDMETHODIMP StandinPlayer::Close(DWORD) {
  InPlaceDeactivate();
  site_.Reset();
  return S_OK;
}

STDMETHODIMP StandinPlayer::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT rect) {
  if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW && verb != OLEIVERB_UIACTIVATE &&
      verb != OLEIVERB_PRIMARY) {
    return OLEOBJ_S_INVALIDVERB;
  }
  if (view_) return S_OK;
  IOleClientSite* client = site ? site : site_.get();
  if (!client) return E_UNEXPECTED;
  if (FAILED(client->QueryInterface(IID_IOleInPlaceSite, in_place_site_.ReceiveVoid())) || !in_place_site_) {
    return E_NOINTERFACE;
  }
  if (in_place_site_->CanInPlaceActivate() != S_OK) return E_FAIL;
  HWND host = parent;
  if (!host) in_place_site_->GetWindow(&host);
  RECT area = rect ? *rect : RECT{0, 0, 320, 240};
  ComPtr<IOleInPlaceFrame> frame;
  ComPtr<IOleInPlaceUIWindow> document;
  RECT position{}, clip{};
  OLEINPLACEFRAMEINFO info{sizeof info};
  if (SUCCEEDED(in_place_site_->GetWindowContext(frame.Receive(), document.Receive(), &position, &clip, &info))) {
    area = position;
  }
  in_place_site_->OnInPlaceActivate();
  CreateView(host, area);
  return view_ ? S_OK : E_FAIL;
}

STDMETHODIMP StandinPlayer::GetUserClassID(CLSID* clsid) {
  *clsid = kStandinClass;
  return S_OK;
}

STDMETHODIMP StandinPlayer::SetExtent(DWORD, SIZEL* size) {
  if (size) extent_ = *size;
  return S_OK;
}

STDMETHODIMP StandinPlayer::GetExtent(DWORD, SIZEL* size) {
  if (!size) return E_POINTER;
  *size = extent_;
  return S_OK;
}

STDMETHODIMP StandinPlayer::GetMiscStatus(DWORD, DWORD* status) {
  *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
  return S_OK;
}

STDMETHODIMP StandinPlayer::GetWindow(HWND* out) {
  if (!out) return E_POINTER;
  *out = view();
  return *out ? S_OK : E_FAIL;
}

STDMETHODIMP StandinPlayer::InPlaceDeactivate() {
  DestroyView();
  if (in_place_site_) in_place_site_->OnInPlaceDeactivate();
  in_place_site_.Reset();
  return S_OK;
}

STDMETHODIMP StandinPlayer::SetObjectRects(LPCRECT position, LPCRECT) {
  if (view() && position) {
    MoveWindow(view(), position->left, position->top, position->right - position->left,
               position->bottom - position->top, TRUE);
  }
  return S_OK;
}

StandinPlayer::View::View(StandinPlayer& player, HWND parent, const RECT& area) : player_(player) {
  WNDCLASSEXW wc{sizeof wc};
  wc.hInstance = StandinModule();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowClass;
  RegisterWindowClass(wc);
  CreateBound(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, area.left, area.top,
              area.right - area.left, area.bottom - area.top, parent, nullptr, StandinModule());
  if (hwnd_) SetTimer(hwnd_, 1, 250, nullptr);
}

LRESULT StandinPlayer::View::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
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

void StandinPlayer::CreateView(HWND parent, const RECT& area) {
  view_ = std::make_unique<View>(*this, parent, area);
  if (!view_->hwnd()) view_.reset();
}

void StandinPlayer::DestroyView() { view_.reset(); }

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
