#include "common/win32/web_request.h"

namespace {

std::wstring Part(const wchar_t* text, DWORD length) { return text ? std::wstring(text, length) : std::wstring(); }

}  // namespace

WebRequest OpenWebRequest(HINTERNET session, const std::wstring& url, DWORD flags, DWORD timeout_ms) {
  WebRequest web;
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof parts;
  // Lengths of 1 with no buffers: the parts come back as pointers into `url`.
  parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
  if (!InternetCrackUrlW(url.c_str(), 0, 0, &parts)) return web;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return web;
  const std::wstring host = Part(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring object =
      Part(parts.lpszUrlPath, parts.dwUrlPathLength) + Part(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (host.empty()) return web;
  if (object.empty()) object = L"/";
  web.connection.reset(
      InternetConnectW(session, host.c_str(), parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!web.connection) return web;
  if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
  web.request.reset(
      HttpOpenRequestW(web.connection.get(), L"GET", object.c_str(), nullptr, nullptr, nullptr, flags, 0));
  if (!web.request) return web;
  for (DWORD option :
       {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    InternetSetOptionW(web.request.get(), option, &timeout_ms, sizeof timeout_ms);
  }
  return web;
}

bool SendWebRequest(HINTERNET request, const std::wstring& headers) {
  return HttpSendRequestW(request, headers.empty() ? nullptr : headers.c_str(),
                          headers.empty() ? 0 : static_cast<DWORD>(headers.size()), nullptr, 0) != FALSE;
}
