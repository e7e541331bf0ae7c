#include "play/win32/player_host_win32.h"

#include "common/win32/dispatch.h"
#include "common/win32/in_place_site.h"
#include "common/win32/trace.h"
#include "common/win32/wide.h"

namespace {

constexpr wchar_t kHostClass[] = L"VexoPlayerHost";

}  // namespace

bool PlayerControlInstalled(const CLSID& clsid) {
  ComPtr<IUnknown> probe;
  return SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, probe.ReceiveVoid())) && probe;
}

PlayerObjectSource RegisteredPlayer(const CLSID& clsid) {
  return [clsid](IOleObject** object) {
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, reinterpret_cast<void**>(object));
  };
}

std::unique_ptr<Win32PlayerHost> Win32PlayerHost::Create(HWND parent, const RECT& place, const CLSID& clsid) {
  return Create(parent, place, RegisteredPlayer(clsid));
}

std::unique_ptr<Win32PlayerHost> Win32PlayerHost::Create(HWND parent, const RECT& place,
                                                         const PlayerObjectSource& source) {
  WNDCLASSEXW wc{sizeof wc};
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kHostClass;
  RegisterWindowClass(wc);
  std::unique_ptr<Win32PlayerHost> host(new Win32PlayerHost());
  host->CreateBound(0, kHostClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, place.left, place.top,
                    place.right - place.left, place.bottom - place.top, parent, nullptr, GetModuleHandleW(nullptr));
  const HWND window = host->hwnd_;
  if (!window) return nullptr;
  if (!Succeeded(source(host->object_.Receive()), L"create the player") || !host->object_) {
    return nullptr;
  }
  host->site_ = ComPtr<InPlaceSite>::Adopt(new InPlaceSite(window));
  host->object_->SetClientSite(host->site_.get());
  RECT client{};
  GetClientRect(window, &client);
  if (!Succeeded(host->object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, host->site_.get(), 0, window, &client),
                 L"player DoVerb(OLEIVERB_INPLACEACTIVATE)") ||
      !Succeeded(host->object_->QueryInterface(IID_IDispatch, host->dispatch_.ReceiveVoid()),
                 L"player QueryInterface(IDispatch)") ||
      !host->dispatch_) {
    return nullptr;
  }
  return host;
}

Win32PlayerHost::~Win32PlayerHost() {
  dispatch_.Reset();
  if (object_) {
    ComPtr<IOleInPlaceObject> in_place;
    if (SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject, in_place.ReceiveVoid())) && in_place) {
      in_place->InPlaceDeactivate();
    }
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
  }
  object_.Reset();
  site_.Reset();
  Destroy();
}

LRESULT Win32PlayerHost::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(hwnd_, &r);
    FillRect(reinterpret_cast<HDC>(wparam), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return 1;
  }
  return Default(message, wparam, lparam);
}

HRESULT Win32PlayerHost::Invoke(int member, WORD flags, std::initializer_list<const VARIANT*> args, VARIANT* result) {
  const HRESULT outcome = InvokeById(dispatch_.get(), member, flags, args, result);
  if (FAILED(outcome)) {
    wchar_t step[64];
    std::swprintf(step, 64, L"player member %d (flags %u)", member, static_cast<unsigned>(flags));
    TraceFailure(step, outcome);
  }
  return outcome;
}

long Win32PlayerHost::GetLong(int member) {
  Variant result;
  if (FAILED(Invoke(member, DISPATCH_PROPERTYGET, {}, result.get()))) return 0;
  Variant converted;
  if (FAILED(VariantChangeType(converted.get(), result.get(), 0, VT_I4))) return 0;
  return converted.value().lVal;
}

void Win32PlayerHost::PutLong(int member, long value) {
  Variant arg = Variant::Int32(value);
  Invoke(member, DISPATCH_PROPERTYPUT, {arg.get()}, nullptr);
}

void Win32PlayerHost::PutBool(int member, bool value) {
  Variant arg = Variant::Bool(value);
  Invoke(member, DISPATCH_PROPERTYPUT, {arg.get()}, nullptr);
}

void Win32PlayerHost::PutString(int member, std::u16string_view text) {
  Variant arg = Variant::String(ToWide(text));
  Invoke(member, DISPATCH_PROPERTYPUT, {arg.get()}, nullptr);
}

void Win32PlayerHost::Call(int member) { Invoke(member, DISPATCH_METHOD, {}, nullptr); }

std::u16string Win32PlayerHost::MediaUrl() {
  Variant result;
  if (FAILED(Invoke(player::kMediaUrl, DISPATCH_PROPERTYGET, {}, result.get())) || result.type() != VT_BSTR ||
      !result.value().bstrVal) {
    return {};
  }
  return FromWide(std::wstring_view(result.value().bstrVal, SysStringLen(result.value().bstrVal)));
}

void Win32PlayerHost::SetMediaUrl(std::u16string_view url) { PutString(player::kMediaUrl, url); }
void Win32PlayerHost::SetMute(bool mute) { PutBool(player::kMute, mute); }
void Win32PlayerHost::SetFullScreen() { PutBool(player::kFullScreen, true); }
long Win32PlayerHost::Volume() { return GetLong(player::kVolume); }
void Win32PlayerHost::SetVolume(long volume) { PutLong(player::kVolume, volume); }
long Win32PlayerHost::Duration() { return GetLong(player::kDuration); }
long Win32PlayerHost::DownloadRate() { return GetLong(player::kDownloadRate); }
long Win32PlayerHost::Position() { return GetLong(player::kPosition); }
void Win32PlayerHost::SetPosition(long seconds) { PutLong(player::kPosition, seconds); }
void Win32PlayerHost::Play() { Call(player::kPlay); }
void Win32PlayerHost::Pause() { Call(player::kPause); }
void Win32PlayerHost::Stop() { Call(player::kStop); }
int Win32PlayerHost::PlayState() { return static_cast<int>(GetLong(player::kPlayState)); }
long Win32PlayerHost::MediaRate() { return GetLong(player::kMediaRate); }
long Win32PlayerHost::DownloadProgress() { return GetLong(player::kDownloadProgress); }
void Win32PlayerHost::SetAdUrl(std::u16string_view url) { PutString(player::kAdUrl, url); }

void Win32PlayerHost::ShowVideoAdjust() {
  Variant three = Variant::Int32(3);
  Invoke(player::kShowVideoAdjust, DISPATCH_METHOD, {three.get()}, nullptr);
}

void Win32PlayerHost::Prebuffer(std::u16string_view next_media) {
  // The control takes the address by reference.
  Bstr text(ToWide(next_media));
  BSTR value = text.get();
  VARIANT arg;
  VariantInit(&arg);
  arg.vt = VT_BYREF | VT_BSTR;
  arg.pbstrVal = &value;
  Invoke(player::kPrebuffer, DISPATCH_METHOD, {&arg}, nullptr);
}

void Win32PlayerHost::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }
bool Win32PlayerHost::Visible() { return IsWindowVisible(hwnd_) != FALSE; }

void Win32PlayerHost::Move(long left, long top, long width, long height) {
  // Its host is erased when it paints, not at each move of a border drag.
  SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
  ComPtr<IOleInPlaceObject> in_place;
  if (object_ && SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject, in_place.ReceiveVoid())) && in_place) {
    RECT area{0, 0, width, height};
    in_place->SetObjectRects(&area, &area);
  }
}

long Win32PlayerHost::Width() {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return r.right - r.left;
}

long Win32PlayerHost::Height() {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return r.bottom - r.top;
}
