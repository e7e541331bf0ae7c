#include "media_player/win32/download_stream_win32.h"

#include <mfapi.h>
#include <mfidl.h>

#include <algorithm>

// In mfplat since Windows 7, though mingw's headers leave it out.
extern "C" HRESULT WINAPI MFCreateMFByteStreamOnStream(IStream* stream, IMFByteStream** byte_stream);

IMFByteStream* DownloadStream::Open(std::shared_ptr<MediaDownload> download,
                                    std::shared_ptr<std::atomic<bool>> cancelled) {
  auto* stream = new DownloadStream(std::move(download), std::move(cancelled));
  IMFByteStream* byte_stream = nullptr;
  if (!stream->file_ || FAILED(MFCreateMFByteStreamOnStream(stream, &byte_stream))) byte_stream = nullptr;
  stream->Release();
  return byte_stream;
}

DownloadStream::DownloadStream(std::shared_ptr<MediaDownload> download, std::shared_ptr<std::atomic<bool>> cancelled)
    : download_(std::move(download)), cancelled_(std::move(cancelled)) {
  // The fetch creates the file; a stream opened first waits for it.
  for (int i = 0; i < 100 && !file_ && !cancelled_->load(); ++i) {
    file_.reset(CreateFileW(download_->file().c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) {
      if (download_->WaitFor(1, *cancelled_) != MediaDownload::Wait::kReady) break;
    }
  }
}

STDMETHODIMP DownloadStream::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IStream || iid == IID_ISequentialStream) {
    *out = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) DownloadStream::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) DownloadStream::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

std::int64_t DownloadStream::Size() { return download_->WaitForSize(*cancelled_); }

STDMETHODIMP DownloadStream::Read(void* data, ULONG count, ULONG* read) {
  if (read) *read = 0;
  if (!data) return STG_E_INVALIDPOINTER;
  if (count == 0) return S_OK;
  // A closed item's reader gets nothing more, not even from the blocks fetched by range.
  if (cancelled_->load()) return E_ABORT;
  if (download_->IsFar(position_)) {
    std::size_t got = 0;
    if (download_->ReadFar(position_, static_cast<char*>(data), count, &got, *cancelled_)) {
      position_ += static_cast<std::int64_t>(got);
      if (read) *read = static_cast<ULONG>(got);
      return got == count ? S_OK : S_FALSE;
    }
  }
  if (cancelled_->load()) return E_ABORT;
  const MediaDownload::Wait wait = download_->WaitFor(position_ + count, *cancelled_);
  if (wait == MediaDownload::Wait::kCancelled) return E_ABORT;
  // At the end (or after a failed fetch) what there is is read, then nothing.
  const std::int64_t available = std::min<std::int64_t>(count, download_->fetched() - position_);
  if (available <= 0) return wait == MediaDownload::Wait::kFailed ? STG_E_READFAULT : S_FALSE;
  LARGE_INTEGER at;
  at.QuadPart = position_;
  OVERLAPPED place{};
  place.Offset = at.LowPart;
  place.OffsetHigh = static_cast<DWORD>(at.HighPart);
  DWORD got = 0;
  if (!ReadFile(file_.get(), data, static_cast<DWORD>(available), &got, &place)) return STG_E_READFAULT;
  position_ += got;
  if (read) *read = got;
  return got == count ? S_OK : S_FALSE;
}

STDMETHODIMP DownloadStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
  std::int64_t base = 0;
  if (origin == STREAM_SEEK_CUR) base = position_;
  else if (origin == STREAM_SEEK_END) {
    const std::int64_t size = Size();
    if (size < 0) return STG_E_INVALIDFUNCTION;
    base = size;
  } else if (origin != STREAM_SEEK_SET) {
    return STG_E_INVALIDFUNCTION;
  }
  const std::int64_t target = base + move.QuadPart;
  if (target < 0) return STG_E_INVALIDFUNCTION;
  position_ = target;
  if (position) position->QuadPart = static_cast<ULONGLONG>(target);
  return S_OK;
}

STDMETHODIMP DownloadStream::Stat(STATSTG* stat, DWORD) {
  if (!stat) return STG_E_INVALIDPOINTER;
  *stat = STATSTG{};
  stat->type = STGTY_STREAM;
  const std::int64_t size = Size();
  if (size < 0) return STG_E_ACCESSDENIED;
  stat->cbSize.QuadPart = static_cast<ULONGLONG>(size);
  return S_OK;
}

STDMETHODIMP DownloadStream::Clone(IStream** out) {
  if (!out) return STG_E_INVALIDPOINTER;
  auto* copy = new DownloadStream(download_, cancelled_);
  copy->position_ = position_;
  *out = copy;
  return copy->file_ ? S_OK : (copy->Release(), *out = nullptr, STG_E_ACCESSDENIED);
}
