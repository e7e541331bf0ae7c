#include "common/win32/in_place_control.h"

#include <atomic>
#include <string>

#include "common/win32/trace.h"

namespace {

std::atomic<long> g_objects{0};

}  // namespace

long InPlaceControl::LiveObjects() { return g_objects.load(); }

InPlaceControl::InPlaceControl(const CLSID& clsid, const DispatchMember* members, size_t member_count)
    : clsid_(clsid), members_(members), member_count_(member_count) {
  ++g_objects;
}

InPlaceControl::~InPlaceControl() { --g_objects; }

STDMETHODIMP InPlaceControl::QueryInterface(REFIID iid, void** out) {
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

STDMETHODIMP_(ULONG) InPlaceControl::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) InPlaceControl::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

STDMETHODIMP InPlaceControl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  HRESULT result = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    for (size_t m = 0; m < member_count_; ++m) {
      if (_wcsicmp(names[i], members_[m].name) == 0) ids[i] = members_[m].id;
    }
    if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
  }
  return result;
}

STDMETHODIMP InPlaceControl::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                    EXCEPINFO*, UINT*) {
  return ComBarrier(L"InPlaceControl::Invoke", [&] { return InvokeMember(id, flags, params, result); });
}

STDMETHODIMP InPlaceControl::SetClientSite(IOleClientSite* site) {
  site_.Reset();
  if (site) {
    site->AddRef();
    site_ = ComPtr<IOleClientSite>::Adopt(site);
  }
  return S_OK;
}

STDMETHODIMP InPlaceControl::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = site_.get();
  if (*site) (*site)->AddRef();
  return S_OK;
}

STDMETHODIMP InPlaceControl::Close(DWORD) {
  InPlaceDeactivate();
  site_.Reset();
  return S_OK;
}

STDMETHODIMP InPlaceControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT rect) {
  if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW && verb != OLEIVERB_UIACTIVATE &&
      verb != OLEIVERB_PRIMARY) {
    return OLEOBJ_S_INVALIDVERB;
  }
  if (View()) return S_OK;
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
  return CreateView(host, area) ? S_OK : E_FAIL;
}

STDMETHODIMP InPlaceControl::GetUserClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = clsid_;
  return S_OK;
}

STDMETHODIMP InPlaceControl::SetExtent(DWORD, SIZEL* size) {
  if (size) extent_ = *size;
  return S_OK;
}

STDMETHODIMP InPlaceControl::GetExtent(DWORD, SIZEL* size) {
  if (!size) return E_POINTER;
  *size = extent_;
  return S_OK;
}

STDMETHODIMP InPlaceControl::GetMiscStatus(DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
  return S_OK;
}

STDMETHODIMP InPlaceControl::GetWindow(HWND* out) {
  if (!out) return E_POINTER;
  *out = View();
  return *out ? S_OK : E_FAIL;
}

STDMETHODIMP InPlaceControl::InPlaceDeactivate() {
  DestroyView();
  if (in_place_site_) in_place_site_->OnInPlaceDeactivate();
  in_place_site_.Reset();
  return S_OK;
}

STDMETHODIMP InPlaceControl::SetObjectRects(LPCRECT position, LPCRECT) {
  if (View() && position) {
    MoveWindow(View(), position->left, position->top, position->right - position->left,
               position->bottom - position->top, TRUE);
  }
  return S_OK;
}

bool DispatchArgString(const DISPPARAMS* params, UINT n, std::wstring& out) {
  if (!params || n >= params->cArgs) return false;
  const VARIANT& arg = params->rgvarg[params->cArgs - 1 - n];
  const VARIANT* value = &arg;
  if (arg.vt == (VT_BYREF | VT_VARIANT) && arg.pvarVal) value = arg.pvarVal;
  if (value->vt == (VT_BYREF | VT_BSTR)) {
    out = value->pbstrVal && *value->pbstrVal ? std::wstring(*value->pbstrVal, SysStringLen(*value->pbstrVal)) : L"";
    return true;
  }
  Variant converted;
  if (FAILED(VariantChangeType(converted.get(), const_cast<VARIANT*>(value), 0, VT_BSTR))) return false;
  const BSTR text = converted.value().bstrVal;
  out = text ? std::wstring(text, SysStringLen(text)) : L"";
  return true;
}

bool DispatchArgLong(const DISPPARAMS* params, UINT n, long& out) {
  if (!params || n >= params->cArgs) return false;
  Variant converted;
  if (FAILED(VariantChangeType(converted.get(), &params->rgvarg[params->cArgs - 1 - n], 0, VT_I4))) return false;
  out = converted.value().lVal;
  return true;
}

void SetResultLong(VARIANT* result, long value) {
  if (!result) return;
  VariantInit(result);
  result->vt = VT_I4;
  result->lVal = value;
}

void SetResultString(VARIANT* result, std::wstring_view text) {
  if (!result) return;
  VariantInit(result);
  result->vt = VT_BSTR;
  result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}
