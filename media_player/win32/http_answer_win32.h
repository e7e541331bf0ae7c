#pragma once
// The parts of a media server's answer the fetches read, and the request they make.
#include <windows.h>
#include <wininet.h>

#include <string>

// Every media request asks the server itself, not a cache between, for the bytes.
inline constexpr DWORD kMediaRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI |
                                            INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_COOKIES;
inline constexpr DWORD kMediaTimeoutMs = 15000;

// A header of the answer (HTTP_QUERY_...), or "" without it.
std::wstring Header(HINTERNET request, DWORD which);
// The same as the validator keeps it: printable ASCII only, as it goes back to the server in
// a header line of our own; "" for anything else.
std::string HeaderValue(HINTERNET request, DWORD which);
// The If-Range line for a validator ("" without one).
std::wstring IfRangeHeader(const std::string& validator);
