// The reads far ahead of a fetch: a block by a range request of its own, waited for no longer
// than a deadline or the item.
#include <algorithm>
#include <cwchar>

#include "common/win32/web_request.h"
#include "media_player/win32/detached_thread_win32.h"
#include "media_player/win32/http_answer_win32.h"
#include "media_player/win32/media_download_win32.h"

namespace {

constexpr std::int64_t kFarBlock = 256 * 1024;
constexpr std::size_t kFarBlocksKept = 16;
// A read far ahead gives up after this long, however slowly bytes still come; the reader then
// waits for the fetch instead.
constexpr std::int64_t kFarDeadlineMs = 8000;

std::int64_t Now() { return static_cast<std::int64_t>(GetTickCount64()); }

}  // namespace

bool MediaDownload::IsFar(std::int64_t offset) {
  const std::lock_guard lock(mutex_);
  if (meter_.finished() || failed_ || far_refused_) return false;
  const std::int64_t ahead = offset - meter_.fetched();
  if (ahead <= 16 * 1024) return false;
  // Containers keep indexes and tags at the end: those small reads never wait for the fetch.
  if (meter_.total() > 0 && offset >= meter_.total() - kFarBlock) return true;
  // Otherwise more than two seconds of fetching away.
  return ahead > std::max<std::int64_t>(64 * 1024, meter_.RateKilobytesPerSecond(Now()) * 1024 * 2);
}

// One range request for a block, on a thread of its own: the reader waits for it no longer
// than its deadline or its item, and lets it go (closing its request) when it gives up.
struct MediaDownload::FarFetch {
  std::mutex mutex;
  std::condition_variable done_changed;
  bool done = false;
  bool ok = false;
  bool abandoned = false;
  HINTERNET request = nullptr;  // while it is being read
  Block block;

  void Run(const std::wstring& url, const std::string& validator, std::int64_t start) {
    const UniqueInternet session(InternetOpenW(L"VexoMedia/1.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    WebRequest web;
    if (session) web = OpenWebRequest(session.get(), url, kMediaRequestFlags, kMediaTimeoutMs);
    bool ok_now = false;
    if (web.request && Hold(web.request.get())) {
      wchar_t range[80];
      std::swprintf(range, 80, L"Range: bytes=%lld-%lld\r\n", static_cast<long long>(start),
                    static_cast<long long>(start + kFarBlock - 1));
      ok_now = SendWebRequest(web.request.get(), range + IfRangeHeader(validator)) && Read(web.request.get(), start);
      if (!Release()) web.request.release();  // the reader closed it as it gave up
    }
    const std::lock_guard lock(mutex);
    ok = ok_now;
    done = true;
    done_changed.notify_all();
  }

 private:
  bool Hold(HINTERNET handle) {
    const std::lock_guard lock(mutex);
    if (abandoned) return false;
    request = handle;
    return true;
  }
  // Whether the handle is still ours to close.
  bool Release() {
    const std::lock_guard lock(mutex);
    return std::exchange(request, nullptr) != nullptr;
  }
  bool Read(HINTERNET handle, std::int64_t start) {
    long long first = -1, last = -1, size = -1;
    // Only the bytes asked for, of the same file: a 200 (a changed file, or no ranges) is not.
    if (Header(handle, HTTP_QUERY_STATUS_CODE) != L"206" ||
        std::swscanf(Header(handle, HTTP_QUERY_CONTENT_RANGE).c_str(), L"bytes %lld-%lld/%lld", &first, &last, &size) <
            2 ||
        first != start || last < first || last - first + 1 > kFarBlock) {
      return false;
    }
    block.start = start;
    block.bytes.resize(static_cast<std::size_t>(last - first + 1));
    std::size_t filled = 0;
    while (filled < block.bytes.size()) {
      DWORD got = 0;
      if (!InternetReadFile(handle, block.bytes.data() + filled, static_cast<DWORD>(block.bytes.size() - filled),
                            &got) ||
          got == 0) {
        break;
      }
      filled += got;
    }
    return filled == block.bytes.size();
  }
};

const MediaDownload::Block* MediaDownload::FarBlock(std::int64_t at, const std::atomic<bool>& cancelled) {
  for (Block& block : blocks_) {
    if (at >= block.start && at < block.start + static_cast<std::int64_t>(block.bytes.size())) {
      block.used = ++far_uses_;
      return &block;
    }
  }
  if (far_refused_) return nullptr;
  // A block from the page the read starts in, so that a small read near the end fetches
  // little more than itself.
  const std::int64_t start = at / 4096 * 4096;
  std::string validator;
  {
    const std::lock_guard lock(mutex_);
    validator = validator_;
  }
  auto fetch = std::make_shared<FarFetch>();
  if (!RunDetached([fetch, url = url_, validator, start] { fetch->Run(url, validator, start); })) return nullptr;
  const std::int64_t deadline = Now() + kFarDeadlineMs;
  std::unique_lock lock(fetch->mutex);
  while (!fetch->done && !cancelled.load() && Now() < deadline) {
    fetch->done_changed.wait_for(lock, std::chrono::milliseconds(100));
  }
  if (!fetch->done) {
    // Given up: the request goes (on a thread of its own, as its close may wait for the read).
    fetch->abandoned = true;
    if (HINTERNET open = std::exchange(fetch->request, nullptr)) {
      if (!RunDetached([open] { InternetCloseHandle(open); })) InternetCloseHandle(open);
    }
    // Too slow to be worth asking again for this item; a stop is no verdict on the server.
    if (!cancelled.load()) far_refused_ = true;
    return nullptr;
  }
  if (!fetch->ok) {
    far_refused_ = true;  // no ranges here, or not of this file: the reader waits for the fetch
    return nullptr;
  }
  Block block = std::move(fetch->block);
  lock.unlock();
  block.used = ++far_uses_;
  if (blocks_.size() >= kFarBlocksKept) {
    blocks_.erase(std::min_element(blocks_.begin(), blocks_.end(),
                                   [](const Block& a, const Block& b) { return a.used < b.used; }));
  }
  blocks_.push_back(std::move(block));
  return &blocks_.back();
}

bool MediaDownload::ReadFar(std::int64_t offset, char* out, std::size_t count, std::size_t* got,
                            const std::atomic<bool>& cancelled) {
  const std::lock_guard lock(far_mutex_);
  std::size_t done = 0;
  while (done < count && !cancelled.load()) {
    const std::int64_t at = offset + static_cast<std::int64_t>(done);
    const Block* block = FarBlock(at, cancelled);
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
