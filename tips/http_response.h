#pragma once
// The response side: finds the end of the header block, accepts only a complete 2xx body in
// a form we can store as it is, and hands the body bytes on as they arrive.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class HttpResponseReader {
 public:
  // A header block that has not ended within this many bytes is refused.
  static constexpr std::size_t kMaxHeaderBytes = 64 * 1024;

  enum class State { kHeaders, kBody, kComplete, kFailed };

  using BodySink = std::function<bool(std::string_view)>;  // false: the bytes could not be stored
  explicit HttpResponseReader(BodySink sink) : sink_(std::move(sink)) {}

  // The next bytes received from the connection.
  State Feed(std::string_view bytes);
  // The server closed the connection: complete only when the whole body has arrived (the
  // Content-Length reached, or any length when the server sent none).
  State ConnectionClosed();

  State state() const { return state_; }
  int status() const { return status_; }
  std::optional<std::uint64_t> content_length() const { return content_length_; }

 private:
  State ParseHeaders(std::string_view head);
  State Body(std::string_view bytes);

  BodySink sink_;
  State state_ = State::kHeaders;
  std::string head_;
  int status_ = 0;
  std::optional<std::uint64_t> content_length_;
  std::uint64_t received_ = 0;
};
