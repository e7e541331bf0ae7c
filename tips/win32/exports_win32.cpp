// The library's three exports and its one worker thread. The host loads us, calls
// Start_VexoTips once, polls Query_VexoTips and may call Close_VexoTips at any time.
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "common/win32/com.h"
#include "common/win32/unique_handle.h"
#include "tips/media_name.h"
#include "tips/tips_document.h"
#include "tips/tips_work.h"
#include "tips/win32/stop_signal.h"
#include "tips/win32/tips_environment_win32.h"

namespace {

std::string g_tips_url;      // TipsUrl
std::string g_store_folder;  // StoreFolder, ends in a backslash
// WorkDone: written by the worker, read by the host without a lock.
std::atomic<unsigned char> g_work_done{0};

// The worker that runs now, if any, and how to stop it. Each worker has its own stop signal,
// so a worker abandoned by Close never starts again when a later Start begins a new one.
std::mutex g_lock;
UniqueHandle g_worker_thread;
std::shared_ptr<StopSignal> g_stop;

// How long a Start after Close waits for the abandoned worker to go; it stops at its next
// step, which is at once unless the system holds it (a name look-up).
constexpr DWORD kAbandonedWorkerWaitMs = 5000;

struct WorkerJob {
  std::string tips_url;
  std::string store_folder;
  std::shared_ptr<StopSignal> stop;
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
    Win32TipsEnvironment env(*job->stop);
    RunTipsWork(env, job->tips_url, job->store_folder);
  }
  // A stopped worker leaves WorkDone as it was: the work is not over, it was abandoned.
  if (!job->stop->stopped()) g_work_done.store(1);
  job.reset();
  FreeLibraryAndExitThread(module, 0);
}

// The running worker and its stop signal, or nothing when no worker runs.
std::pair<HANDLE, std::shared_ptr<StopSignal>> RunningWorker() {
  std::lock_guard<std::mutex> guard(g_lock);
  if (!g_worker_thread || WaitForSingleObject(g_worker_thread.get(), 0) != WAIT_TIMEOUT) return {nullptr, nullptr};
  return {g_worker_thread.get(), g_stop};
}

}  // namespace

extern "C" bool __cdecl Start_VexoTips(const char* tips_url, const char* store_folder) {
  // One Start at a time, should a host call from two threads at once.
  static std::atomic<bool> starting{false};
  bool idle = false;
  if (!starting.compare_exchange_strong(idle, true)) return true;
  struct Done {
    ~Done() { starting.store(false); }
  } done;
  const auto [running, stop] = RunningWorker();
  if (running) {
    // A Start while the day's work runs changes nothing.
    if (stop && !stop->stopped()) return true;
    // After a Close the abandoned worker goes first; the new one starts on its own afterwards.
    WaitForSingleObject(running, kAbandonedWorkerWaitMs);
  }
  g_tips_url = tips_url ? tips_url : "";
  g_store_folder = StoreFolderWithBackslash(store_folder ? store_folder : "");

  bool due = true;
  {
    ComApartment com;
    StopSignal never;
    Win32TipsEnvironment env(never);
    due = CheckUpdateDue(env, g_tips_url, g_store_folder);
  }
  if (!due) {
    g_work_done.store(1);
    return true;
  }

  auto job =
      std::make_unique<WorkerJob>(WorkerJob{g_tips_url, g_store_folder, std::make_shared<StopSignal>(), nullptr});
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&TipsWorker),
                          &job->module)) {
    g_work_done.store(1);
    return true;
  }
  const HMODULE module = job->module;
  std::lock_guard<std::mutex> guard(g_lock);
  g_stop = job->stop;
  const HANDLE thread = CreateThread(nullptr, 0, TipsWorker, job.get(), 0, nullptr);
  if (!thread) {
    FreeLibrary(module);
    g_work_done.store(1);
    return true;
  }
  job.release();  // the worker owns it now
  g_worker_thread.reset(thread);
  return true;
}

extern "C" bool __cdecl Query_VexoTips() { return g_work_done.load() != 0; }

extern "C" bool __cdecl Close_VexoTips() {
  std::shared_ptr<StopSignal> stop;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    stop = g_stop;
  }
  if (stop) stop->Stop();
  return true;
}
