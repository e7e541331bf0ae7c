#pragma once
// The part every ActiveX control of ours shares: reference counting, member lookup by name,
// and in-place activation into the window the container gives, where the control's own view
// window lives. A control supplies its members, their invocation and its view.
#include <windows.h>
#include <ole2.h>

#include <string>
#include <string_view>

#include "common/dispatch_member.h"
#include "common/win32/com.h"

class InPlaceControl : public IDispatch, public IOleObject, public IOleInPlaceObject {
 public:
  // Controls alive in this module, for DllCanUnloadNow.
  static long LiveObjects();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT*) override;

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) override;
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD) override;
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT rect) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* clsid) override;
  STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return OLE_S_USEREG; }
  STDMETHODIMP SetExtent(DWORD, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleWindow / IOleInPlaceObject
  STDMETHODIMP GetWindow(HWND* out) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override { return S_OK; }
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
  STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }

 protected:
  InPlaceControl(const CLSID& clsid, const DispatchMember* members, size_t member_count);
  virtual ~InPlaceControl();

  // A member called through IDispatch; exceptions never leave it.
  virtual HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) = 0;
  // The control's own window inside `parent`, made at activation and destroyed at deactivation.
  virtual HWND CreateView(HWND parent, const RECT& area) = 0;
  virtual void DestroyView() = 0;
  virtual HWND View() const = 0;

 private:
  const CLSID clsid_;
  const DispatchMember* const members_;
  const size_t member_count_;
  LONG references_ = 1;
  ComPtr<IOleClientSite> site_;
  ComPtr<IOleInPlaceSite> in_place_site_;
  SIZEL extent_{8467, 6350};
};

// Arguments of a dispatch call, the n-th in natural order. A string argument may come by
// reference or as any kind that converts.
bool DispatchArgString(const DISPPARAMS* params, UINT n, std::wstring& out);
bool DispatchArgLong(const DISPPARAMS* params, UINT n, long& out);
void SetResultLong(VARIANT* result, long value);
void SetResultString(VARIANT* result, std::wstring_view text);
