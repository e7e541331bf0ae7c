#pragma once
// The form's accessible object: its drawn controls as simple children, named by caption or
// tool tip, with their role, state and place on the screen, and a click as their default
// action. Screen readers (and the tests) find the buttons through it, since they are no
// windows. It may outlive the renderer in a client's hands: the renderer detaches it first.
#include <windows.h>
#include <oleacc.h>

#include "common/win32/com.h"
#include "play/win32/model_renderer_win32.h"

class DrawnControlsAccessible final : public SingleInterfaceObject<IAccessible> {
 public:
  // Null when the accessibility library cannot be had. The renderer owns the first reference.
  static DrawnControlsAccessible* Create(ModelRenderer& renderer, HWND form);
  // The answer to WM_GETOBJECT for the client area.
  LRESULT Answer(WPARAM wparam);
  // The renderer is going: every call fails from now on, and the renderer's reference goes.
  void Detach();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  // IDispatch: screen readers use the interface's own methods.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  // IAccessible.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  DrawnControlsAccessible(ModelRenderer& renderer, HWND form);
  ~DrawnControlsAccessible() override = default;
  // The child a VARIANT names (0: the form itself), or -1 when it names none.
  long ChildOf(const VARIANT& child) const;

  ModelRenderer* renderer_;
  HWND form_;
};
