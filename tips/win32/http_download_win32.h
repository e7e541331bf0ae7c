#pragma once
// One HTTP/1.1 GET of one address into one file, over a blocking IPv4 socket. The body goes
// to a temporary file beside the target (named for this process and thread) and is moved
// into place only when it has arrived whole, decoded, from a 2xx answer, and within its
// limit. Windows Sockets 2.2 must be started.
#include <cstdint>
#include <string>

#include "tips/win32/stop_signal.h"

class HttpDownload {
 public:
  HttpDownload(std::string url, std::string path, StopSignal& stop, std::uint64_t max_bytes, std::string temp_suffix);
  ~HttpDownload();
  HttpDownload(const HttpDownload&) = delete;
  HttpDownload& operator=(const HttpDownload&) = delete;

  // When the body reaches the disk: before the file is moved into place, or later, by a flush
  // of the caller's (the move is then on the disk, the content maybe not yet).
  enum class Flush { kBeforeMove, kLater };

  // 0 when the file holds the whole body; -1 for an address that does not parse, a name that
  // does not resolve, a failed connect or send, an error status, an incomplete body or a stop.
  int Run(Flush flush);

 private:
  bool SendAll(SOCKET s, const std::string& bytes);
  bool ReceiveToFile(SOCKET s, Flush flush);

  std::string url_;
  std::string path_;
  StopSignal& stop_;
  std::uint64_t max_bytes_;
  std::string temp_suffix_;
  bool attached_ = false;
};
