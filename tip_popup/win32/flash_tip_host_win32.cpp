#include "tip_popup/win32/flash_tip_host_win32.h"

#include <windowsx.h>

#include "common/codepage.h"
#include "common/win32/dispatch.h"
#include "common/win32/gdi_scope.h"
#include "common/win32/trace.h"
#include "common/win32/unique_handle.h"
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

// The 32-bit top-down bitmap the control draws into, selected into its DC while it lives.
struct FlashTipHost::Surface {
  UniqueMemoryDc dc;
  UniqueBitmap bitmap;
  std::unique_ptr<ScopedSelect> selection;
  void* pixels = nullptr;
  RECT rect{};
};

FlashTipHost::~FlashTipHost() = default;

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
  return ComBarrier(L"FlashTipHost::Invoke", [&] {
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
  });
}

bool FlashTipHost::Create(const TipRect& rect, DWORD ex_style, DWORD style, HWND owner, HINSTANCE instance,
                          const std::u16string& movie_path) {
  owner_ = owner;
  instance_ = instance;
  movie_path_ = movie_path;
  transparent_ = (ex_style & WS_EX_LAYERED) != 0;
  WNDCLASSEXW wc{sizeof wc};
  wc.hInstance = instance;
  wc.lpszClassName = kFlashTipClass;
  RegisterWindowClass(wc);
  CreateBound(ex_style, kFlashTipClass, L"VexoTipWindow", style, rect.left, rect.top, rect.width(), rect.height(),
              owner, nullptr, instance);
  if (!hwnd_) return false;
  // Every failure here means nothing could ever show: the caller ends, and the trace says why.
  return SUCCEEDED(CreateControl());
}

HRESULT FlashTipHost::CreateControl() {
  HRESULT result = OleCreate(kFlashClass, IID_IOleObject, OLERENDER_DRAW, nullptr, static_cast<IOleClientSite*>(this),
                             &g_storage, object_.ReceiveVoid());
  if (!Succeeded(result, L"OleCreate(Flash)")) return result;
  if (!object_) return E_NOINTERFACE;
  OleSetContainedObject(object_.get(), TRUE);
  result = object_->QueryInterface(kFlashInterface, flash_.ReceiveVoid());
  if (!Succeeded(result, L"QueryInterface(Flash)")) return result;
  if (FAILED(object_->QueryInterface(IID_IViewObjectEx, view_ex_.ReceiveVoid())) || !view_ex_) {
    result = object_->QueryInterface(IID_IViewObject, view_.ReceiveVoid());
    if (!Succeeded(result, L"QueryInterface(IViewObject)")) return result;
  }
  if (transparent_ && FAILED(object_->QueryInterface(IID_IOleInPlaceObjectWindowless, windowless_.ReceiveVoid()))) {
    transparent_ = false;
  }
  if (!transparent_) {
    result = object_->QueryInterface(IID_IOleInPlaceObject, in_place_.ReceiveVoid());
    if (!Succeeded(result, L"QueryInterface(IOleInPlaceObject)")) return result;
  }
  result = SetUpControl();
  if (FAILED(result)) return result;
  RECT client{};
  GetClientRect(hwnd_, &client);
  result = object_->DoVerb(OLEIVERB_SHOW, nullptr, static_cast<IOleClientSite*>(this), 0, hwnd_, &client);
  if (!Succeeded(result, L"DoVerb(OLEIVERB_SHOW)")) return result;
  return PlayMovie();
}

HRESULT FlashTipHost::SetUpControl() {
  Variant version;
  HRESULT result =
      InvokeByName(flash_.get(), L"FlashVersion", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, version.get());
  if (!Succeeded(result, L"Flash FlashVersion")) return result;
  ComPtr<IConnectionPointContainer> points;
  result = object_->QueryInterface(IID_IConnectionPointContainer, points.ReceiveVoid());
  if (!Succeeded(result, L"QueryInterface(IConnectionPointContainer)")) return result;
  result = points->FindConnectionPoint(kFlashEvents, connection_.Receive());
  if (!Succeeded(result, L"FindConnectionPoint(Flash events)")) return result;
  result = connection_->Advise(static_cast<IDispatch*>(this), &cookie_);
  if (!Succeeded(result, L"Advise(Flash events)")) return result;
  if (transparent_) {
    result = PutProperty(flash_.get(), L"WMode", Variant::String(L"transparent"));
    if (!Succeeded(result, L"Flash WMode")) return result;
  }
  result = PutProperty(flash_.get(), L"Scale", Variant::String(L"showAll"));
  if (!Succeeded(result, L"Flash Scale")) return result;
  result = PutProperty(flash_.get(), L"EmbedMovie", Variant::Bool(false));
  if (!Succeeded(result, L"Flash EmbedMovie")) return result;
  result = PutProperty(flash_.get(), L"Menu", Variant::Bool(false));
  Succeeded(result, L"Flash Menu");
  return result;
}

HRESULT FlashTipHost::PlayMovie() {
  HRESULT result = PutProperty(flash_.get(), L"EmbedMovie", Variant::Bool(true));
  if (!Succeeded(result, L"Flash EmbedMovie")) return result;
  Variant layer = Variant::Int32(0);
  Variant movie = Variant::String(ToWide(movie_path_));
  result = InvokeByName(flash_.get(), L"LoadMovie", DISPATCH_METHOD, {layer.get(), movie.get()}, nullptr);
  if (!Succeeded(result, L"Flash LoadMovie")) return result;
  result = InvokeByName(flash_.get(), L"Play", DISPATCH_METHOD, {}, nullptr);
  Succeeded(result, L"Flash Play");
  return result;
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
  surface_.reset();
}

bool FlashTipHost::MakeSurface(const RECT& window) {
  surface_.reset();
  const LONG width = window.right - window.left;
  const LONG height = window.bottom - window.top;
  if (width <= 0 || height <= 0) return false;
  auto surface = std::make_unique<Surface>();
  {
    const WindowDc screen(hwnd_);
    surface->dc.reset(CreateCompatibleDC(screen.get()));
  }
  if (!surface->dc) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  surface->bitmap.reset(CreateDIBSection(surface->dc.get(), &info, DIB_RGB_COLORS, &surface->pixels, nullptr, 0));
  if (!surface->bitmap) {
    TraceLastError(L"CreateDIBSection");
    return false;
  }
  surface->selection = std::make_unique<ScopedSelect>(surface->dc.get(), surface->bitmap.get());
  surface->rect = window;
  surface_ = std::move(surface);
  return true;
}

void FlashTipHost::Redraw() {
  if (!hwnd_) return;
  RECT window{};
  GetWindowRect(hwnd_, &window);
  if (!surface_ || !EqualRect(&window, &surface_->rect)) {
    if (!MakeSurface(window)) return;
  }
  const LONG width = window.right - window.left;
  const LONG height = window.bottom - window.top;
  IViewObject* view = view_ex_ ? static_cast<IViewObject*>(view_ex_.get()) : view_.get();
  if (object_ && view) {
    ZeroMemory(surface_->pixels, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    RECTL bounds{0, 0, width, height};
    view->Draw(DVASPECT_TRANSPARENT, -1, nullptr, nullptr, nullptr, surface_->dc.get(), &bounds, nullptr, nullptr, 0);
  }
  POINT position{window.left, window.top};
  SIZE size{width, height};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  if (!UpdateLayeredWindow(hwnd_, nullptr, &position, &size, surface_->dc.get(), &source, 0, &blend, ULW_ALPHA)) {
    TraceLastError(L"UpdateLayeredWindow");
  }
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

LRESULT FlashTipHost::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
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
    case WM_CLOSE: Quit(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_NCHITTEST: return HitTest(lparam);
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
  return Default(message, wparam, lparam);
}
