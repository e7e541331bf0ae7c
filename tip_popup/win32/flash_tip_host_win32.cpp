#include "tip_popup/win32/flash_tip_host_win32.h"

#include <windowsx.h>

#include "common/codepage.h"
#include "common/win32/dispatch.h"
#include "common/win32/wide.h"

namespace {

const CLSID kFlashClass = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID kFlashInterface = {0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID kFlashEvents = {0xD27CDB6D, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr DISPID kFsCommand = 150;

// The storage handed to the control at creation; it keeps nothing.
class NullStorage final : public IStorage {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IStorage) {
      *out = static_cast<IStorage*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateStream(LPCOLESTR, DWORD, DWORD, DWORD, IStream**) override { return E_NOTIMPL; }
  STDMETHODIMP OpenStream(LPCOLESTR, void*, DWORD, DWORD, IStream**) override { return E_NOTIMPL; }
  STDMETHODIMP CreateStorage(LPCOLESTR, DWORD, DWORD, DWORD, IStorage**) override { return E_NOTIMPL; }
  STDMETHODIMP OpenStorage(LPCOLESTR, IStorage*, DWORD, SNB, DWORD, IStorage**) override { return E_NOTIMPL; }
  STDMETHODIMP CopyTo(DWORD, const IID*, SNB, IStorage*) override { return E_NOTIMPL; }
  STDMETHODIMP MoveElementTo(LPCOLESTR, IStorage*, LPCOLESTR, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP Commit(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP Revert() override { return E_NOTIMPL; }
  STDMETHODIMP EnumElements(DWORD, void*, DWORD, IEnumSTATSTG**) override { return E_NOTIMPL; }
  STDMETHODIMP DestroyElement(LPCOLESTR) override { return E_NOTIMPL; }
  STDMETHODIMP RenameElement(LPCOLESTR, LPCOLESTR) override { return E_NOTIMPL; }
  STDMETHODIMP SetElementTimes(LPCOLESTR, const FILETIME*, const FILETIME*, const FILETIME*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP SetClass(REFCLSID) override { return S_OK; }
  STDMETHODIMP SetStateBits(DWORD, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
};

NullStorage g_storage;

HRESULT PutProperty(IDispatch* target, const wchar_t* name, const Variant& value) {
  return InvokeByName(target, name, DISPATCH_PROPERTYPUT, {&value.value()}, nullptr);
}

}  // namespace

ComPtr<FlashTipHost> FlashTipHost::Make() { return ComPtr<FlashTipHost>::Adopt(new FlashTipHost()); }

FlashTipHost::~FlashTipHost() { FreeSurface(); }

STDMETHODIMP FlashTipHost::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite) *out = static_cast<IOleClientSite*>(this);
  else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite || iid == IID_IOleInPlaceSiteEx ||
           iid == IID_IOleInPlaceSiteWindowless)
    *out = static_cast<IOleInPlaceSiteWindowless*>(this);
  else if (iid == IID_IOleInPlaceFrame || iid == IID_IOleInPlaceUIWindow) *out = static_cast<IOleInPlaceFrame*>(this);
  else if (iid == IID_IAdviseSink) *out = static_cast<IAdviseSink*>(this);
  else if (iid == IID_IDispatch || iid == kFlashEvents) *out = static_cast<IDispatch*>(this);
  else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) FlashTipHost::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) FlashTipHost::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

STDMETHODIMP FlashTipHost::GetContainer(IOleContainer** out) {
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP FlashTipHost::GetWindow(HWND* out) {
  if (!out) return E_POINTER;
  *out = hwnd_;
  return S_OK;
}

STDMETHODIMP FlashTipHost::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT position,
                                            LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  if (frame) {
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
  }
  if (doc) *doc = nullptr;
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (position) *position = client;
  if (clip) *clip = client;
  if (info) {
    info->fMDIApp = FALSE;
    info->hwndFrame = hwnd_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
  }
  return S_OK;
}

STDMETHODIMP FlashTipHost::OnInPlaceActivateEx(BOOL* no_redraw, DWORD) {
  if (no_redraw) *no_redraw = FALSE;
  return S_OK;
}

STDMETHODIMP FlashTipHost::InvalidateRect(LPCRECT, BOOL) {
  Redraw();
  return S_OK;
}

STDMETHODIMP FlashTipHost::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
  if (id == kFsCommand && params && params->cArgs >= 2) {
    // Arguments arrive last first: command, then its arguments.
    const VARIANT& command = params->rgvarg[params->cArgs - 1];
    if (command.vt == VT_BSTR && command.bstrVal) {
      const std::u16string text = FromWide(std::wstring_view(command.bstrVal, SysStringLen(command.bstrVal)));
      if (ToAnsi(text) == "quit") Quit();
    }
    Sleep(0);
  }
  return S_OK;
}

bool FlashTipHost::Create(const TipRect& rect, DWORD ex_style, DWORD style, HWND owner, HINSTANCE instance,
                          const std::u16string& movie_path) {
  owner_ = owner;
  instance_ = instance;
  movie_path_ = movie_path;
  transparent_ = (ex_style & WS_EX_LAYERED) != 0;
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = &FlashTipHost::WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kFlashTipClass;
  RegisterClassExW(&wc);
  hwnd_ = CreateWindowExW(ex_style, kFlashTipClass, L"VexoTipWindow", style, rect.left, rect.top, rect.width(),
                          rect.height(), owner, nullptr, instance, this);
  if (!hwnd_) return false;

  if (FAILED(OleCreate(kFlashClass, IID_IOleObject, OLERENDER_DRAW, nullptr, static_cast<IOleClientSite*>(this),
                       &g_storage, object_.ReceiveVoid())) ||
      !object_) {
    return false;  // not registered: nothing here can ever be shown
  }
  OleSetContainedObject(object_.get(), TRUE);
  if (FAILED(object_->QueryInterface(kFlashInterface, flash_.ReceiveVoid())) || !flash_) return false;
  if (FAILED(object_->QueryInterface(IID_IViewObjectEx, view_ex_.ReceiveVoid())) || !view_ex_) {
    if (FAILED(object_->QueryInterface(IID_IViewObject, view_.ReceiveVoid())) || !view_) return false;
  }
  if (transparent_) {
    if (FAILED(object_->QueryInterface(IID_IOleInPlaceObjectWindowless, windowless_.ReceiveVoid())) || !windowless_) {
      transparent_ = false;
      if (FAILED(object_->QueryInterface(IID_IOleInPlaceObject, in_place_.ReceiveVoid())) || !in_place_) return false;
    }
  } else if (FAILED(object_->QueryInterface(IID_IOleInPlaceObject, in_place_.ReceiveVoid())) || !in_place_) {
    return false;
  }
  if (!SetUpControl()) return false;
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (FAILED(object_->DoVerb(OLEIVERB_SHOW, nullptr, static_cast<IOleClientSite*>(this), 0, hwnd_, &client))) {
    return false;
  }
  return PlayMovie();
}

bool FlashTipHost::SetUpControl() {
  Variant version;
  if (FAILED(InvokeByName(flash_.get(), L"FlashVersion", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, version.get()))) {
    return false;
  }
  ComPtr<IConnectionPointContainer> points;
  if (FAILED(object_->QueryInterface(IID_IConnectionPointContainer, points.ReceiveVoid())) || !points ||
      FAILED(points->FindConnectionPoint(kFlashEvents, connection_.Receive())) || !connection_ ||
      FAILED(connection_->Advise(static_cast<IDispatch*>(this), &cookie_))) {
    return false;
  }
  if (transparent_ && FAILED(PutProperty(flash_.get(), L"WMode", Variant::String(L"transparent")))) return false;
  return SUCCEEDED(PutProperty(flash_.get(), L"Scale", Variant::String(L"showAll"))) &&
         SUCCEEDED(PutProperty(flash_.get(), L"EmbedMovie", Variant::Bool(false))) &&
         SUCCEEDED(PutProperty(flash_.get(), L"Menu", Variant::Bool(false)));
}

bool FlashTipHost::PlayMovie() {
  if (FAILED(PutProperty(flash_.get(), L"EmbedMovie", Variant::Bool(true)))) return false;
  Variant layer = Variant::Int32(0);
  Variant movie = Variant::String(ToWide(movie_path_));
  if (FAILED(InvokeByName(flash_.get(), L"LoadMovie", DISPATCH_METHOD, {layer.get(), movie.get()}, nullptr))) return false;
  return SUCCEEDED(InvokeByName(flash_.get(), L"Play", DISPATCH_METHOD, {}, nullptr));
}

void FlashTipHost::Destroy() {
  if (connection_ && cookie_) connection_->Unadvise(cookie_);
  connection_.Reset();
  cookie_ = 0;
  windowless_.Reset();
  in_place_.Reset();
  view_ex_.Reset();
  view_.Reset();
  flash_.Reset();
  if (object_) {
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
  }
  object_.Reset();
  if (hwnd_) DestroyWindow(hwnd_);
  FreeSurface();
}

bool FlashTipHost::MakeSurface(const RECT& window) {
  FreeSurface();
  const LONG width = window.right - window.left;
  const LONG height = window.bottom - window.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = ::GetDC(hwnd_);
  surface_dc_ = CreateCompatibleDC(screen);
  ::ReleaseDC(hwnd_, screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  surface_ = CreateDIBSection(surface_dc_, &info, DIB_RGB_COLORS, &pixels_, nullptr, 0);
  if (!surface_) {
    FreeSurface();
    return false;
  }
  surface_old_ = SelectObject(surface_dc_, surface_);
  surface_rect_ = window;
  return true;
}

void FlashTipHost::FreeSurface() {
  if (surface_dc_ && surface_old_) SelectObject(surface_dc_, surface_old_);
  if (surface_) DeleteObject(surface_);
  if (surface_dc_) DeleteDC(surface_dc_);
  surface_dc_ = nullptr;
  surface_ = nullptr;
  surface_old_ = nullptr;
  pixels_ = nullptr;
}

void FlashTipHost::Redraw() {
  if (!hwnd_) return;
  RECT window{};
  GetWindowRect(hwnd_, &window);
  if (!surface_ || !EqualRect(&window, &surface_rect_)) {
    if (!MakeSurface(window)) return;
  }
  const LONG width = window.right - window.left;
  const LONG height = window.bottom - window.top;
  IViewObject* view = view_ex_ ? static_cast<IViewObject*>(view_ex_.get()) : view_.get();
  if (object_ && view) {
    ZeroMemory(pixels_, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    RECTL bounds{0, 0, width, height};
    view->Draw(DVASPECT_TRANSPARENT, -1, nullptr, nullptr, nullptr, surface_dc_, &bounds, nullptr, nullptr, 0);
  }
  POINT position{window.left, window.top};
  SIZE size{width, height};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UpdateLayeredWindow(hwnd_, nullptr, &position, &size, surface_dc_, &source, 0, &blend, ULW_ALPHA);
}

LRESULT FlashTipHost::HitTest(LPARAM lparam) {
  if (!object_ || !view_ex_) return HTNOWHERE;
  RECT window{};
  GetWindowRect(hwnd_, &window);
  POINT mouse{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  DWORD result = HITRESULT_OUTSIDE;
  view_ex_->QueryHitPoint(DVASPECT_CONTENT, &window, mouse, 1, &result);
  // Transparent pixels let the click through to the window below.
  return result == HITRESULT_HIT ? HTCLIENT : HTTRANSPARENT;
}

void FlashTipHost::Quit() {
  if (hwnd_) DestroyWindow(hwnd_);
  PostQuitMessage(0);
}

LRESULT CALLBACK FlashTipHost::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<FlashTipHost*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FlashTipHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  return self->Handle(message, wparam, lparam);
}

LRESULT FlashTipHost::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      if (windowless_ || in_place_) {
        RECT client{};
        GetClientRect(hwnd_, &client);
        IOleInPlaceObject* target = windowless_ ? static_cast<IOleInPlaceObject*>(windowless_.get()) : in_place_.get();
        target->SetObjectRects(&client, &client);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd_, &ps);
      Redraw();
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_CLOSE:
      Quit();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      return HitTest(lparam);
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return 0;
    case WM_SETCURSOR:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
      // Right button down and up stay here: no context menu on the movie.
      if (windowless_) {
        LRESULT result = 0;
        if (windowless_->OnWindowMessage(message, wparam, lparam, &result) == S_OK) return result;
      }
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}
