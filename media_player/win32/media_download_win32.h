#pragma once
// One media address fetched into its cache file by a helper thread with WinINet, from where
// an earlier fetch left off. Readers wait for the bytes they need; the fetch goes on while
// they play. The meter gives the share and the rate the control reports.
//
// Nobody ever waits for a fetch to end: a server that never answers would hold up whoever
// did (the window, or the decoding thread as it lets go of an item). The fetch's thread keeps
// the download alive; when the last holder lets go, the fetch is told to stop and ends on its
// own as soon as its request returns. Every wait of a reader ends at once when its item is
// closed, and a read far ahead has a deadline of its own.
//
// Every fetch is bounded: it writes no more than its server announced and no more than a cap
// without an announcement, leaves the disk its last free space, and a fetch ahead of the
// playing item stays within the cache's bound (it goes on once its item plays).
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/win32/unique_internet.h"
#include "media_player/core/download_meter.h"
#include "media_player/core/fetch_plan.h"

class MediaDownload : public std::enable_shared_from_this<MediaDownload> {
 public:
  static std::shared_ptr<MediaDownload> Create(std::wstring url, std::wstring cache_file);
  ~MediaDownload();
  MediaDownload(const MediaDownload&) = delete;
  MediaDownload& operator=(const MediaDownload&) = delete;

  // Starts the fetch, or takes it up again where it paused for the cache's bound; does
  // nothing while it runs or once it is over.
  void Start();
  // The playing item may take the cache past its bound; a fetch ahead may not.
  void SetPlaying(bool playing);

  enum class Wait { kReady, kEnd, kFailed, kCancelled };
  // Blocks until the file holds the bytes before `end`, or the fetch ended or failed, or
  // `cancelled` was set (and Wake called).
  Wait WaitFor(std::int64_t end, const std::atomic<bool>& cancelled);
  void Wake();
  // The item's size, waiting for the server to say it (-1 if it never does before the end).
  std::int64_t WaitForSize(const std::atomic<bool>& cancelled);

  // Downloads alive in the module (a stopped one may finish on a thread of its own).
  static long Live();
  // The cache files of every live download, which no trim may delete.
  static std::vector<std::wstring> LiveFiles();

  // Bytes far beyond where the fetch has got to (the index at a file's end, a jump ahead),
  // fetched by themselves with range requests and kept in a few blocks in memory. False when
  // the server cannot, or did not in time (then the reader waits for the fetch), or when
  // `cancelled` was set.
  bool ReadFar(std::int64_t offset, char* out, std::size_t count, std::size_t* got, const std::atomic<bool>& cancelled);
  // Whether `offset` is too far ahead to wait for the fetch.
  bool IsFar(std::int64_t offset);

  long PerMille();
  std::int64_t size();  // -1 while unknown
  long RateKilobytesPerSecond();
  std::int64_t fetched();
  bool finished();
  const std::wstring& url() const { return url_; }
  const std::wstring& file() const { return file_; }

 private:
  struct Block {
    std::int64_t start = 0;
    std::vector<char> bytes;
    std::uint64_t used = 0;
  };
  struct FarFetch;

  MediaDownload(std::wstring url, std::wstring cache_file);
  void Stop();
  void Run();
  // One request from `from` on; whether the item is whole afterwards (or has all it may).
  bool FetchFrom(HINTERNET session, std::int64_t from);
  // The answer to a request sent: its body is written to the file. Whether the item is whole.
  bool Receive(HINTERNET request, std::int64_t from);
  void Fail();
  const Block* FarBlock(std::int64_t at, const std::atomic<bool>& cancelled);

  const std::wstring url_;
  const std::wstring file_;
  const FetchBounds bounds_;
  std::mutex mutex_;
  std::condition_variable changed_;
  DownloadMeter meter_;
  bool size_known_ = false;
  bool failed_ = false;
  bool stopping_ = false;
  bool running_ = false;
  bool paused_for_cache_ = false;  // a fetch ahead that reached the cache's bound
  bool done_ = false;              // whole, capped, or given up: nothing more to fetch
  std::atomic<bool> playing_{false};
  std::string validator_;             // of the first answer, sent in If-Range with every range
  HINTERNET open_request_ = nullptr;  // closed from outside to stop a read that waits

  std::mutex far_mutex_;
  std::vector<Block> blocks_;
  std::uint64_t far_uses_ = 0;
  std::atomic<bool> far_refused_{false};
};

// The bounds of every fetch: the defaults, or what VEXO_MEDIA_CACHE_KB, VEXO_MEDIA_ITEM_CAP_KB
// and VEXO_MEDIA_FREE_FLOOR_KB say in kilobytes (for tests and for machines with little room).
FetchBounds FetchBoundsOfEnvironment();
