#include "media_player/win32/media_download_win32.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <iterator>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "common/win32/unique_handle.h"
#include "common/win32/web_request.h"
#include "media_player/win32/cache_sidecars_win32.h"
#include "media_player/win32/detached_thread_win32.h"
#include "media_player/win32/http_answer_win32.h"
#include "media_player/win32/media_cache_win32.h"

namespace {

constexpr int kAttempts = 4;  // a dropped connection is taken up again where it broke off
// The disk's free space and the cache's size are looked at again after this much was written.
constexpr std::int64_t kMeasureEvery = 4LL << 20;

std::atomic<long> g_live{0};

// The files of the items being played, which may take the cache past its bound, and of every
// live fetch, which no trim may delete.
std::mutex g_files_mutex;
std::multiset<std::wstring> g_playing_files;
std::multiset<std::wstring> g_live_files;

std::int64_t Now() { return static_cast<std::int64_t>(GetTickCount64()); }

std::int64_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::vector<std::wstring> PlayingFiles() {
  const std::lock_guard lock(g_files_mutex);
  return std::vector<std::wstring>(g_playing_files.begin(), g_playing_files.end());
}

std::int64_t KilobytesOfEnvironment(const wchar_t* name, std::int64_t fallback) {
  wchar_t text[32] = {};
  const DWORD length = GetEnvironmentVariableW(name, text, 32);
  if (length == 0 || length >= 32) return fallback;
  const long long kilobytes = std::wcstoll(text, nullptr, 10);
  return kilobytes > 0 && kilobytes < (1LL << 40) ? kilobytes << 10 : fallback;
}

}  // namespace

FetchBounds FetchBoundsOfEnvironment() {
  FetchBounds bounds;
  bounds.cache_bytes = KilobytesOfEnvironment(L"VEXO_MEDIA_CACHE_KB", bounds.cache_bytes);
  bounds.max_item_bytes = KilobytesOfEnvironment(L"VEXO_MEDIA_ITEM_CAP_KB", bounds.max_item_bytes);
  bounds.min_free_bytes = KilobytesOfEnvironment(L"VEXO_MEDIA_FREE_FLOOR_KB", bounds.min_free_bytes);
  return bounds;
}

MediaDownload::MediaDownload(std::wstring url, std::wstring cache_file)
    : url_(std::move(url)), file_(std::move(cache_file)), bounds_(FetchBoundsOfEnvironment()) {
  ++g_live;
  const std::lock_guard lock(g_files_mutex);
  g_live_files.insert(file_);
}

long MediaDownload::Live() { return g_live.load(); }

std::vector<std::wstring> MediaDownload::LiveFiles() {
  const std::lock_guard lock(g_files_mutex);
  return std::vector<std::wstring>(g_live_files.begin(), g_live_files.end());
}

std::int64_t MediaDownload::size() {
  const std::lock_guard lock(mutex_);
  return meter_.total();
}

std::shared_ptr<MediaDownload> MediaDownload::Create(std::wstring url, std::wstring cache_file) {
  // The same item asked for again while its fetch still has holders (a user going X, Y, X
  // while X is let go of) takes that fetch over: two fetches never write one file.
  static std::mutex registry_mutex;
  static std::map<std::wstring, std::weak_ptr<MediaDownload>> registry;
  const std::lock_guard registry_lock(registry_mutex);
  for (auto it = registry.begin(); it != registry.end();)
    it = it->second.expired() ? registry.erase(it) : std::next(it);
  if (auto found = registry.find(cache_file); found != registry.end()) {
    if (auto live = found->second.lock(); live && live->url_ == url) return live;
  }
  std::shared_ptr<MediaDownload> download(new MediaDownload(std::move(url), cache_file));
  MediaDownload* const held = download.get();
  // The holders share one reference; when they have all let go, the fetch is told to stop.
  std::shared_ptr<MediaDownload> holder(held, [download = std::move(download)](MediaDownload*) mutable {
    download->Stop();
    download.reset();
  });
  registry[cache_file] = holder;
  return holder;
}

MediaDownload::~MediaDownload() {
  --g_live;
  const std::lock_guard lock(g_files_mutex);
  g_live_files.erase(g_live_files.find(file_));
  if (playing_) g_playing_files.erase(g_playing_files.find(file_));
}

void MediaDownload::SetPlaying(bool playing) {
  {
    const std::lock_guard lock(g_files_mutex);
    if (playing_.exchange(playing) == playing) return;
    if (playing) g_playing_files.insert(file_);
    else g_playing_files.erase(g_playing_files.find(file_));
  }
}

void MediaDownload::Stop() {
  HINTERNET open = nullptr;
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    open = std::exchange(open_request_, nullptr);
  }
  changed_.notify_all();
  SetPlaying(false);
  // Closing the request cuts short a read that waits on the server; the close itself may wait
  // for that read, so it happens on a thread of its own.
  if (open && !RunDetached([open] { InternetCloseHandle(open); })) InternetCloseHandle(open);
}

void MediaDownload::Start() {
  {
    const std::lock_guard lock(mutex_);
    if (running_ || done_ || failed_ || stopping_) return;
    running_ = true;
    paused_for_cache_ = false;
  }
  if (!RunDetached([self = shared_from_this()] { self->Run(); })) {
    {
      const std::lock_guard lock(mutex_);
      running_ = false;
    }
    Fail();
  }
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
  struct Ending {
    MediaDownload& self;
    ~Ending() {
      {
        const std::lock_guard lock(self.mutex_);
        self.running_ = false;
      }
      self.changed_.notify_all();
    }
  } ending{*this};
  // What an earlier fetch left is used: whole when its mark says so, else continued if the
  // server still has the same file.
  const std::int64_t have = std::max<std::int64_t>(0, FileSize(file_));
  const std::int64_t whole = ReadCompleteMark(CompleteMarkOf(file_));
  const ItemTag tag = ReadItemTag(ItemTagOf(file_));
  // All of what the first answer announced is there (a fetch that ended before it wrote its
  // mark): whole too.
  const bool all_there = have > 0 && (whole == have || tag.size == have);
  {
    const std::lock_guard lock(mutex_);
    if (all_there) {
      meter_.Begin(have, have, Now());
    } else {
      meter_.Begin(tag.size >= 0 && tag.size >= have ? tag.size : -1, have, Now());
    }
    validator_ = tag.validator;
    size_known_ = meter_.total() >= 0;
  }
  if (all_there) {
    if (whole != have) WriteCompleteMark(CompleteMarkOf(file_), have);
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
      done_ = true;
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
      bool complete = false;
      {
        const std::lock_guard lock(mutex_);
        // A capped item without a length is not known to be whole: no mark for it.
        complete = meter_.total() >= 0 && meter_.fetched() >= meter_.total();
        meter_.Finish(Now());
        size = meter_.total();
        done_ = true;
      }
      if (complete) WriteCompleteMark(CompleteMarkOf(file_), size);
      changed_.notify_all();
      return;
    }
    {
      const std::lock_guard lock(mutex_);
      if (failed_ || stopping_ || paused_for_cache_ || done_) return;
    }
    Sleep(300);
  }
  Fail();
}

bool MediaDownload::FetchFrom(HINTERNET session, std::int64_t from) {
  std::wstring headers;
  if (from > 0) {
    wchar_t range[64];
    std::swprintf(range, 64, L"Range: bytes=%lld-\r\n", static_cast<long long>(from));
    const std::lock_guard lock(mutex_);
    // Only the same file may go on where the last answer left off.
    headers = range + IfRangeHeader(validator_);
  }
  WebRequest web = OpenWebRequest(session, url_, kMediaRequestFlags, kMediaTimeoutMs);
  if (!web.request) return false;
  {
    // Held where a stop can close it, before the server has said anything.
    const std::lock_guard lock(mutex_);
    if (stopping_) return false;
    open_request_ = web.request.get();
  }
  const bool whole = SendWebRequest(web.request.get(), headers) && Receive(web.request.get(), from);
  const std::lock_guard lock(mutex_);
  // A stop closed the request already; otherwise it is closed here, as the owner.
  if (open_request_) open_request_ = nullptr;
  else web.request.release();
  return whole;
}

bool MediaDownload::Receive(HINTERNET request, std::int64_t from) {
  const std::wstring status_text = Header(request, HTTP_QUERY_STATUS_CODE);
  const int status = status_text.empty() ? 200 : _wtoi(status_text.c_str());
  bool append = false;
  std::int64_t total = -1;
  if (from > 0) {
    // "bytes FROM-LAST/TOTAL": it must go on exactly where the file ends, of the same file.
    long long first = -1, last = -1, size = -1;
    std::swscanf(Header(request, HTTP_QUERY_CONTENT_RANGE).c_str(), L"bytes %lld-%lld/%lld", &first, &last, &size);
    std::int64_t known = -1;
    {
      const std::lock_guard lock(mutex_);
      known = meter_.total();
    }
    switch (CheckResume(status, from, first, size, known)) {
      case ResumeVerdict::kAppend:
        append = true;
        total = size;
        break;
      case ResumeVerdict::kStartOver:
        if (status != 200) {
          // A part of another file: what the cache has is thrown away, and the next attempt
          // asks for the whole of it.
          DeleteFileW(ItemTagOf(file_).c_str());
          UniqueHandle(CreateFileW(file_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
          const std::lock_guard lock(mutex_);
          meter_.Begin(-1, 0, Now());
          validator_.clear();
          size_known_ = false;
          return false;
        }
        break;
      case ResumeVerdict::kFail: Fail(); return false;
    }
  } else if (status != 200) {
    // An error page is no media; the reader must not get it.
    Fail();
    return false;
  }
  if (!append) {
    const std::wstring length = Header(request, HTTP_QUERY_CONTENT_LENGTH);
    if (!length.empty()) total = std::wcstoll(length.c_str(), nullptr, 10);
    ItemTag tag;
    tag.size = total;
    tag.validator =
        RangeValidator(HeaderValue(request, HTTP_QUERY_ETAG), HeaderValue(request, HTTP_QUERY_LAST_MODIFIED));
    WriteItemTag(ItemTagOf(file_), tag);
    DeleteFileW(CompleteMarkOf(file_).c_str());
    const std::lock_guard lock(mutex_);
    validator_ = tag.validator;
  }
  // Others may read it and a fetch of the same item after this one may write it: this one
  // writes nothing once it is told to stop.
  UniqueHandle file(CreateFileW(file_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    Fail();
    return false;
  }
  // What comes goes after what the file holds.
  LARGE_INTEGER at{};
  at.QuadPart = append ? from : 0;
  if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN)) {
    Fail();
    return false;
  }
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
  std::int64_t unmeasured = kMeasureEvery;  // measured before the first write
  std::int64_t measured_free = -1, measured_others = -1;
  for (;;) {
    DWORD got = 0;
    if (!InternetReadFile(request, buffer.data(), static_cast<DWORD>(buffer.size()), &got)) return false;
    if (got == 0) {
      const std::lock_guard lock(mutex_);
      return total < 0 || meter_.fetched() >= total;
    }
    // Measured now and then; in between, what this fetch wrote since is counted in.
    if (unmeasured >= kMeasureEvery) {
      unmeasured = 0;
      measured_free = FreeBytesOfDiskOf(file_);
      measured_others = CacheBytesBesides(PlayingFiles());
      // The playing item makes room by trimming what no fetch holds; a fetch ahead only waits.
      if (playing_ && measured_others > bounds_.cache_bytes) {
        TrimMediaCache(MediaDownload::LiveFiles(), CacheBounds{bounds_.cache_bytes});
        measured_others = CacheBytesBesides(PlayingFiles());
      }
    }
    const std::int64_t free_bytes = measured_free < 0 ? -1 : measured_free - unmeasured;
    const std::int64_t others = measured_others < 0 ? -1 : measured_others + unmeasured;
    std::int64_t fetched = 0;
    {
      const std::lock_guard lock(mutex_);
      fetched = meter_.fetched();
    }
    bool failed = false;
    const WritePlan plan = PlanWrite(fetched, total, got, free_bytes, playing_ ? -1 : others, playing_, bounds_);
    {
      const std::lock_guard lock(mutex_);
      if (stopping_) return false;
      DWORD written = 0;
      if (plan.write > 0) {
        if (!WriteFile(file.get(), buffer.data(), static_cast<DWORD>(plan.write), &written, nullptr) ||
            written != plan.write) {
          failed_ = true;
        } else {
          meter_.Add(plan.write, Now());
        }
      }
      if (plan.stop == FetchStop::kCacheFull) paused_for_cache_ = true;
      if (plan.stop == FetchStop::kDiskLow) failed_ = true;
      failed = failed_;
    }
    changed_.notify_all();
    unmeasured += plan.write;
    if (failed) return false;
    switch (plan.stop) {
      case FetchStop::kNone: break;
      case FetchStop::kComplete:  // a server that sends more than it announced is not listened to
      case FetchStop::kCapped: return true;
      case FetchStop::kDiskLow:
      case FetchStop::kCacheFull: return false;
    }
  }
}
