#pragma once
// The byte stream the reader reads an http item through: a read waits for the download to
// bring the bytes, then takes them from the cache file, so playback starts long before the
// fetch ends and a seek back costs nothing. Closing the item sets `cancelled`, which ends
// every wait at once.
#include <windows.h>
#include <objidl.h>

#include <atomic>
#include <memory>

#include "common/win32/unique_handle.h"
#include "media_player/win32/media_download_win32.h"

struct IMFByteStream;

class DownloadStream final : public IStream {
 public:
  // The Media Foundation byte stream over a new stream of `download`; null on failure.
  static IMFByteStream* Open(std::shared_ptr<MediaDownload> download, std::shared_ptr<std::atomic<bool>> cancelled);

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP Read(void* data, ULONG count, ULONG* read) override;
  STDMETHODIMP Write(const void*, ULONG, ULONG*) override { return STG_E_ACCESSDENIED; }
  STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
  STDMETHODIMP SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
  STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
  STDMETHODIMP Commit(DWORD) override { return S_OK; }
  STDMETHODIMP Revert() override { return E_NOTIMPL; }
  STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  STDMETHODIMP Stat(STATSTG* stat, DWORD flags) override;
  STDMETHODIMP Clone(IStream** out) override;

 private:
  DownloadStream(std::shared_ptr<MediaDownload> download, std::shared_ptr<std::atomic<bool>> cancelled);
  ~DownloadStream() = default;
  std::int64_t Size();

  LONG references_ = 1;
  std::shared_ptr<MediaDownload> download_;
  std::shared_ptr<std::atomic<bool>> cancelled_;
  UniqueHandle file_;
  std::int64_t position_ = 0;
};
