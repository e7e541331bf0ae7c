#include "media_player/win32/media_download_win32.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <utility>
#include <vector>

#include "common/win32/unique_handle.h"
#include "common/win32/web_request.h"
#include "media_player/win32/detached_thread_win32.h"

namespace {

constexpr int kAttempts = 4;  // a dropped connection is taken up again where it broke off
constexpr DWORD kTimeoutMs = 15000;
constexpr std::int64_t kFarBlock = 256 * 1024;
constexpr std::size_t kFarBlocksKept = 16;

std::atomic<long> g_live{0};

std::int64_t Now() { return static_cast<std::int64_t>(GetTickCount64()); }

std::int64_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::int64_t ReadCompleteMark(const std::wstring& mark) {
  UniqueHandle file(CreateFileW(mark.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return -1;
  char text[32] = {};
  DWORD got = 0;
  if (!ReadFile(file.get(), text, sizeof text - 1, &got, nullptr)) return -1;
  return std::strtoll(text, nullptr, 10);
}

void WriteCompleteMark(const std::wstring& mark, std::int64_t size) {
  UniqueHandle file(CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return;
  char text[32];
  const int length = std::snprintf(text, sizeof text, "%lld", static_cast<long long>(size));
  DWORD written = 0;
  WriteFile(file.get(), text, static_cast<DWORD>(length), &written, nullptr);
}

std::wstring Header(HINTERNET request, DWORD which) {
  wchar_t text[256] = {};
  DWORD size = sizeof text - sizeof(wchar_t);
  if (!HttpQueryInfoW(request, which, text, &size, nullptr)) return {};
  return text;
}

}  // namespace

std::wstring CompleteMarkOf(const std::wstring& cache_file) { return cache_file + L".size"; }

MediaDownload::MediaDownload(std::wstring url, std::wstring cache_file)
    : url_(std::move(url)), file_(std::move(cache_file)) {
  ++g_live;
}

long MediaDownload::Live() { return g_live.load(); }

std::int64_t MediaDownload::size() {
  const std::lock_guard lock(mutex_);
  return meter_.total();
}

std::shared_ptr<MediaDownload> MediaDownload::Create(std::wstring url, std::wstring cache_file) {
  std::shared_ptr<MediaDownload> download(new MediaDownload(std::move(url), std::move(cache_file)));
  MediaDownload* const held = download.get();
  // The holders share one reference; when they have all let go, the fetch is told to stop.
  return std::shared_ptr<MediaDownload>(held, [download = std::move(download)](MediaDownload*) mutable {
    download->Stop();
    download.reset();
  });
}

MediaDownload::~MediaDownload() { --g_live; }

void MediaDownload::Stop() {
  HINTERNET open = nullptr;
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    open = std::exchange(open_request_, nullptr);
  }
  changed_.notify_all();
  // Closing the request cuts short a read that waits on the server; the close itself may wait
  // for that read, so it happens on a thread of its own.
  if (open && !RunDetached([open] { InternetCloseHandle(open); })) InternetCloseHandle(open);
}

void MediaDownload::Start() {
  {
    const std::lock_guard lock(mutex_);
    if (started_) return;
    started_ = true;
  }
  if (!RunDetached([self = shared_from_this()] { self->Run(); })) Fail();
}

void MediaDownload::Wake() { changed_.notify_all(); }

MediaDownload::Wait MediaDownload::WaitFor(std::int64_t end, const std::atomic<bool>& cancelled) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (cancelled.load()) return Wait::kCancelled;
    if (meter_.fetched() >= end) return Wait::kReady;
    if (meter_.finished()) return Wait::kEnd;
    if (failed_ || stopping_) return Wait::kFailed;
    changed_.wait_for(lock, std::chrono::milliseconds(200));
  }
}

bool MediaDownload::IsFar(std::int64_t offset) {
  const std::lock_guard lock(mutex_);
  if (meter_.finished() || failed_) return false;
  const std::int64_t ahead = offset - meter_.fetched();
  if (ahead <= 16 * 1024) return false;
  // Containers keep indexes and tags at the end: those small reads never wait for the fetch.
  if (meter_.total() > 0 && offset >= meter_.total() - kFarBlock) return true;
  // Otherwise more than two seconds of fetching away.
  return ahead > std::max<std::int64_t>(64 * 1024, meter_.RateKilobytesPerSecond(Now()) * 1024 * 2);
}

const MediaDownload::Block* MediaDownload::FarBlock(std::int64_t at) {
  for (Block& block : blocks_) {
    if (at >= block.start && at < block.start + static_cast<std::int64_t>(block.bytes.size())) {
      block.used = ++far_uses_;
      return &block;
    }
  }
  // A block from the page the read starts in, so that a small read near the end fetches
  // little more than itself.
  const std::int64_t start = at / 4096 * 4096;
  if (far_refused_) return nullptr;
  if (!far_session_) {
    far_session_.reset(InternetOpenW(L"VexoMedia/1.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  }
  if (!far_session_) return nullptr;
  wchar_t range[80];
  std::swprintf(range, 80, L"Range: bytes=%lld-%lld\r\n", static_cast<long long>(start),
                static_cast<long long>(start + kFarBlock - 1));
  const WebRequest web = OpenWebRequest(
      far_session_.get(), url_,
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES, kTimeoutMs);
  if (!web.request || !SendWebRequest(web.request.get(), range)) return nullptr;
  const HINTERNET request = web.request.get();
  long long first = -1, last = -1, size = -1;
  if (Header(request, HTTP_QUERY_STATUS_CODE) != L"206" ||
      std::swscanf(Header(request, HTTP_QUERY_CONTENT_RANGE).c_str(), L"bytes %lld-%lld/%lld", &first, &last, &size) <
          2 ||
      first != start) {
    far_refused_ = true;  // no ranges here: the reader waits for the fetch instead
    return nullptr;
  }
  Block block;
  block.start = start;
  block.bytes.resize(static_cast<std::size_t>(kFarBlock));
  std::size_t filled = 0;
  for (;;) {
    DWORD got = 0;
    if (filled == block.bytes.size() ||
        !InternetReadFile(request, block.bytes.data() + filled, static_cast<DWORD>(block.bytes.size() - filled),
                          &got) ||
        got == 0) {
      break;
    }
    filled += got;
  }
  if (filled < static_cast<std::size_t>(last - first + 1)) return nullptr;  // cut short
  block.bytes.resize(filled);
  block.used = ++far_uses_;
  if (blocks_.size() >= kFarBlocksKept) {
    blocks_.erase(std::min_element(blocks_.begin(), blocks_.end(),
                                   [](const Block& a, const Block& b) { return a.used < b.used; }));
  }
  blocks_.push_back(std::move(block));
  return &blocks_.back();
}

bool MediaDownload::ReadFar(std::int64_t offset, char* out, std::size_t count, std::size_t* got) {
  const std::lock_guard lock(far_mutex_);
  std::size_t done = 0;
  while (done < count) {
    const std::int64_t at = offset + static_cast<std::int64_t>(done);
    const Block* block = FarBlock(at);
    if (!block) break;
    const std::size_t inside = static_cast<std::size_t>(at - block->start);
    if (inside >= block->bytes.size()) break;  // the end of the item
    const std::size_t take = std::min(count - done, block->bytes.size() - inside);
    std::copy_n(block->bytes.data() + inside, take, out + done);
    done += take;
  }
  *got = done;
  return done > 0;
}

std::int64_t MediaDownload::WaitForSize(const std::atomic<bool>& cancelled) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (size_known_ || meter_.finished()) return meter_.total();
    if (cancelled.load() || failed_ || stopping_) return -1;
    changed_.wait_for(lock, std::chrono::milliseconds(200));
  }
}

long MediaDownload::PerMille() {
  const std::lock_guard lock(mutex_);
  return meter_.PerMille();
}

long MediaDownload::RateKilobytesPerSecond() {
  const std::lock_guard lock(mutex_);
  return meter_.RateKilobytesPerSecond(Now());
}

std::int64_t MediaDownload::fetched() {
  const std::lock_guard lock(mutex_);
  return meter_.fetched();
}

bool MediaDownload::finished() {
  const std::lock_guard lock(mutex_);
  return meter_.finished();
}

void MediaDownload::Fail() {
  {
    const std::lock_guard lock(mutex_);
    failed_ = true;
  }
  changed_.notify_all();
}

void MediaDownload::Run() {
  // What an earlier fetch left is used: whole when its mark says so, else continued.
  const std::int64_t have = std::max<std::int64_t>(0, FileSize(file_));
  const std::int64_t whole = ReadCompleteMark(CompleteMarkOf(file_));
  {
    const std::lock_guard lock(mutex_);
    meter_.Begin(whole == have && have > 0 ? have : -1, have, Now());
    size_known_ = meter_.total() >= 0;
  }
  if (whole == have && have > 0) {
    UniqueHandle touch(CreateFileW(file_.c_str(), FILE_WRITE_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                   nullptr));
    if (touch) {
      FILETIME now{};
      GetSystemTimeAsFileTime(&now);
      SetFileTime(touch.get(), nullptr, nullptr, &now);
    }
    {
      const std::lock_guard lock(mutex_);
      meter_.Finish(Now());
    }
    changed_.notify_all();
    return;
  }
  const UniqueInternet session(InternetOpenW(L"VexoMedia/1.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return Fail();
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::int64_t from = 0;
    {
      const std::lock_guard lock(mutex_);
      if (stopping_) return;
      from = meter_.fetched();
    }
    if (FetchFrom(session.get(), from)) {
      std::int64_t size = 0;
      {
        const std::lock_guard lock(mutex_);
        meter_.Finish(Now());
        size = meter_.total();
      }
      WriteCompleteMark(CompleteMarkOf(file_), size);
      changed_.notify_all();
      return;
    }
    {
      const std::lock_guard lock(mutex_);
      if (failed_ || stopping_) break;
    }
    Sleep(300);
  }
  Fail();
}

bool MediaDownload::FetchFrom(HINTERNET session, std::int64_t from) {
  wchar_t range[64] = L"";
  if (from > 0) std::swprintf(range, 64, L"Range: bytes=%lld-\r\n", static_cast<long long>(from));
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI |
                      INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_COOKIES;
  WebRequest web = OpenWebRequest(session, url_, flags, kTimeoutMs);
  if (!web.request) return false;
  {
    // Held where a stop can close it, before the server has said anything.
    const std::lock_guard lock(mutex_);
    if (stopping_) return false;
    open_request_ = web.request.get();
  }
  const bool whole = SendWebRequest(web.request.get(), range) && Receive(web.request.get(), from);
  const std::lock_guard lock(mutex_);
  // A stop closed the request already; otherwise it is closed here, as the owner.
  if (open_request_) open_request_ = nullptr;
  else web.request.release();
  return whole;
}

bool MediaDownload::Receive(HINTERNET request, std::int64_t from) {
  const std::wstring status = Header(request, HTTP_QUERY_STATUS_CODE);
  bool append = false;
  std::int64_t total = -1;
  if (status == L"206" && from > 0) {
    // "bytes FROM-LAST/TOTAL": it must go on exactly where the file ends.
    const std::wstring content_range = Header(request, HTTP_QUERY_CONTENT_RANGE);
    long long first = -1, last = -1, size = -1;
    if (std::swscanf(content_range.c_str(), L"bytes %lld-%lld/%lld", &first, &last, &size) < 2 || first != from) {
      Fail();
      return false;
    }
    append = true;
    total = size;
  } else if (status == L"200" || status.empty()) {
    const std::wstring length = Header(request, HTTP_QUERY_CONTENT_LENGTH);
    if (!length.empty()) total = std::wcstoll(length.c_str(), nullptr, 10);
  } else {
    // An error page is no media; the reader must not get it.
    Fail();
    return false;
  }
  UniqueHandle file(CreateFileW(file_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    Fail();
    return false;
  }
  LARGE_INTEGER end{};
  SetFilePointerEx(file.get(), end, nullptr, FILE_END);
  {
    const std::lock_guard lock(mutex_);
    if (stopping_) return false;
    if (!append) meter_.Begin(total, 0, Now());
    else meter_.Begin(total, from, Now());
    size_known_ = total >= 0;
  }
  changed_.notify_all();
  // Small reads, so that waiting readers and the share move on smoothly.
  std::vector<char> buffer(16 * 1024);
  bool whole = false;
  for (;;) {
    DWORD got = 0;
    const BOOL read = InternetReadFile(request, buffer.data(), static_cast<DWORD>(buffer.size()), &got);
    if (!read) break;
    if (got == 0) {
      const std::lock_guard lock(mutex_);
      whole = total < 0 || meter_.fetched() >= total;
      break;
    }
    DWORD written = 0;
    if (!WriteFile(file.get(), buffer.data(), got, &written, nullptr) || written != got) {
      Fail();
      break;
    }
    {
      const std::lock_guard lock(mutex_);
      if (stopping_) break;
      meter_.Add(got, Now());
    }
    changed_.notify_all();
  }
  return whole;
}
