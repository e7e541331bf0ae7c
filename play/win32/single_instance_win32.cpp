#include "play/win32/single_instance_win32.h"

#include <ddeml.h>

#include <exception>

#include "common/win32/trace.h"
#include "common/win32/wide.h"

namespace {

constexpr wchar_t kMutexName[] = L"Local\\VexoPlayOneCopy";
constexpr wchar_t kDdeService[] = L"绮映影视盒";
constexpr wchar_t kDdeTopic[] = L"BA1";

DdeCommandServer::Execute* g_execute = nullptr;
DWORD g_server_instance = 0;

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

HDDEDATA CALLBACK DdeCallback(UINT type, UINT, HCONV, HSZ topic, HSZ, HDDEDATA data, ULONG_PTR, ULONG_PTR) {
  if (type == XTYP_CONNECT) {
    wchar_t name[16] = {};
    DdeQueryStringW(g_server_instance, topic, name, 16, CP_WINUNICODE);
    return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(lstrcmpiW(name, kDdeTopic) == 0));
  }
  if (type == XTYP_EXECUTE && g_execute) {
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::wstring command(size / sizeof(wchar_t) + 1, L'\0');
    DdeGetData(data, reinterpret_cast<LPBYTE>(command.data()), size, 0);
    command.resize(wcsnlen(command.c_str(), command.size()));
    // No exception may leave a system callback.
    try {
      (*g_execute)(FromWide(command));
    } catch (const std::exception& error) {
      TraceException(L"DDE execute", error.what());
    } catch (...) {
      TraceException(L"DDE execute", nullptr);
    }
    return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
  }
  return nullptr;
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

DdeCommandServer::DdeCommandServer(Execute execute) {
  static Execute stored;
  stored = std::move(execute);
  g_execute = &stored;
  if (DdeInitializeW(&instance_, DdeCallback, APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_REQUESTS | CBF_FAIL_POKES,
                     0) != DMLERR_NO_ERROR) {
    instance_ = 0;
    return;
  }
  g_server_instance = instance_;
  service_ = DdeCreateStringHandleW(instance_, kDdeService, CP_WINUNICODE);
  topic_ = DdeCreateStringHandleW(instance_, kDdeTopic, CP_WINUNICODE);
  DdeNameService(instance_, static_cast<HSZ>(service_), nullptr, DNS_REGISTER);
}

DdeCommandServer::~DdeCommandServer() {
  if (!instance_) return;
  DdeNameService(instance_, static_cast<HSZ>(service_), nullptr, DNS_UNREGISTER);
  DdeFreeStringHandle(instance_, static_cast<HSZ>(service_));
  DdeFreeStringHandle(instance_, static_cast<HSZ>(topic_));
  DdeUninitialize(instance_);
  g_execute = nullptr;
  g_server_instance = 0;
}
