#include "tips/http_response.h"

#include <zlib.h>

#include <algorithm>

#include "common/text/ascii_case.h"

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A chunk-size line ("1a2b", maybe ";extension") is never longer than this.
constexpr std::size_t kMaxChunkLine = 4096;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

// zlib's inflate over a gzip, zlib or raw deflate stream: "deflate" answers come both with
// and without the zlib wrapper, so a stream that does not start as gzip or zlib is read raw.
class HttpResponseReader::Inflater {
 public:
  Inflater() { ok_ = inflateInit2(&stream_, 15 + 32) == Z_OK; }
  ~Inflater() {
    if (ok_) inflateEnd(&stream_);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  // Inflates `bytes`, handing the output to `out`; false on a damaged stream or when `out`
  // refuses. Bytes after the end of the stream are ignored.
  template <typename Out>
  bool Put(std::string_view bytes, Out&& out) {
    if (!ok_) return false;
    if (!started_ && !bytes.empty()) {
      started_ = true;
      const bool wrapped = (static_cast<unsigned char>(bytes[0]) == 0x1F) || ((bytes[0] & 0x0F) == 8);
      if (!wrapped) {
        inflateEnd(&stream_);
        ok_ = inflateInit2(&stream_, -15) == Z_OK;
        if (!ok_) return false;
      }
    }
    stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream_.avail_in = static_cast<uInt>(bytes.size());
    char buffer[16384];
    while (!ended_ && (stream_.avail_in > 0)) {
      stream_.next_out = reinterpret_cast<Bytef*>(buffer);
      stream_.avail_out = sizeof buffer;
      const int result = inflate(&stream_, Z_NO_FLUSH);
      if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) return false;
      const std::size_t produced = sizeof buffer - stream_.avail_out;
      if (produced > 0 && !out(std::string_view(buffer, produced))) return false;
      if (result == Z_STREAM_END) ended_ = true;
      if (result == Z_BUF_ERROR && produced == 0) break;  // needs more input
    }
    return true;
  }
  bool ended() const { return ended_; }

 private:
  z_stream stream_{};
  bool ok_ = false;
  bool started_ = false;
  bool ended_ = false;
};

HttpResponseReader::HttpResponseReader(BodySink sink, std::uint64_t max_body_bytes)
    : sink_(std::move(sink)), max_body_(max_body_bytes) {}

HttpResponseReader::~HttpResponseReader() = default;

HttpResponseReader::State HttpResponseReader::Feed(std::string_view bytes) {
  if (state_ == State::kHeaders) {
    const std::size_t before = head_.size();
    head_.append(bytes);
    // Look again from a little before the new bytes: the blank line may straddle two blocks.
    const auto end = head_.find("\r\n\r\n", before >= 3 ? before - 3 : 0);
    if (end == std::string::npos) {
      if (head_.size() > kMaxHeaderBytes) state_ = State::kFailed;
      return state_;
    }
    if (end + 4 > kMaxHeaderBytes) return state_ = State::kFailed;
    const std::string rest = head_.substr(end + 4);
    state_ = ParseHeaders(std::string_view(head_).substr(0, end));
    head_.clear();
    if (state_ != State::kBody) return state_;
    if (!chunked_ && content_length_ && *content_length_ == 0) return WireBodyEnded();
    return Wire(rest);
  }
  if (state_ == State::kBody) return Wire(bytes);
  return state_;
}

HttpResponseReader::State HttpResponseReader::ConnectionClosed() {
  if (state_ == State::kHeaders) return state_ = State::kFailed;
  if (state_ != State::kBody) return state_;
  // Without a length or chunks the close is the end of the body; otherwise it came early.
  if (chunked_ || content_length_) return state_ = State::kFailed;
  return WireBodyEnded();
}

HttpResponseReader::State HttpResponseReader::ParseHeaders(std::string_view head) {
  // Status line: "HTTP/1.x NNN reason". Anything but 2xx is an error page, not the file.
  const auto line_end = std::min(head.find("\r\n"), head.size());
  const std::string_view status_line = head.substr(0, line_end);
  if (status_line.substr(0, 5) != "HTTP/") return State::kFailed;
  const auto blank = status_line.find(' ');
  if (blank == std::string_view::npos || blank + 4 > status_line.size()) return State::kFailed;
  const std::string_view code = status_line.substr(blank + 1, 3);
  if (!std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; })) return State::kFailed;
  status_ = (code[0] - '0') * 100 + (code[1] - '0') * 10 + (code[2] - '0');
  if (status_ < 200 || status_ > 299) return State::kFailed;

  std::size_t at = line_end;
  while (at < head.size()) {
    at += 2;  // past "\r\n"
    auto next = head.find("\r\n", at);
    if (next == std::string_view::npos) next = head.size();
    const std::string_view line = head.substr(at, next - at);
    at = next;
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view name = Trim(line.substr(0, colon));
    const std::string_view value = Trim(line.substr(colon + 1));
    if (EqualsIgnoringAsciiCase(name, "Content-Length")) {
      std::uint64_t length = 0;
      std::size_t digits = 0;
      for (char c : value) {
        if (c < '0' || c > '9') break;
        if (length > (UINT64_MAX - 9) / 10) return State::kFailed;
        length = length * 10 + static_cast<std::uint64_t>(c - '0');
        ++digits;
      }
      if (digits > 0 && !content_length_) content_length_ = length;
    } else if (EqualsIgnoringAsciiCase(name, "Transfer-Encoding")) {
      if (EqualsIgnoringAsciiCase(value, "chunked")) chunked_ = true;
      else if (!EqualsIgnoringAsciiCase(value, "identity")) return State::kFailed;  // a coding we cannot undo
    } else if (EqualsIgnoringAsciiCase(name, "Content-Encoding")) {
      if (EqualsIgnoringAsciiCase(value, "gzip") || EqualsIgnoringAsciiCase(value, "x-gzip") ||
          EqualsIgnoringAsciiCase(value, "deflate")) {
        inflater_ = std::make_unique<Inflater>();
      } else if (!EqualsIgnoringAsciiCase(value, "identity")) {
        return State::kFailed;
      }
    }
  }
  // "No Content" has no body, whatever else the header says.
  if (status_ == 204) {
    chunked_ = false;
    content_length_ = 0;
  }
  return State::kBody;
}

// Bytes of the message body as they come over the wire.
HttpResponseReader::State HttpResponseReader::Wire(std::string_view bytes) {
  if (chunked_) return Chunked(bytes);
  if (content_length_) {
    const std::uint64_t missing = *content_length_ - wire_received_;
    if (bytes.size() > missing) bytes = bytes.substr(0, static_cast<std::size_t>(missing));
  }
  wire_received_ += bytes.size();
  if (Decoded(bytes) == State::kFailed) return state_;
  if (content_length_ && wire_received_ == *content_length_) return WireBodyEnded();
  return state_;
}

HttpResponseReader::State HttpResponseReader::Chunked(std::string_view bytes) {
  while (!bytes.empty() && state_ == State::kBody) {
    switch (chunk_state_) {
      case Chunk::kSizeLine:
      case Chunk::kTrailer:
      case Chunk::kDataEnd: {
        const auto newline = bytes.find('\n');
        const std::string_view part = bytes.substr(0, newline == std::string_view::npos ? bytes.size() : newline);
        chunk_line_.append(part);
        if (chunk_line_.size() > kMaxChunkLine) return state_ = State::kFailed;
        if (newline == std::string_view::npos) return state_;
        bytes.remove_prefix(newline + 1);
        std::string_view line = chunk_line_;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (chunk_state_ == Chunk::kDataEnd) {
          if (!line.empty()) return state_ = State::kFailed;  // data longer than its size said
          chunk_state_ = Chunk::kSizeLine;
        } else if (chunk_state_ == Chunk::kTrailer) {
          if (line.empty()) {
            chunk_line_.clear();
            return WireBodyEnded();  // the blank line after the last chunk's trailers
          }
        } else {
          std::uint64_t size = 0;
          std::size_t digits = 0;
          for (char c : line) {
            const int digit = HexDigit(c);
            if (digit < 0) break;
            if (size > (UINT64_MAX >> 4)) return state_ = State::kFailed;
            size = size * 16 + static_cast<std::uint64_t>(digit);
            ++digits;
          }
          if (digits == 0) return state_ = State::kFailed;
          chunk_left_ = size;
          chunk_state_ = size == 0 ? Chunk::kTrailer : Chunk::kData;
        }
        chunk_line_.clear();
        break;
      }
      case Chunk::kData: {
        const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(chunk_left_, bytes.size()));
        if (Decoded(bytes.substr(0, take)) == State::kFailed) return state_;
        chunk_left_ -= take;
        bytes.remove_prefix(take);
        if (chunk_left_ == 0) chunk_state_ = Chunk::kDataEnd;
        break;
      }
    }
  }
  return state_;
}

// Bytes of the body once the transfer coding is undone: the content coding next, then the
// sink, within the limit.
HttpResponseReader::State HttpResponseReader::Decoded(std::string_view bytes) {
  if (bytes.empty()) return state_;
  coded_bytes_ += bytes.size();
  const auto deliver = [this](std::string_view out) {
    if (out.size() > max_body_ - delivered_) return false;
    delivered_ += out.size();
    return sink_(out);
  };
  const bool ok = inflater_ ? inflater_->Put(bytes, deliver) : deliver(bytes);
  if (!ok) state_ = State::kFailed;
  return state_;
}

HttpResponseReader::State HttpResponseReader::WireBodyEnded() {
  // A compressed body must have reached the end of its stream: otherwise it was cut short.
  if (inflater_ && coded_bytes_ > 0 && !inflater_->ended()) return state_ = State::kFailed;
  return state_ = State::kComplete;
}
