#pragma once
// The request side of the library's HTTP/1.1 client: address parsing and the request bytes,
// which the tips server knows byte for byte.
#include <optional>
#include <string>
#include <string_view>

struct HttpAddress {
  std::string host;
  unsigned short port = 80;
  std::string path;  // from the first '/' after the host, query included, sent as it is
};

// "http://host[:port]/path"; nothing for another scheme, a missing path, an empty host or a
// port beyond 65535.
std::optional<HttpAddress> ParseHttpAddress(std::string_view url);

std::string BuildHttpRequest(const HttpAddress& address);
