#include "tips/http_request.h"

std::optional<HttpAddress> ParseHttpAddress(std::string_view url) {
  constexpr std::string_view kScheme = "http://";
  if (url.substr(0, kScheme.size()) != kScheme) return std::nullopt;
  const auto slash = url.find('/', kScheme.size());
  if (slash == std::string_view::npos) return std::nullopt;
  HttpAddress address;
  const std::string_view authority = url.substr(kScheme.size(), slash - kScheme.size());
  const auto colon = authority.find(':');
  if (colon == std::string_view::npos) {
    address.host = std::string(authority);
  } else {
    address.host = std::string(authority.substr(0, colon));
    // The port is the leading digits after the colon; none gives 0, which never connects.
    unsigned long port = 0;
    for (std::size_t i = colon + 1; i < authority.size() && authority[i] >= '0' && authority[i] <= '9'; ++i) {
      port = port * 10 + static_cast<unsigned long>(authority[i] - '0');
      if (port > 65535) return std::nullopt;
    }
    address.port = static_cast<unsigned short>(port);
  }
  // An empty host name would resolve to this machine itself.
  if (address.host.empty()) return std::nullopt;
  address.path = std::string(url.substr(slash));
  return address;
}

std::string BuildHttpRequest(const HttpAddress& address) {
  // The server expects exactly these lines: no blank after "Host:", one blank after the host
  // name, and never a port on the host line.
  return "GET " + address.path +
         " HTTP/1.1\r\n"
         "Accept: */*\r\n"
         "Accept-Language: zh-cn\r\n"
         "Accept-Encoding: gzip, deflate\r\n"
         "User-Agent: VexoPlayer\r\n"
         "Host:" +
         address.host +
         " \r\n"
         "Connection: Keep-Alive\r\n"
         "\r\n";
}
