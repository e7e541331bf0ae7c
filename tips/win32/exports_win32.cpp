// The library's three exports and its one worker thread. The host loads us, calls
// Start_VexoTips once, polls Query_VexoTips and may call Close_VexoTips at any time.
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "common/win32/com.h"
#include "common/win32/unique_handle.h"
#include "tips/tips_document.h"
#include "tips/tips_work.h"
#include "tips/win32/stop_signal.h"
#include "tips/win32/tips_environment_win32.h"

namespace {

std::string g_tips_url;      // TipsUrl
std::string g_store_folder;  // StoreFolder, ends in a backslash
UniqueHandle g_worker_thread;
// WorkDone: written by the worker, read by the host without a lock.
std::atomic<unsigned char> g_work_done{0};
// True from a Start that runs the check until its worker has finished; a Start meanwhile
// must not touch the strings the worker reads nor start a second worker on the same files.
std::atomic<bool> g_busy{false};
StopSignal g_stop;

struct WorkerJob {
  std::string tips_url;
  std::string store_folder;
  HMODULE module = nullptr;  // our own reference, so the host can unload us while we finish
};

DWORD WINAPI TipsWorker(LPVOID parameter) {
  std::unique_ptr<WorkerJob> job(static_cast<WorkerJob*>(parameter));
  const HMODULE module = job->module;
  {
    // The sockets library is never cleaned up: the host may use it too.
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    ComApartment com;
    Win32TipsEnvironment env(g_stop);
    RunTipsWork(env, job->tips_url, job->store_folder);
  }
  // A stopped worker leaves WorkDone as it was: the work is not over, it was abandoned.
  if (!g_stop.stopped()) g_work_done.store(1);
  job.reset();
  g_busy.store(false);
  FreeLibraryAndExitThread(module, 0);
}

}  // namespace

extern "C" bool __cdecl Start_VexoTips(const char* tips_url, const char* store_folder) {
  bool idle = false;
  if (!g_busy.compare_exchange_strong(idle, true)) return true;
  g_tips_url = tips_url ? tips_url : "";
  g_store_folder = store_folder ? store_folder : "";

  bool due = true;
  {
    ComApartment com;
    Win32TipsEnvironment env(g_stop);
    due = CheckUpdateDue(env, g_tips_url, g_store_folder);
  }
  if (!due) {
    g_work_done.store(1);
    g_busy.store(false);
    return true;
  }

  auto job = std::make_unique<WorkerJob>(WorkerJob{g_tips_url, g_store_folder, nullptr});
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&TipsWorker),
                          &job->module)) {
    g_work_done.store(1);
    g_busy.store(false);
    return true;
  }
  g_stop.Reset();
  const HMODULE module = job->module;
  const HANDLE thread = CreateThread(nullptr, 0, TipsWorker, job.get(), 0, nullptr);
  if (!thread) {
    FreeLibrary(module);
    g_work_done.store(1);
    g_busy.store(false);
    return true;
  }
  job.release();  // the worker owns it now
  g_worker_thread.reset(thread);
  return true;
}

extern "C" bool __cdecl Query_VexoTips() { return g_work_done.load() != 0; }

extern "C" bool __cdecl Close_VexoTips() {
  if (g_busy.load()) g_stop.Stop();
  return true;
}
