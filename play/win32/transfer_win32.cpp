#include "play/win32/transfer_win32.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <mutex>
#include <string>

#include "common/win32/detached_thread.h"
#include "common/win32/unique_handle.h"
#include "common/win32/unique_internet.h"
#include "common/win32/web_request.h"
#include "common/win32/wide.h"
#include "play/panes/link_page.h"

// Shared between the caller and the helper thread; whoever finishes last frees it.
struct Win32Transfer::Request {
  std::mutex lock;
  HINTERNET session = nullptr;
  bool done = false;
  bool cancelled = false;
  std::optional<std::string> body;
  UniqueHandle finished{CreateEventW(nullptr, TRUE, FALSE, nullptr)};

  // Closing the session ends the helper's blocked call; whoever comes first closes it.
  void CloseSession() {
    if (session) InternetCloseHandle(session);
    session = nullptr;
  }
};

namespace {

enum class WaitEnd { kSignalled, kTimedOut, kQuit };

// Waits for `event` until `deadline` while window events keep running, as the transfer control
// let them. Input already seen by a nested loop still wakes the wait (MWMO_INPUTAVAILABLE), and
// no single wait is longer than 50 ms, so the window answers whatever happens in its handlers.
WaitEnd WaitPumping(HANDLE event, ULONGLONG deadline) {
  for (;;) {
    if (WaitForSingleObject(event, 0) == WAIT_OBJECT_0) return WaitEnd::kSignalled;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return WaitEnd::kTimedOut;
    const DWORD slice = static_cast<DWORD>(deadline - now < 50 ? deadline - now : 50);
    const DWORD wait = MsgWaitForMultipleObjectsEx(1, &event, slice, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (wait == WAIT_OBJECT_0) return WaitEnd::kSignalled;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));  // for the outermost loop
        return WaitEnd::kQuit;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

}  // namespace

std::optional<std::u16string> Win32Transfer::OpenUrl(std::u16string_view address, std::size_t max_bytes) {
  auto request = std::make_shared<Request>();
  const ULONGLONG deadline = GetTickCount64() + limit_ms_ + 2000;
  active_.push_back(request);
  const auto leave = [this, &request] { active_.erase(std::find(active_.begin(), active_.end(), request)); };
  // One request at a time, as the control allows: the outstanding one ends first.
  while (running_ && WaitForSingleObject(running_->finished.get(), 0) != WAIT_OBJECT_0) {
    const std::shared_ptr<Request> running = running_;
    const WaitEnd end = WaitPumping(running->finished.get(), deadline);
    if (end == WaitEnd::kQuit) Cancel();
    bool cancelled = false;
    {
      std::lock_guard<std::mutex> guard(request->lock);
      cancelled = request->cancelled;
    }
    if (end != WaitEnd::kSignalled || cancelled) {
      leave();
      return std::nullopt;
    }
  }
  running_ = request;
  const bool started =
      StartDetachedThread([request, url = std::wstring(ToWide(address)), limit = limit_ms_, max_bytes] {
        HINTERNET session = InternetOpenW(L"VexoPlay", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
        {
          std::lock_guard<std::mutex> guard(request->lock);
          request->session = session;
        }
        std::optional<std::string> body;
        if (session) {
          const WebRequest web =
              OpenWebRequest(session, url, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, limit);
          const UniqueInternet& handle = web.request;
          if (handle && SendWebRequest(handle.get(), {})) {
            DWORD code = 200, size = sizeof code;
            HttpQueryInfoW(handle.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size, nullptr);
            if (code >= 200 && code <= 299) {
              std::string text;
              char buffer[8192];
              DWORD read = 0;
              bool too_long = false;
              while (InternetReadFile(handle.get(), buffer, sizeof buffer, &read) && read > 0) {
                text.append(buffer, read);
                too_long = text.size() > max_bytes;
                if (too_long) break;
              }
              if (!too_long) body = std::move(text);
            }
          }
        }
        std::lock_guard<std::mutex> guard(request->lock);
        if (!request->cancelled) request->body = std::move(body);
        request->done = true;
        request->CloseSession();
        SetEvent(request->finished.get());
      });
  if (!started) {
    // No thread for it: the request ends at once, with nothing fetched.
    std::lock_guard<std::mutex> guard(request->lock);
    request->done = true;
    SetEvent(request->finished.get());
  }

  if (WaitPumping(request->finished.get(), deadline) == WaitEnd::kQuit) Cancel();
  std::optional<std::u16string> reply;
  {
    std::lock_guard<std::mutex> guard(request->lock);
    if (!request->done) {
      // Given up: closing the session ends the helper's blocked call.
      request->cancelled = true;
      request->CloseSession();
    } else if (request->body && !request->cancelled) {
      reply = DecodePageBytes(*request->body);
    }
  }
  if (running_ == request) running_.reset();
  leave();
  return reply;
}

void Win32Transfer::Cancel() {
  for (const auto& request : active_) {
    std::lock_guard<std::mutex> guard(request->lock);
    request->cancelled = true;
    SetEvent(request->finished.get());
  }
}
