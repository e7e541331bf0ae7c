#include "media_player/win32/detached_thread_win32.h"

#include <windows.h>

#include <memory>

namespace {

struct Job {
  std::function<void()> work;
  HMODULE module = nullptr;
};

DWORD WINAPI RunJob(void* argument) {
  std::unique_ptr<Job> job(static_cast<Job*>(argument));
  job->work();
  const HMODULE module = job->module;
  job.reset();
  FreeLibraryAndExitThread(module, 0);
}

}  // namespace

bool RunDetached(std::function<void()> work) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&RunJob), &module)) {
    return false;
  }
  auto job = std::make_unique<Job>(Job{std::move(work), module});
  const HANDLE thread = CreateThread(nullptr, 0, RunJob, job.get(), 0, nullptr);
  if (!thread) {
    FreeLibrary(module);
    return false;
  }
  job.release();
  CloseHandle(thread);
  return true;
}
