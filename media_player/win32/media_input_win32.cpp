#include "media_player/win32/media_input_win32.h"

#include <algorithm>

namespace {

HANDLE OpenShared(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// Reads at a position without moving a shared file pointer.
int ReadAt(HANDLE file, std::int64_t position, std::uint8_t* out, int count) {
  LARGE_INTEGER at;
  at.QuadPart = position;
  OVERLAPPED place{};
  place.Offset = at.LowPart;
  place.OffsetHigh = static_cast<DWORD>(at.HighPart);
  DWORD got = 0;
  if (!ReadFile(file, out, static_cast<DWORD>(count), &got, &place)) {
    return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
  }
  return static_cast<int>(got);
}

class FileInput final : public MediaInput {
 public:
  FileInput(HANDLE file, std::shared_ptr<std::atomic<bool>> cancelled) : file_(file), cancelled_(std::move(cancelled)) {
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file_.get(), &size)) size_ = size.QuadPart;
  }
  int Read(std::uint8_t* out, int count) override {
    if (cancelled_->load()) return -1;
    const int got = ReadAt(file_.get(), position_, out, count);
    if (got > 0) position_ += got;
    return got;
  }
  std::int64_t Seek(SeekFrom from, std::int64_t offset) override {
    const auto target = SeekTarget(from, offset, position_, size_);
    if (!target) return -1;
    if (from != SeekFrom::kSizeQuery) position_ = *target;
    return *target;
  }
  bool cancelled() const override { return cancelled_->load(); }
  std::int64_t size() override { return size_; }

 private:
  UniqueHandle file_;
  std::shared_ptr<std::atomic<bool>> cancelled_;
  std::int64_t position_ = 0;
  std::int64_t size_ = -1;
};

class MemoryInput final : public MediaInput {
 public:
  explicit MemoryInput(std::string bytes) : bytes_(std::move(bytes)) {}
  int Read(std::uint8_t* out, int count) override {
    const auto left = static_cast<std::int64_t>(bytes_.size()) - position_;
    const int got = static_cast<int>(std::clamp<std::int64_t>(left, 0, count));
    std::copy_n(bytes_.data() + position_, got, out);
    position_ += got;
    return got;
  }
  std::int64_t Seek(SeekFrom from, std::int64_t offset) override {
    const auto target = SeekTarget(from, offset, position_, static_cast<std::int64_t>(bytes_.size()));
    if (!target) return -1;
    if (from != SeekFrom::kSizeQuery) position_ = std::min<std::int64_t>(*target, bytes_.size());
    return *target;
  }
  bool cancelled() const override { return false; }
  std::int64_t size() override { return static_cast<std::int64_t>(bytes_.size()); }

 private:
  std::string bytes_;
  std::int64_t position_ = 0;
};

class DownloadInput final : public MediaInput {
 public:
  DownloadInput(std::shared_ptr<MediaDownload> download, std::shared_ptr<std::atomic<bool>> cancelled)
      : download_(std::move(download)), cancelled_(std::move(cancelled)) {
    // The fetch creates the file; an input opened first waits for it.
    for (int i = 0; i < 100 && !file_ && !cancelled_->load(); ++i) {
      file_.reset(OpenShared(download_->file()));
      if (!file_ && download_->WaitFor(1, *cancelled_) != MediaDownload::Wait::kReady) break;
    }
  }
  bool opened() const { return static_cast<bool>(file_); }

  int Read(std::uint8_t* out, int count) override {
    // A closed item's reader gets nothing more, not even from the blocks fetched by range.
    if (cancelled_->load() || count <= 0) return cancelled_->load() ? -1 : 0;
    if (download_->IsFar(position_)) {
      std::size_t got = 0;
      if (download_->ReadFar(position_, reinterpret_cast<char*>(out), static_cast<std::size_t>(count), &got,
                             *cancelled_)) {
        position_ += static_cast<std::int64_t>(got);
        return static_cast<int>(got);
      }
    }
    if (cancelled_->load()) return -1;
    const MediaDownload::Wait wait = download_->WaitFor(position_ + count, *cancelled_);
    if (wait == MediaDownload::Wait::kCancelled) return -1;
    // At the end (or after a failed fetch) what there is is read, then nothing.
    const std::int64_t available = std::min<std::int64_t>(count, download_->fetched() - position_);
    if (available <= 0) return wait == MediaDownload::Wait::kFailed ? -1 : 0;
    const int got = ReadAt(file_.get(), position_, out, static_cast<int>(available));
    if (got > 0) position_ += got;
    return got;
  }
  std::int64_t Seek(SeekFrom from, std::int64_t offset) override {
    // Only a seek from the end, or the size itself, waits for the server to say the size.
    const bool needs_size = from == SeekFrom::kEnd || from == SeekFrom::kSizeQuery;
    const std::int64_t size = needs_size ? download_->WaitForSize(*cancelled_) : download_->size();
    const auto target = SeekTarget(from, offset, position_, size);
    if (!target) return -1;
    if (from != SeekFrom::kSizeQuery) position_ = *target;
    return *target;
  }
  bool cancelled() const override { return cancelled_->load(); }
  std::int64_t size() override { return download_->size(); }

 private:
  std::shared_ptr<MediaDownload> download_;
  std::shared_ptr<std::atomic<bool>> cancelled_;
  UniqueHandle file_;
  std::int64_t position_ = 0;
};

}  // namespace

std::unique_ptr<MediaInput> OpenFileInput(const std::wstring& path, std::shared_ptr<std::atomic<bool>> cancelled) {
  const HANDLE file = OpenShared(path);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  // Only a file on a disk: a device or a pipe is no item.
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    return nullptr;
  }
  return std::make_unique<FileInput>(file, std::move(cancelled));
}

std::unique_ptr<MediaInput> OpenMemoryInput(std::string bytes) {
  return std::make_unique<MemoryInput>(std::move(bytes));
}

std::unique_ptr<MediaInput> OpenDownloadInput(std::shared_ptr<MediaDownload> download,
                                              std::shared_ptr<std::atomic<bool>> cancelled) {
  auto input = std::make_unique<DownloadInput>(std::move(download), std::move(cancelled));
  if (!input->opened()) return nullptr;
  return input;
}
