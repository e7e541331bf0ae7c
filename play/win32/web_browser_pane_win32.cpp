#include "play/win32/web_browser_pane_win32.h"

#include <exdisp.h>
#include <exdispid.h>
#include <mshtmhst.h>

#include <fstream>

#include "common/win32/dispatch.h"
#include "common/win32/in_place_site.h"
#include "common/win32/trace.h"
#include "common/win32/wide.h"

namespace {

constexpr wchar_t kPaneClass[] = L"VexoWebBrowserPane";
// CGID_DocHostCommandHandler, which mingw's uuid library leaves out.
constexpr GUID kDocHostCommandHandler = {0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

std::u16string VariantText(const VARIANT* value) {
  if (!value) return {};
  if (value->vt == (VT_BYREF | VT_VARIANT)) value = value->pvarVal;
  if (!value || value->vt != VT_BSTR || !value->bstrVal) return {};
  return FromWide(std::wstring_view(value->bstrVal, SysStringLen(value->bstrVal)));
}

// The address of the link under the pointer: the element's own "href", or its nearest
// enclosing element's (the text of an anchor is a node inside it).
std::u16string LinkUnder(IDispatch* element) {
  if (element) element->AddRef();
  ComPtr<IDispatch> node = ComPtr<IDispatch>::Adopt(element);
  for (int depth = 0; node && depth < 4; ++depth) {
    Variant href;
    if (SUCCEEDED(InvokeByName(node.get(), L"href", DISPATCH_PROPERTYGET, {}, href.get())) && href.type() == VT_BSTR &&
        href.value().bstrVal && SysStringLen(href.value().bstrVal) > 0) {
      return VariantText(&href.value());
    }
    Variant parent;
    if (FAILED(InvokeByName(node.get(), L"parentElement", DISPATCH_PROPERTYGET, {}, parent.get()))) break;
    node = DispatchOf(parent);
  }
  return {};
}

}  // namespace

// The container side: the in-place site, plus the document host (the context menu) and the
// event sink.
class WebBrowserSite final : public InPlaceSite, public IDocHostUIHandler, public IOleCommandTarget, public IDispatch {
 public:
  WebBrowserSite(HWND host, ControlName name, BrowserPaneEvents& events)
      : InPlaceSite(host), name_(name), events_(events) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return InPlaceSite::QueryInterface(iid, out); }
  STDMETHODIMP_(ULONG) AddRef() override { return InPlaceSite::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return InPlaceSite::Release(); }
  using InPlaceSite::TranslateAccelerator;
  // The frame and the document host share this one.
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

  // IDocHostUIHandler: the page's own context menu is replaced by the program's.
  STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch* element) override {
    return ComBarrier(L"WebBrowserSite::ShowContextMenu", [&] {
      events_.ContextMenu(name_, LinkUnder(element));
      return S_OK;
    });
  }
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override {
    if (!info) return E_POINTER;
    info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
  }
  STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                      IOleInPlaceUIWindow*) override {
    return S_OK;
  }
  STDMETHODIMP HideUI() override { return S_OK; }
  STDMETHODIMP UpdateUI() override { return S_OK; }
  STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
  STDMETHODIMP GetOptionKeyPath(LPOLESTR*, DWORD) override { return S_FALSE; }
  STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget**) override { return E_NOTIMPL; }
  STDMETHODIMP GetExternal(IDispatch** out) override {
    *out = nullptr;
    return S_FALSE;
  }
  STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override {
    *out = nullptr;
    return S_FALSE;
  }
  STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override {
    *out = nullptr;
    return S_FALSE;
  }
  // IOleCommandTarget: a script error of a page raises no dialog; its scripts go on.
  STDMETHODIMP QueryStatus(const GUID*, ULONG, OLECMD*, OLECMDTEXT*) override { return OLECMDERR_E_UNKNOWNGROUP; }
  STDMETHODIMP Exec(const GUID* group, DWORD command, DWORD, VARIANT*, VARIANT* out) override {
    if (!group || *group != kDocHostCommandHandler) return OLECMDERR_E_UNKNOWNGROUP;
    if (command != OLECMDID_SHOWSCRIPTERROR) return OLECMDERR_E_NOTSUPPORTED;
    if (out) {
      VariantClear(out);
      out->vt = VT_BOOL;
      out->boolVal = VARIANT_TRUE;
    }
    return S_OK;
  }
  // IDispatch: DWebBrowserEvents2
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
    return ComBarrier(L"WebBrowserSite::Invoke", [&] { return OnEvent(id, params); });
  }

  bool document_completed = false;
  bool navigate_failed = false;

 private:
  HRESULT OnEvent(DISPID id, DISPPARAMS* params) {
    switch (id) {
      case DISPID_BEFORENAVIGATE2:
        if (params && params->cArgs >= 7) {
          bool cancel = false;
          events_.BeforeNavigate(name_, VariantText(&params->rgvarg[5]), cancel);
          if (params->rgvarg[0].vt == (VT_BYREF | VT_BOOL) && params->rgvarg[0].pboolVal) {
            *params->rgvarg[0].pboolVal = cancel ? VARIANT_TRUE : VARIANT_FALSE;
          }
        }
        break;
      case DISPID_NAVIGATEERROR:
        if (params && params->cArgs >= 5) {
          long status = 0;
          const VARIANT* code = &params->rgvarg[1];
          if (code->vt == (VT_BYREF | VT_VARIANT) && code->pvarVal) code = code->pvarVal;
          if (code->vt == VT_I4) status = code->lVal;
          navigate_failed = true;
          events_.NavigateError(name_, VariantText(&params->rgvarg[3]), status);
        }
        break;
      case DISPID_DOWNLOADBEGIN: events_.DownloadBegin(name_); break;
      case DISPID_DOWNLOADCOMPLETE: events_.DownloadComplete(name_); break;
      case DISPID_DOCUMENTCOMPLETE: document_completed = true; break;
    }
    return S_OK;
  }

  ~WebBrowserSite() override = default;
  bool QueryMore(REFIID iid, void** out) override {
    if (iid == IID_IDocHostUIHandler) *out = static_cast<IDocHostUIHandler*>(this);
    else if (iid == IID_IOleCommandTarget) *out = static_cast<IOleCommandTarget*>(this);
    else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) *out = static_cast<IDispatch*>(this);
    else return false;
    return true;
  }

  ControlName name_;
  BrowserPaneEvents& events_;
};

std::unique_ptr<WebBrowserPane> WebBrowserPane::Create(HWND parent, ControlName name, BrowserPaneEvents& events) {
  WNDCLASSEXW wc{sizeof wc};
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kPaneClass;
  RegisterWindowClass(wc);
  std::unique_ptr<WebBrowserPane> pane(new WebBrowserPane());
  pane->CreateBound(0, kPaneClass, ToWide(name.text()).c_str(), WS_CHILD | WS_CLIPCHILDREN, 0, 0, 10, 10, parent,
                    nullptr, GetModuleHandleW(nullptr));
  if (!pane->hwnd_) return nullptr;
  if (!Succeeded(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  pane->object_.ReceiveVoid()),
                 L"CoCreateInstance(WebBrowser)") ||
      !pane->object_) {
    return nullptr;
  }
  pane->site_ = ComPtr<WebBrowserSite>::Adopt(new WebBrowserSite(pane->hwnd_, name, events));
  pane->object_->SetClientSite(pane->site_.get());
  OleSetContainedObject(pane->object_.get(), TRUE);
  RECT client{};
  GetClientRect(pane->hwnd_, &client);
  if (!Succeeded(pane->object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, pane->site_.get(), 0, pane->hwnd_, &client),
                 L"WebBrowser DoVerb(OLEIVERB_INPLACEACTIVATE)") ||
      !Succeeded(pane->object_->QueryInterface(IID_IWebBrowser2, pane->browser_.ReceiveVoid()),
                 L"QueryInterface(IWebBrowser2)") ||
      !pane->browser_) {
    return nullptr;
  }
  ComPtr<IConnectionPointContainer> points;
  ComPtr<IConnectionPoint> point;
  DWORD cookie = 0;
  if (SUCCEEDED(pane->object_->QueryInterface(IID_IConnectionPointContainer, points.ReceiveVoid())) && points &&
      SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Receive())) && point) {
    Succeeded(point->Advise(static_cast<IDispatch*>(pane->site_.get()), &cookie), L"Advise(DWebBrowserEvents2)");
  }
  return pane;
}

WebBrowserPane::~WebBrowserPane() {
  if (browser_) browser_->Stop();
  browser_.Reset();
  if (object_) {
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
  }
  object_.Reset();
  site_.Reset();
  Destroy();
}

void WebBrowserPane::Navigate(std::u16string_view address) {
  if (!browser_) return;
  Bstr url(ToWide(address));
  Succeeded(browser_->Navigate(url.get(), nullptr, nullptr, nullptr, nullptr), L"IWebBrowser2::Navigate");
}

void WebBrowserPane::Refresh() {
  if (browser_) browser_->Refresh();
}
void WebBrowserPane::GoBack() {
  if (browser_) browser_->GoBack();
}
void WebBrowserPane::Copy() {
  if (browser_) browser_->ExecWB(OLECMDID_COPY, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
}

void WebBrowserPane::Paste() {
  if (browser_) browser_->ExecWB(OLECMDID_PASTE, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
}

void WebBrowserPane::GoForward() {
  if (browser_) browser_->GoForward();
}
void WebBrowserPane::SetSilent(bool silent) {
  if (browser_) browser_->put_Silent(silent ? VARIANT_TRUE : VARIANT_FALSE);
}

std::u16string WebBrowserPane::LocationUrl() const {
  if (!browser_) return {};
  BSTR url = nullptr;
  if (FAILED(browser_->get_LocationURL(&url)) || !url) return {};
  std::u16string text = FromWide(std::wstring_view(url, SysStringLen(url)));
  SysFreeString(url);
  return text;
}

LRESULT WebBrowserPane::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SIZE && object_) {
    ComPtr<IOleInPlaceObject> in_place;
    if (SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject, in_place.ReceiveVoid())) && in_place) {
      RECT area{0, 0, LOWORD(lparam), HIWORD(lparam)};
      in_place->SetObjectRects(&area, &area);
    }
    return 0;
  }
  return Default(message, wparam, lparam);
}

namespace {
// The hidden window the probing control sits in.
class ProbeOwner final : public WindowBase {
 public:
  ProbeOwner() {
    WNDCLASSEXW wc{sizeof wc};
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VexoPaneProbe";
    RegisterWindowClass(wc);
    CreateBound(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance);
  }
  operator HWND() const { return hwnd_; }
};

class QuietEvents final : public BrowserPaneEvents {
 public:
  void BeforeNavigate(ControlName, std::u16string_view, bool&) override {}
  void DownloadBegin(ControlName) override {}
  void DownloadComplete(ControlName) override {}
  void NavigateError(ControlName, std::u16string_view, long) override {}
  void ContextMenu(ControlName, std::u16string_view) override {}
};
}  // namespace

bool WebBrowserRendersPages(unsigned limit_ms) {
  wchar_t folder[MAX_PATH];
  const DWORD length = GetTempPathW(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) return false;
  const std::wstring page = std::wstring(folder) + L"vexo-pane-probe.htm";
  {
    std::ofstream out(page.c_str(), std::ios::binary);
    out << "<html><body>probe</body></html>";
  }
  const ProbeOwner owner;
  bool renders = false;
  {
    QuietEvents events;
    auto pane = WebBrowserPane::Create(owner, ControlName(u"probe"), events);
    if (pane) {
      pane->Navigate(FromWide(page));
      auto* site = pane->site_.get();
      const ULONGLONG end = GetTickCount64() + limit_ms;
      while (GetTickCount64() < end && !site->document_completed && !site->navigate_failed) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
          TranslateMessage(&message);
          DispatchMessageW(&message);
        }
        Sleep(10);
      }
      renders = site->document_completed && !site->navigate_failed;
    }
  }
  DeleteFileW(page.c_str());
  return renders;
}
