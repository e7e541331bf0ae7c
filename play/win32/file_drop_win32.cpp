#include "play/win32/file_drop_win32.h"

#include "common/win32/com.h"

namespace {

constexpr UINT kMaxDroppedFiles = 4096;

// The drop target the window registers: it takes what carries the shell's list of files.
class FileDropTarget final : public SingleInterfaceObject<IDropTarget> {
 public:
  explicit FileDropTarget(FileDropRegistration::Dropped dropped) : dropped_(std::move(dropped)) {}

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    accepts_ = data && data->QueryGetData(&format) == S_OK;
    return DragOver(0, POINTL{}, effect);
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    if (effect) *effect = accepts_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    accepts_ = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    if (effect) *effect = DROPEFFECT_NONE;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (!data || data->GetData(&format, &medium) != S_OK) return S_OK;
    std::vector<std::u16string> files;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) files = FilesOfDrop(static_cast<HDROP>(medium.hGlobal));
    ReleaseStgMedium(&medium);
    accepts_ = false;
    if (files.empty()) return S_OK;
    if (effect) *effect = DROPEFFECT_COPY;
    dropped_(std::move(files));
    return S_OK;
  }

 private:
  FileDropRegistration::Dropped dropped_;
  bool accepts_ = false;
};

}  // namespace

std::vector<std::u16string> FilesOfDrop(HDROP drop) {
  std::vector<std::u16string> files;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count && i < kMaxDroppedFiles; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    if (length == 0 || length > 32767) continue;
    std::wstring path(length + 1, L'\0');
    const UINT got = DragQueryFileW(drop, i, path.data(), length + 1);
    path.resize(got);
    files.emplace_back(path.begin(), path.end());
  }
  return files;
}

FileDropRegistration::FileDropRegistration(HWND window, Dropped dropped) : window_(window) {
  DragAcceptFiles(window_, TRUE);
  target_ = new FileDropTarget(std::move(dropped));
  if (FAILED(RegisterDragDrop(window_, target_))) {
    target_->Release();
    target_ = nullptr;
  }
}

FileDropRegistration::~FileDropRegistration() {
  if (target_) {
    RevokeDragDrop(window_);
    target_->Release();
  }
  if (IsWindow(window_)) DragAcceptFiles(window_, FALSE);
}
