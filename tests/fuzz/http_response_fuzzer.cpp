// The tips client's reading of a server's answer: status line, headers, chunked framing and a
// gzip or deflate coding. The same bytes must read the same however the network splits them,
// and the body handed on never passes the reader's limit.
#include <cstdint>
#include <string>

#include "tests/fuzz/fuzz_check.h"
#include "tips/http_response.h"

namespace {

struct Reading {
  HttpResponseReader::State state;
  std::string body;
  std::uint64_t counted;
};

// Feeds the wire in pieces of the given sizes (cycled; zero means one piece), then closes.
Reading Read(std::string_view wire, std::uint64_t limit, std::string_view piece_sizes) {
  std::string body;
  HttpResponseReader reader(
      [&body](std::string_view bytes) {
        body.append(bytes);
        return true;
      },
      limit);
  std::size_t at = 0;
  std::size_t turn = 0;
  while (at < wire.size()) {
    std::size_t piece = wire.size() - at;
    if (!piece_sizes.empty()) piece = 1 + static_cast<unsigned char>(piece_sizes[turn++ % piece_sizes.size()]);
    reader.Feed(wire.substr(at, piece));
    at += std::min(piece, wire.size() - at);
  }
  const auto state = reader.ConnectionClosed();
  FUZZ_CHECK(state == reader.state());
  return {state, body, reader.body_bytes()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  // The first part chooses the limit and how the network splits the answer; the second is the wire.
  const auto parts = SplitInput(data, size, 2);
  const std::string_view options = parts[0];
  const std::string_view wire = parts[1];
  const std::uint64_t limit = options.empty() ? UINT64_MAX : 1 + static_cast<unsigned char>(options[0]) * 97;
  const std::string_view piece_sizes = options.empty() ? std::string_view() : options.substr(1);

  const Reading whole = Read(wire, limit, {});
  const Reading pieces = Read(wire, limit, piece_sizes.empty() ? std::string_view("\x00", 1) : piece_sizes);
  FUZZ_CHECK(whole.counted == whole.body.size());
  FUZZ_CHECK(whole.body.size() <= limit);
  FUZZ_CHECK(whole.state == HttpResponseReader::State::kComplete || whole.state == HttpResponseReader::State::kFailed);
  FUZZ_CHECK(pieces.state == whole.state);
  if (whole.state == HttpResponseReader::State::kComplete) FUZZ_CHECK(pieces.body == whole.body);
  return 0;
}
