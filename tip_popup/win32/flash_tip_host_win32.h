#pragma once
// A Flash movie on a per-pixel-alpha layered popup: a hand-written OLE container that
// activates the Flash control windowless, lets it draw into a 32-bit top-down bitmap whenever
// it asks for a repaint, and pushes that bitmap to the window with its alpha channel. The
// movie ends the tip with the Flash command "quit".
#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>

#include <memory>
#include <string>

#include "common/win32/com.h"
#include "common/win32/in_place_frame.h"
#include "common/win32/window_base.h"
#include "tip_popup/placement.h"

inline constexpr wchar_t kFlashTipClass[] = L"TipClassSwf";

class FlashTipHost final : public IOleClientSite,
                           public IOleInPlaceSiteWindowless,
                           public InPlaceFrame,
                           public IAdviseSink,
                           public IDispatch,
                           private WindowBase {
 public:
  static ComPtr<FlashTipHost> Make();

  // Creates the popup and the control and starts the movie. False when the control class is
  // not registered or lacks an interface we need: nothing would ever show, so the caller ends.
  bool Create(const TipRect& rect, DWORD ex_style, DWORD style, HWND owner, HINSTANCE instance,
              const std::u16string& movie_path);
  void Destroy();
  HWND hwnd() const { return hwnd_; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer** out) override;
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (shared by the site and the frame)
  STDMETHODIMP GetWindow(HWND* out) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT position, LPRECT clip,
                                LPOLEINPLACEFRAMEINFO info) override;
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceSiteEx
  STDMETHODIMP OnInPlaceActivateEx(BOOL* no_redraw, DWORD) override;
  STDMETHODIMP OnInPlaceDeactivateEx(BOOL) override { return S_OK; }
  STDMETHODIMP RequestUIActivate() override { return S_FALSE; }

  // IOleInPlaceSiteWindowless
  STDMETHODIMP CanWindowlessActivate() override { return S_OK; }
  STDMETHODIMP GetCapture() override { return S_FALSE; }
  STDMETHODIMP SetCapture(BOOL) override { return S_FALSE; }
  STDMETHODIMP GetFocus() override { return S_OK; }
  STDMETHODIMP SetFocus(BOOL) override { return S_OK; }
  STDMETHODIMP GetDC(LPCRECT, DWORD, HDC*) override { return S_FALSE; }
  STDMETHODIMP ReleaseDC(HDC) override { return S_FALSE; }
  STDMETHODIMP InvalidateRect(LPCRECT, BOOL) override;
  STDMETHODIMP InvalidateRgn(HRGN, BOOL) override { return S_OK; }
  STDMETHODIMP ScrollRect(INT, INT, LPCRECT, LPCRECT) override { return E_NOTIMPL; }
  STDMETHODIMP AdjustRect(LPRECT) override { return S_FALSE; }
  STDMETHODIMP OnDefWindowMessage(UINT, WPARAM, LPARAM, LRESULT*) override { return S_FALSE; }

  // IAdviseSink
  STDMETHODIMP_(void) OnDataChange(FORMATETC*, STGMEDIUM*) override {}
  STDMETHODIMP_(void) OnViewChange(DWORD, LONG) override {}
  STDMETHODIMP_(void) OnRename(IMoniker*) override {}
  STDMETHODIMP_(void) OnSave() override {}
  STDMETHODIMP_(void) OnClose() override {}

  // IDispatch: the control's events
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override;

 private:
  FlashTipHost() = default;
  ~FlashTipHost();

  struct Surface;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  HRESULT CreateControl();
  HRESULT SetUpControl();
  HRESULT PlayMovie();
  void Redraw();
  bool MakeSurface(const RECT& window);
  LRESULT HitTest(LPARAM lparam);
  void Quit();

  LONG references_ = 1;
  HWND owner_ = nullptr;
  HINSTANCE instance_ = nullptr;
  bool transparent_ = false;
  std::u16string movie_path_;

  ComPtr<IOleObject> object_;
  ComPtr<IDispatch> flash_;
  ComPtr<IViewObjectEx> view_ex_;
  ComPtr<IViewObject> view_;
  ComPtr<IOleInPlaceObjectWindowless> windowless_;
  ComPtr<IOleInPlaceObject> in_place_;
  ComPtr<IConnectionPoint> connection_;
  DWORD cookie_ = 0;

  std::unique_ptr<Surface> surface_;
};
