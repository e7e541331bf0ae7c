#include "play/win32/drawn_controls_accessible_win32.h"

#include <string>

#include "common/win32/system_function.h"
#include "common/win32/wide.h"

namespace {

using LresultFromObjectFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using CreateStdAccessibleObjectFunction = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);

HRESULT ReturnText(const std::u16string& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = Bstr(ToWide(text)).Release();
  return *out ? S_OK : E_OUTOFMEMORY;
}

long RoleOf(const ModelRenderer::Described& d) {
  switch (d.kind) {
    case ControlKind::kLabel: return ROLE_SYSTEM_STATICTEXT;
    case ControlKind::kLine: return ROLE_SYSTEM_SEPARATOR;
    case ControlKind::kCheckBox: return ROLE_SYSTEM_CHECKBUTTON;
    case ControlKind::kButton: return ROLE_SYSTEM_PUSHBUTTON;
    case ControlKind::kFrame: return ROLE_SYSTEM_GROUPING;
    case ControlKind::kImage: return ROLE_SYSTEM_GRAPHIC;
    default:
      // A picture box that holds others is a part of the window; one that holds none is
      // something to click (the header's buttons, the tabs, the transport buttons).
      return d.container ? ROLE_SYSTEM_GROUPING : ROLE_SYSTEM_PUSHBUTTON;
  }
}

}  // namespace

DrawnControlsAccessible* DrawnControlsAccessible::Create(ModelRenderer& renderer, HWND form) {
  // Loaded when first asked for: most starts have no screen reader.
  if (!SystemFunction<LresultFromObjectFunction>(L"oleacc.dll", "LresultFromObject")) return nullptr;
  return new DrawnControlsAccessible(renderer, form);
}

DrawnControlsAccessible::DrawnControlsAccessible(ModelRenderer& renderer, HWND form)
    : renderer_(&renderer), form_(form) {}

LRESULT DrawnControlsAccessible::Answer(WPARAM wparam) {
  const auto answer = SystemFunction<LresultFromObjectFunction>(L"oleacc.dll", "LresultFromObject");
  return answer ? answer(__uuidof(IAccessible), wparam, static_cast<IAccessible*>(this)) : 0;
}

void DrawnControlsAccessible::Detach() {
  renderer_ = nullptr;
  Release();
}

HRESULT DrawnControlsAccessible::QueryInterface(REFIID iid, void** out) {
  if (out && iid == __uuidof(IDispatch)) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  return SingleInterfaceObject<IAccessible>::QueryInterface(iid, out);
}

HRESULT DrawnControlsAccessible::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

long DrawnControlsAccessible::ChildOf(const VARIANT& child) const {
  if (!renderer_ || child.vt != VT_I4) return -1;
  if (child.lVal == CHILDID_SELF) return 0;
  return child.lVal >= 1 && child.lVal <= renderer_->DescribedCount() ? child.lVal : -1;
}

HRESULT DrawnControlsAccessible::get_accParent(IDispatch** parent) {
  if (!parent) return E_POINTER;
  *parent = nullptr;
  if (!renderer_) return RPC_E_DISCONNECTED;
  const auto create = SystemFunction<CreateStdAccessibleObjectFunction>(L"oleacc.dll", "CreateStdAccessibleObject");
  if (!create) return S_FALSE;
  return create(form_, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(parent));
}

HRESULT DrawnControlsAccessible::get_accChildCount(LONG* count) {
  if (!count) return E_POINTER;
  *count = renderer_ ? renderer_->DescribedCount() : 0;
  return renderer_ ? S_OK : RPC_E_DISCONNECTED;
}

HRESULT DrawnControlsAccessible::get_accChild(VARIANT child, IDispatch** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return ChildOf(child) > 0 ? S_FALSE : E_INVALIDARG;  // simple children, no objects of their own
}

HRESULT DrawnControlsAccessible::get_accName(VARIANT child, BSTR* name) {
  const long which = ChildOf(child);
  if (which < 0) return E_INVALIDARG;
  if (which == 0) {
    wchar_t title[256] = {};
    GetWindowTextW(form_, title, 256);
    return ReturnText(FromWide(title), name);
  }
  return ReturnText(renderer_->Describe(which)->name, name);
}

HRESULT DrawnControlsAccessible::get_accValue(VARIANT, BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  return S_FALSE;
}

HRESULT DrawnControlsAccessible::get_accDescription(VARIANT child, BSTR* description) {
  const long which = ChildOf(child);
  if (which < 0) return E_INVALIDARG;
  return ReturnText(which == 0 ? std::u16string() : renderer_->Describe(which)->description, description);
}

HRESULT DrawnControlsAccessible::get_accRole(VARIANT child, VARIANT* role) {
  if (!role) return E_POINTER;
  const long which = ChildOf(child);
  if (which < 0) return E_INVALIDARG;
  role->vt = VT_I4;
  role->lVal = which == 0 ? ROLE_SYSTEM_CLIENT : RoleOf(*renderer_->Describe(which));
  return S_OK;
}

HRESULT DrawnControlsAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (!state) return E_POINTER;
  const long which = ChildOf(child);
  if (which < 0) return E_INVALIDARG;
  state->vt = VT_I4;
  state->lVal = 0;
  if (which == 0) {
    if (!IsWindowVisible(form_)) state->lVal |= STATE_SYSTEM_INVISIBLE;
    return S_OK;
  }
  const ModelRenderer::Described d = *renderer_->Describe(which);
  if (!d.showing) state->lVal |= STATE_SYSTEM_INVISIBLE;
  if (!d.enabled) state->lVal |= STATE_SYSTEM_UNAVAILABLE;
  if (d.checked) state->lVal |= STATE_SYSTEM_CHECKED;
  if (d.pressed) state->lVal |= STATE_SYSTEM_PRESSED;
  return S_OK;
}

HRESULT DrawnControlsAccessible::get_accHelp(VARIANT, BSTR* help) {
  if (!help) return E_POINTER;
  *help = nullptr;
  return S_FALSE;
}

HRESULT DrawnControlsAccessible::get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) {
  if (file) *file = nullptr;
  if (topic) *topic = 0;
  return S_FALSE;
}

HRESULT DrawnControlsAccessible::get_accKeyboardShortcut(VARIANT, BSTR* shortcut) {
  if (!shortcut) return E_POINTER;
  *shortcut = nullptr;
  return S_FALSE;
}

HRESULT DrawnControlsAccessible::get_accFocus(VARIANT* focus) {
  if (!focus) return E_POINTER;
  // The controls take no focus: the window has it or not.
  focus->vt = GetFocus() == form_ ? VT_I4 : VT_EMPTY;
  focus->lVal = CHILDID_SELF;
  return S_OK;
}

HRESULT DrawnControlsAccessible::get_accSelection(VARIANT* selection) {
  if (!selection) return E_POINTER;
  selection->vt = VT_EMPTY;
  return S_FALSE;
}

HRESULT DrawnControlsAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
  const long which = ChildOf(child);
  if (which < 0) return E_INVALIDARG;
  const bool clickable = which > 0 && renderer_->Describe(which)->kind != ControlKind::kLine;
  return ReturnText(clickable ? u"单击" : u"", action);
}

HRESULT DrawnControlsAccessible::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) {
  if (!left || !top || !width || !height) return E_POINTER;
  const long which = ChildOf(child);
  if (which < 0) return E_INVALIDARG;
  RECT r{};
  if (which == 0) {
    GetClientRect(form_, &r);
    MapWindowPoints(form_, nullptr, reinterpret_cast<POINT*>(&r), 2);
  } else {
    r = renderer_->Describe(which)->screen;
  }
  *left = r.left, *top = r.top, *width = r.right - r.left, *height = r.bottom - r.top;
  return S_OK;
}

HRESULT DrawnControlsAccessible::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  end->vt = VT_EMPTY;
  const long from = ChildOf(start);
  if (from < 0) return E_INVALIDARG;
  const long count = renderer_->DescribedCount();
  long to = 0;
  switch (direction) {
    case NAVDIR_FIRSTCHILD: to = from == 0 && count > 0 ? 1 : 0; break;
    case NAVDIR_LASTCHILD: to = from == 0 ? count : 0; break;
    case NAVDIR_NEXT: to = from > 0 && from < count ? from + 1 : 0; break;
    case NAVDIR_PREVIOUS: to = from > 1 ? from - 1 : 0; break;
    default: return E_NOTIMPL;
  }
  if (to == 0) return S_FALSE;
  end->vt = VT_I4;
  end->lVal = to;
  return S_OK;
}

HRESULT DrawnControlsAccessible::accHitTest(LONG x, LONG y, VARIANT* child) {
  if (!child) return E_POINTER;
  child->vt = VT_EMPTY;
  if (!renderer_) return RPC_E_DISCONNECTED;
  const POINT at{x, y};
  RECT client{};
  GetClientRect(form_, &client);
  MapWindowPoints(form_, nullptr, reinterpret_cast<POINT*>(&client), 2);
  if (!PtInRect(&client, at)) return S_FALSE;
  child->vt = VT_I4;
  child->lVal = renderer_->DescribedAt(at);
  return S_OK;
}

HRESULT DrawnControlsAccessible::accDoDefaultAction(VARIANT child) {
  const long which = ChildOf(child);
  if (which <= 0) return E_INVALIDARG;
  renderer_->ClickDescribed(which);
  return S_OK;
}
