#include "tips/win32/http_download_win32.h"

#include <ws2tcpip.h>

#include <vector>

#include "common/win32/durable_replace.h"
#include "common/win32/unique_handle.h"
#include "tips/http_request.h"
#include "tips/http_response.h"

namespace {

class TempFile {
 public:
  explicit TempFile(const std::string& path)
      : path_(path),
        handle_(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~TempFile() {
    Close();
    if (!kept_) DeleteFileA(path_.c_str());
  }
  bool ok() const { return handle_.valid(); }
  // Blocks arrive as the network gives them; they reach the disk in runs of up to 64 KiB, which saves
  // most of the system calls and never holds more than that of the body in memory.
  // A block of a run's size or more goes straight to the file when nothing waits before it.
  bool Write(std::string_view bytes) {
    if (pending_.empty() && bytes.size() >= kFlushBytes) return WriteOut(bytes);
    pending_.append(bytes);
    return pending_.size() < kFlushBytes || Flush();
  }
  // Closes the file and moves it over `target`; with `flush`, it is put on the disk through its
  // own handle first.
  bool MoveTo(const std::string& target, bool flush) {
    if (!Flush() || (flush && !FlushToDisk(handle_.get()))) return false;
    Close();
    kept_ = MoveOverInOneStep(path_, target);
    return kept_;
  }

 private:
  void Close() { handle_.reset(); }
  bool Flush() {
    const bool ok = WriteOut(pending_);
    pending_.clear();
    return ok;
  }
  bool WriteOut(std::string_view bytes) {
    DWORD written = 0;
    return bytes.empty() ||
           (WriteFile(handle_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size());
  }

  static constexpr std::size_t kFlushBytes = 64 * 1024;
  std::string path_;
  UniqueHandle handle_;
  std::string pending_;
  bool kept_ = false;
};

}  // namespace

HttpDownload::HttpDownload(std::string url, std::string path, StopSignal& stop, std::uint64_t max_bytes,
                           std::string temp_suffix)
    : url_(std::move(url)),
      path_(std::move(path)),
      stop_(stop),
      max_bytes_(max_bytes),
      temp_suffix_(std::move(temp_suffix)) {}

HttpDownload::~HttpDownload() {
  if (attached_) stop_.Detach();
}

int HttpDownload::Run(Flush flush) {
  const auto address = ParseHttpAddress(url_);
  if (!address || stop_.stopped()) return -1;
  // The classic blocking IPv4 look-up; the tips server is named by a plain host name.
  const hostent* host = gethostbyname(address->host.c_str());
  if (!host || host->h_addrtype != AF_INET || !host->h_addr_list || !host->h_addr_list[0]) return -1;
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(address->port);
  memcpy(&target.sin_addr, host->h_addr_list[0], sizeof target.sin_addr);

  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return -1;
  attached_ = true;
  if (!stop_.Attach(s)) return -1;
  if (connect(s, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0 || stop_.stopped()) return -1;
  if (!SendAll(s, BuildHttpRequest(*address))) return -1;
  return ReceiveToFile(s, flush) ? 0 : -1;
}

bool HttpDownload::SendAll(SOCKET s, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    if (stop_.stopped()) return false;
    const int sent = send(s, bytes.data() + done, static_cast<int>(bytes.size() - done), 0);
    if (sent == SOCKET_ERROR || sent == 0) {
      WSAGetLastError();
      return false;
    }
    done += static_cast<std::size_t>(sent);
  }
  return true;
}

bool HttpDownload::ReceiveToFile(SOCKET s, Flush flush) {
  TempFile temp(path_ + temp_suffix_ + ".part");
  if (!temp.ok()) return false;
  HttpResponseReader reader([&temp](std::string_view body) { return temp.Write(body); }, max_bytes_);
  // 256 KiB at a time: under Wine each receive is a round trip to the server process, so a
  // small buffer costs far more than the memory; a receive takes what the socket holds (about
  // 90 KiB on a local connection). What is sent and stored does not change.
  std::vector<char> buffer(256 * 1024);
  HttpResponseReader::State state = reader.state();
  while (state == HttpResponseReader::State::kHeaders || state == HttpResponseReader::State::kBody) {
    if (stop_.stopped()) return false;
    const int received = recv(s, buffer.data(), static_cast<int>(buffer.size()), 0);
    if (received <= 0) {
      state = reader.ConnectionClosed();
      break;
    }
    state = reader.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(received)));
  }
  if (state != HttpResponseReader::State::kComplete || stop_.stopped()) return false;
  return temp.MoveTo(path_, flush == Flush::kBeforeMove);
}
