#pragma once
// A GET request made in two steps, so that its owner can hold the handle (and close it to
// cut the request short) before the server has answered. Time-outs are set on the request
// itself: set on a session, Wine's WinINet does not pass the receive time-out on to the
// requests InternetOpenUrlW makes, and a server that accepts and never answers would hold
// the fetch for ever.
#include <windows.h>

#include <string>

#include "common/win32/unique_internet.h"

struct WebRequest {
  UniqueInternet connection;
  UniqueInternet request;  // closed first: declared last
};

// Connected and opened, not sent; `request` is empty when the address is not http or https.
WebRequest OpenWebRequest(HINTERNET session, const std::wstring& url, DWORD flags, DWORD timeout_ms);
// Sends the request with `headers` ("Name: value\r\n" lines, or empty) and waits for the answer's head.
bool SendWebRequest(HINTERNET request, const std::wstring& headers);
