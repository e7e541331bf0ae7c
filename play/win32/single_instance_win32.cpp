#include "play/win32/single_instance_win32.h"

#include <dde.h>
#include <ddeml.h>

#include <exception>

#include "common/win32/trace.h"
#include "common/win32/wide.h"

namespace {

constexpr wchar_t kMutexName[] = L"Local\\VexoPlayOneCopy";
constexpr wchar_t kDdeService[] = L"绮映影视盒";
constexpr wchar_t kDdeTopic[] = L"BA1";

// The running copy's window; it may still be starting, so look for a few seconds.
HWND FindRunningWindow() {
  for (int i = 0; i < 100; ++i) {
    if (HWND hwnd = FindWindowW(kMainWindowClass, nullptr)) return hwnd;
    Sleep(50);
  }
  return nullptr;
}

bool HandOverByDde(std::u16string_view text) {
  DWORD instance = 0;
  if (DdeInitializeW(&instance, nullptr, APPCLASS_STANDARD | APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return false;
  HSZ service = DdeCreateStringHandleW(instance, kDdeService, CP_WINUNICODE);
  HSZ topic = DdeCreateStringHandleW(instance, kDdeTopic, CP_WINUNICODE);
  bool delivered = false;
  if (HCONV conversation = DdeConnect(instance, service, topic, nullptr)) {
    std::wstring command = ToWide(text);
    DWORD result = 0;
    delivered = DdeClientTransaction(reinterpret_cast<LPBYTE>(command.data()),
                                     static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)), conversation, nullptr,
                                     0, XTYP_EXECUTE, 5000, &result) != nullptr;
    DdeDisconnect(conversation);
  }
  DdeFreeStringHandle(instance, service);
  DdeFreeStringHandle(instance, topic);
  DdeUninitialize(instance);
  return delivered;
}

bool HasName(ATOM atom, const wchar_t* name) {
  wchar_t text[64] = {};
  return atom && GlobalGetAtomNameW(atom, text, 64) > 0 && lstrcmpiW(text, name) == 0;
}

}  // namespace

SingleInstance::SingleInstance() {
  mutex_.reset(CreateMutexW(nullptr, FALSE, kMutexName));
  first_ = !(mutex_ && GetLastError() == ERROR_ALREADY_EXISTS);
}

bool HandOverCommandLine(std::u16string_view text) {
  if (HWND running = FindRunningWindow()) {
    // The running copy may bring itself to the front: we are the foreground process now.
    DWORD running_process = 0;
    GetWindowThreadProcessId(running, &running_process);
    if (running_process) AllowSetForegroundWindow(running_process);
    std::u16string copy(text);
    COPYDATASTRUCT data{kCommandLineCopyData, static_cast<DWORD>(copy.size() * sizeof(char16_t)), copy.data()};
    DWORD_PTR answer = 0;
    SetLastError(ERROR_SUCCESS);
    if (SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000,
                            &answer)) {
      if (answer == TRUE) return true;
      // Answered but not taken: a copy that does not know the message still takes DDE.
    } else if (GetLastError() == ERROR_TIMEOUT) {
      // It may have taken the command and still be busy with it: handing it over again by DDE
      // could run it twice. Once at most.
      return false;
    }
  }
  return HandOverByDde(text);
}

bool ReadHandedCommandLine(const COPYDATASTRUCT* data, std::u16string& text) {
  if (!data || data->dwData != kCommandLineCopyData || data->cbData % sizeof(char16_t) != 0) return false;
  if (data->cbData > 0 && !data->lpData) return false;
  text.assign(static_cast<const char16_t*>(data->lpData), data->cbData / sizeof(char16_t));
  return true;
}

DdeCommandServer::DdeCommandServer(HWND window, Execute execute) : window_(window), execute_(std::move(execute)) {}

bool DdeCommandServer::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message < WM_DDE_FIRST || message > WM_DDE_LAST) return false;
  const HWND client = reinterpret_cast<HWND>(wparam);
  switch (message) {
    case WM_DDE_INITIATE: Initiate(client, LOWORD(lparam), HIWORD(lparam)); break;
    case WM_DDE_EXECUTE:
      if (clients_.count(client)) RunCommand(client, reinterpret_cast<HGLOBAL>(lparam));
      break;
    case WM_DDE_TERMINATE:
      if (clients_.erase(client)) PostMessageW(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window_), 0);
      break;
    case WM_DDE_ADVISE:
    case WM_DDE_UNADVISE:
    case WM_DDE_REQUEST:
    case WM_DDE_POKE:
      if (clients_.count(client)) Refuse(message, client, lparam);
      break;
    default: break;
  }
  return true;
}

// Only the application and topic by name: a client asking for any (a zero atom) is not
// answered, and the answer's atoms are the client's to delete.
void DdeCommandServer::Initiate(HWND client, ATOM application, ATOM topic) {
  if (!IsWindow(client) || !HasName(application, kDdeService) || !HasName(topic, kDdeTopic)) return;
  clients_.insert(client);
  SendMessageW(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(window_),
               MAKELPARAM(GlobalAddAtomW(kDdeService), GlobalAddAtomW(kDdeTopic)));
}

// The command is the client's UTF-16 text, up to its end or the memory's; the client frees
// the memory once it has the acknowledgement, which carries it back.
void DdeCommandServer::RunCommand(HWND client, HGLOBAL commands) {
  std::u16string command;
  if (const auto* text = static_cast<const char16_t*>(GlobalLock(commands))) {
    const std::size_t most = GlobalSize(commands) / sizeof(char16_t);
    std::size_t length = 0;
    while (length < most && text[length]) ++length;
    command.assign(text, length);
    GlobalUnlock(commands);
  }
  // No exception may leave a window procedure through this.
  try {
    if (execute_) execute_(command);
  } catch (const std::exception& error) {
    TraceException(L"DDE execute", error.what());
  } catch (...) {
    TraceException(L"DDE execute", nullptr);
  }
  const LPARAM ack = PackDDElParam(WM_DDE_ACK, DDE_FACK, reinterpret_cast<UINT_PTR>(commands));
  if (!PostMessageW(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(window_), ack)) FreeDDElParam(WM_DDE_ACK, ack);
}

// Data is only taken as commands: a request, a link or a poke is answered "no" for its item.
void DdeCommandServer::Refuse(UINT message, HWND client, LPARAM lparam) {
  UINT_PTR low = 0, item = 0;
  if (message == WM_DDE_ADVISE || message == WM_DDE_POKE) {
    UnpackDDElParam(message, lparam, &low, &item);
    FreeDDElParam(message, lparam);
  } else {
    item = HIWORD(lparam);
  }
  const LPARAM nack = PackDDElParam(WM_DDE_ACK, 0, item);
  if (!PostMessageW(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(window_), nack)) FreeDDElParam(WM_DDE_ACK, nack);
}
