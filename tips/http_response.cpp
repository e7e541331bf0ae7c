#include "tips/http_response.h"

#include <algorithm>

#include "common/text/ascii_case.h"

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

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
    if (content_length_ && *content_length_ == 0) return state_ = State::kComplete;
    return Body(rest);
  }
  if (state_ == State::kBody) return Body(bytes);
  return state_;
}

HttpResponseReader::State HttpResponseReader::ConnectionClosed() {
  if (state_ == State::kBody) state_ = content_length_ ? State::kFailed : State::kComplete;
  else if (state_ == State::kHeaders) state_ = State::kFailed;
  return state_;
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
    } else if (EqualsIgnoringAsciiCase(name, "Transfer-Encoding") && !EqualsIgnoringAsciiCase(value, "identity")) {
      // Chunked framing would end up inside the stored file.
      return State::kFailed;
    } else if (EqualsIgnoringAsciiCase(name, "Content-Encoding") && !EqualsIgnoringAsciiCase(value, "identity")) {
      // A compressed body is not the movie or document itself, and nothing here inflates it.
      return State::kFailed;
    }
  }
  return State::kBody;
}

HttpResponseReader::State HttpResponseReader::Body(std::string_view bytes) {
  if (content_length_) {
    const std::uint64_t missing = *content_length_ - received_;
    if (bytes.size() > missing) bytes = bytes.substr(0, static_cast<std::size_t>(missing));
  }
  if (!bytes.empty() && !sink_(bytes)) return state_ = State::kFailed;
  received_ += bytes.size();
  if (content_length_ && received_ == *content_length_) state_ = State::kComplete;
  return state_;
}
