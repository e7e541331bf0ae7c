#include "tests/win/ole_drag.h"

#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <thread>

#include "common/win32/com.h"
#include "tests/win/real_input.h"

namespace {

using namespace std::chrono_literals;

// The shell's list of files, in the one format and medium Explorer always offers.
class FileListData final : public SingleInterfaceObject<IDataObject> {
 public:
  explicit FileListData(const std::vector<std::wstring>& files) {
    for (const std::wstring& file : files) list_.append(file).push_back(L'\0');
    list_.push_back(L'\0');
  }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    const SIZE_T bytes = sizeof(DROPFILES) + list_.size() * sizeof(wchar_t);
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!global) return E_OUTOFMEMORY;
    auto* drop = static_cast<DROPFILES*>(GlobalLock(global));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, list_.data(), list_.size() * sizeof(wchar_t));
    GlobalUnlock(global);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = global;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    if (!format || format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
    return format->dwAspect == DVASPECT_CONTENT ? S_OK : DV_E_DVASPECT;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return SHCreateStdEnumFmtEtc(1, &format, out);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  std::wstring list_;
};

// The drag goes on while the left button is held, and drops where it is released.
class ButtonDropSource final : public SingleInterfaceObject<IDropSource> {
 public:
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
    if (escape) return DRAGDROP_S_CANCEL;
    // The button as the input queue has it now: this Wine's drag loop reports the key state
    // of the thread, which a release sent from another thread does not reach.
    const bool held = (keys & MK_LBUTTON) && (GetAsyncKeyState(VK_LBUTTON) & 0x8000);
    return held ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

void SendButton(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

}  // namespace

DWORD DragFilesWithTheMouse(const std::vector<std::wstring>& files, POINT to) {
  // Where the drag starts: a window of ours away from the target, as a folder window is.
  HWND source =
      CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"files", WS_POPUP | WS_VISIBLE | WS_BORDER, 4, 4,
                      80, 60, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  MoveMouseTo(source);
  SendButton(MOUSEEVENTF_LEFTDOWN);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  // The hand moves while DoDragDrop tracks it on this thread.
  std::thread hand([to] {
    std::this_thread::sleep_for(300ms);
    POINT from{};
    GetCursorPos(&from);
    for (int step = 1; step <= 8; ++step) {
      MoveMouseToScreen(POINT{from.x + (to.x - from.x) * step / 8, from.y + (to.y - from.y) * step / 8});
    }
    std::this_thread::sleep_for(300ms);
    SendButton(MOUSEEVENTF_LEFTUP);
  });
  auto* data = new FileListData(files);
  auto* drop_source = new ButtonDropSource;
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT result = DoDragDrop(data, drop_source, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
  hand.join();
  drop_source->Release();
  data->Release();
  DestroyWindow(source);
  return result == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}
