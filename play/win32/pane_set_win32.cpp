#include "play/win32/pane_set_win32.h"

#include "play/win32/browser_features_win32.h"

#include <objbase.h>

#include <algorithm>
#include <string>

#include "common/win32/trace.h"
#include "common/win32/unique_handle.h"
#include "play/win32/link_list_pane_win32.h"
#include "play/win32/web_browser_pane_win32.h"

namespace {

// {25336920-03F9-11CF-8FD0-00AA00686F13}: the HTML document of the system's engine.
const CLSID kHtmlDocumentClass = {0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};
constexpr wchar_t kVerdictKey[] = L"Software\\VexoPlay\\Panes";

bool HtmlEngineCreatable() {
  IUnknown* document = nullptr;
  const HRESULT result = CoCreateInstance(kHtmlDocumentClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                          reinterpret_cast<void**>(&document));
  if (document) document->Release();
  if (FAILED(result)) TraceFailure(L"CoCreateInstance(HTMLDocument)", result);
  return SUCCEEDED(result) && document;
}

// Names the installed engine: its file's size and time, so that an update is probed again.
std::wstring EngineStamp() {
  wchar_t path[MAX_PATH];
  if (!SearchPathW(nullptr, L"mshtml.dll", nullptr, MAX_PATH, path, nullptr)) return {};
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return {};
  return std::to_wstring(data.nFileSizeLow) + L"-" + std::to_wstring(data.ftLastWriteTime.dwHighDateTime) + L"-" +
         std::to_wstring(data.ftLastWriteTime.dwLowDateTime);
}

// The remembered verdict for this engine: 1 renders, 0 does not, -1 none yet.
int RememberedVerdict(const std::wstring& stamp) {
  UniqueRegKey key;
  if (stamp.empty() || RegOpenKeyExW(HKEY_CURRENT_USER, kVerdictKey, 0, KEY_READ, key.receive()) != ERROR_SUCCESS) {
    return -1;
  }
  DWORD verdict = 0, size = sizeof verdict, type = 0;
  if (RegQueryValueExW(key.get(), stamp.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&verdict), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD) {
    return -1;
  }
  return verdict ? 1 : 0;
}

void RememberVerdict(const std::wstring& stamp, bool renders) {
  if (stamp.empty()) return;
  UniqueRegKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kVerdictKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.receive(), nullptr) !=
      ERROR_SUCCESS) {
    TraceLastError(L"RegCreateKeyExW(pane verdict)");
    return;
  }
  const DWORD verdict = renders ? 1 : 0;
  RegSetValueExW(key.get(), stamp.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&verdict), sizeof verdict);
}

}  // namespace

PaneKind ChoosePaneKind() {
  // Before any web control of this process exists, the probe's included: it reads them once.
  SetBrowserFeatures();
  wchar_t choice[32] = {};
  GetEnvironmentVariableW(L"VEXO_PANE", choice, 32);
  if (lstrcmpiW(choice, L"webbrowser") == 0) return PaneKind::kWebBrowser;
  if (lstrcmpiW(choice, L"linklist") == 0) return PaneKind::kLinkList;
  if (!HtmlEngineCreatable()) return PaneKind::kLinkList;
  const std::wstring stamp = EngineStamp();
  const int remembered = RememberedVerdict(stamp);
  if (remembered >= 0) return remembered ? PaneKind::kWebBrowser : PaneKind::kLinkList;
  const bool renders = WebBrowserRendersPages(kPaneProbeMs);
  RememberVerdict(stamp, renders);
  return renders ? PaneKind::kWebBrowser : PaneKind::kLinkList;
}

void PaneSet::Place(const Control& control, HWND container, bool showing) {
  showing_.insert_or_assign(control.id.name.str(), showing);
  PaneWindow* pane = Find(control.id.name.text());
  if (!pane) {
    if (holding_ && !showing) {
      unmade_.insert_or_assign(control.id.name.str(), std::make_pair(control, container));
      return;
    }
    if (const auto unmade = unmade_.find(control.id.name.text()); unmade != unmade_.end()) unmade_.erase(unmade);
    pane = &Make(control, container);
  } else if (!showing) {
    // Moving a pane that nobody sees would cost a round of window messages at every step of a
    // border drag; it is placed again when it shows. Its own Visible still counts at once.
    if (!control.visible) ShowWindow(pane->hwnd(), SW_HIDE);
    return;
  }
  Position(*pane, control);
}

PaneWindow& PaneSet::Make(const Control& control, HWND container) {
  auto& pane = panes_[control.id.name.str()];
  if (kind_ == PaneKind::kWebBrowser) pane = WebBrowserPane::Create(container, control.id.name, events_);
  if (!pane) pane = std::make_unique<LinkListPane>(container, control.id.name, events_);
  return *pane;
}

void PaneSet::Position(PaneWindow& pane, const Control& control) {
  // The window that laid the panes out repaints where each was and is, once for a whole resize;
  // a pane's own repaint would paint it even where its list covers it all.
  SetWindowPos(pane.hwnd(), nullptr, control.left, control.top, control.width, control.height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS | SWP_DEFERERASE);
  ShowWindow(pane.hwnd(), control.visible ? SW_SHOWNA : SW_HIDE);
}

PaneWindow* PaneSet::FindOrMake(std::u16string_view name) {
  if (PaneWindow* pane = Find(name)) return pane;
  const auto unmade = unmade_.find(name);
  if (unmade == unmade_.end()) return nullptr;
  const auto [control, container] = std::move(unmade->second);
  unmade_.erase(unmade);
  PaneWindow& pane = Make(control, container);
  Position(pane, control);
  return &pane;
}

bool PaneSet::Showing(std::u16string_view name) const {
  const auto found = showing_.find(name);
  return found != showing_.end() && found->second;
}

void PaneSet::LoadHeldShowing() {
  for (std::size_t i = 0; i < held_.size();) {
    if (Showing(held_[i].first)) {
      LoadHeld(std::u16string(held_[i].first));  // may change the list: look again from the start
      i = 0;
    } else {
      ++i;
    }
  }
}

bool PaneSet::LoadHeld(std::u16string_view name) {
  const auto found =
      std::find_if(held_.begin(), held_.end(), [name](const auto& entry) { return entry.first == name; });
  if (found == held_.end()) return false;
  const std::u16string address = std::move(found->second);
  held_.erase(found);
  if (PaneWindow* target = FindOrMake(name)) target->Navigate(address);
  return true;
}

bool PaneSet::ReleaseOne() {
  holding_ = false;
  if (!unmade_.empty()) {
    FindOrMake(std::u16string(unmade_.begin()->first));
    return true;
  }
  if (held_.empty()) return false;
  // The load may let events run, and a handler may send the pane elsewhere meanwhile: the
  // entry goes first, and a later address takes its place.
  const auto [name, address] = std::move(held_.front());
  held_.erase(held_.begin());
  if (PaneWindow* target = Find(name)) target->Navigate(address);
  return true;
}

void PaneSet::ReleaseHeldNavigations() {
  while (ReleaseOne()) {
  }
}

PaneWindow* PaneSet::Find(std::u16string_view name) {
  const auto found = panes_.find(name);
  return found == panes_.end() ? nullptr : found->second.get();
}

void PaneSet::Navigate(ControlName pane, std::u16string_view address) {
  addresses_[pane.str()] = std::u16string(address);
  PaneWindow* target = Find(pane.text());
  const bool unmade = !target && unmade_.find(pane.text()) != unmade_.end();
  if (!target && !unmade) return;
  const auto held =
      std::find_if(held_.begin(), held_.end(), [&pane](const auto& entry) { return entry.first == pane.text(); });
  if (held != held_.end()) held_.erase(held);  // this address replaces it
  if (unmade || (holding_ && !Showing(pane.text()))) {
    held_.emplace_back(pane.str(), std::u16string(address));
    return;
  }
  target->Navigate(address);
}

void PaneSet::Refresh(ControlName pane) {
  if (LoadHeld(pane.text())) return;  // its first load is as fresh as a reload
  if (PaneWindow* target = Find(pane.text())) target->Refresh();
}

void PaneSet::GoBack(ControlName pane) {
  LoadHeld(pane.text());  // makes the pane if it was put off
  if (PaneWindow* target = Find(pane.text())) target->GoBack();
}

void PaneSet::GoForward(ControlName pane) {
  LoadHeld(pane.text());
  if (PaneWindow* target = Find(pane.text())) target->GoForward();
}

void PaneSet::Copy(ControlName pane) {
  if (PaneWindow* target = Find(pane.text())) target->Copy();
}

void PaneSet::Paste(ControlName pane) {
  if (PaneWindow* target = Find(pane.text())) target->Paste();
}

void PaneSet::SetSilent(ControlName pane, bool silent) {
  if (PaneWindow* target = Find(pane.text())) target->SetSilent(silent);
}
