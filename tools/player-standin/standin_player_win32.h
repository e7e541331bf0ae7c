#pragma once
// The stand-in for the outside player control (see standin_player_win32.cpp).
#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <memory>
#include <string>

#include "common/win32/com.h"
#include "common/win32/window_base.h"
#include "tools/player-standin/standin_timeline.h"

// {6B1E27C4-5A93-4D0E-9F28-3C71A4D8E05B}, the class id the program creates.
inline constexpr CLSID kStandinClass = {0x6B1E27C4, 0x5A93, 0x4D0E, {0x9F, 0x28, 0x3C, 0x71, 0xA4, 0xD8, 0xE0, 0x5B}};

HINSTANCE StandinModule();
long StandinObjectCount();

class StandinPlayer final : public IDispatch, public IOleObject, public IOleInPlaceObject {
 public:
  StandinPlayer();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch: the player's members by their fixed ids
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

 private:
  ~StandinPlayer();
  // The window the player draws into while it is in place.
  class View final : public WindowBase {
   public:
    View(StandinPlayer& player, HWND parent, const RECT& area);
    HWND hwnd() const { return hwnd_; }

   private:
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    StandinPlayer& player_;
  };

  HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result);
  void CreateView(HWND parent, const RECT& area);
  void DestroyView();
  void Paint(HWND hwnd, HDC dc);
  HWND view() const { return view_ ? view_->hwnd() : nullptr; }

  LONG references_ = 1;
  ComPtr<IOleClientSite> site_;
  ComPtr<IOleInPlaceSite> in_place_site_;
  std::unique_ptr<View> view_;
  SIZEL extent_{8467, 6350};
  std::wstring media_url_;
  StandinTimeline timeline_;
  long volume_ = 50;
  bool muted_ = false;
};
