#include "tests/win/site_client.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdlib>
#include <stdexcept>

SiteClient::SiteClient() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  const char* port = std::getenv("VEXO_SITE_PORT");
  if (!port) throw std::runtime_error("VEXO_SITE_PORT is not set: run under with-content-site.sh");
  port_ = static_cast<unsigned short>(std::atoi(port));
}

std::string SiteClient::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string SiteClient::Exchange(const std::string& request) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port_);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string reply;
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    send(s, request.data(), static_cast<int>(request.size()), 0);
    shutdown(s, SD_SEND);
    char buffer[65536];
    int n;
    while ((n = recv(s, buffer, sizeof buffer, 0)) > 0) reply.append(buffer, n);
  }
  closesocket(s);
  return reply;
}

void SiteClient::Put(const std::string& path, const std::string& body) {
  Exchange("PUT " + path + " HTTP/1.1\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
}

std::string SiteClient::Get(const std::string& path) {
  const std::string reply = Exchange("GET " + path + " HTTP/1.1\r\n\r\n");
  if (reply.rfind("HTTP/1.1 200", 0) != 0) return {};
  const auto body = reply.find("\r\n\r\n");
  return body == std::string::npos ? std::string() : reply.substr(body + 4);
}

void SiteClient::Reset() { Exchange("GET /__reset HTTP/1.1\r\n\r\n"); }

int SiteClient::ConnectionCount() { return std::atoi(Get("/__count").c_str()); }

std::string SiteClient::TakeRequests() { return Get("/__requests"); }
