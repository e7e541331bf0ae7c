#pragma once
// The response side: finds the end of the header block, accepts only a 2xx answer, undoes
// the chunked transfer coding and a gzip or deflate content coding (the request offers them),
// and hands the decoded body on as it arrives. A body is complete when its Content-Length has
// arrived, when its last chunk has, or, with neither, when the server closes the connection;
// it never grows past the reader's limit.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class HttpResponseReader {
 public:
  // A header block that has not ended within this many bytes is refused.
  static constexpr std::size_t kMaxHeaderBytes = 64 * 1024;

  enum class State { kHeaders, kBody, kComplete, kFailed };

  using BodySink = std::function<bool(std::string_view)>;  // false: the bytes could not be stored
  // `max_body_bytes`: the most decoded body bytes this answer may bring; more is a failure.
  explicit HttpResponseReader(BodySink sink, std::uint64_t max_body_bytes = UINT64_MAX);
  ~HttpResponseReader();
  HttpResponseReader(const HttpResponseReader&) = delete;
  HttpResponseReader& operator=(const HttpResponseReader&) = delete;

  // The next bytes received from the connection.
  State Feed(std::string_view bytes);
  // The server closed the connection: complete only when the whole body has arrived.
  State ConnectionClosed();

  State state() const { return state_; }
  int status() const { return status_; }
  std::optional<std::uint64_t> content_length() const { return content_length_; }
  std::uint64_t body_bytes() const { return delivered_; }

 private:
  class Inflater;
  enum class Chunk { kSizeLine, kData, kDataEnd, kTrailer };

  State ParseHeaders(std::string_view head);
  State Wire(std::string_view bytes);
  State Chunked(std::string_view bytes);
  State Decoded(std::string_view bytes);
  State WireBodyEnded();

  BodySink sink_;
  std::uint64_t max_body_;
  State state_ = State::kHeaders;
  std::string head_;
  int status_ = 0;
  std::optional<std::uint64_t> content_length_;
  std::uint64_t wire_received_ = 0;
  std::uint64_t coded_bytes_ = 0;  // body bytes before the content coding is undone
  std::uint64_t delivered_ = 0;
  bool chunked_ = false;
  Chunk chunk_state_ = Chunk::kSizeLine;
  std::string chunk_line_;
  std::uint64_t chunk_left_ = 0;
  std::unique_ptr<Inflater> inflater_;
};
