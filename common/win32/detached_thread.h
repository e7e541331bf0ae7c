#pragma once
// Work on a thread of its own that nobody waits for: a fetch that posts its answer back to a
// window. A system thread, not a detached std::thread: with this tool chain's thread library a
// std::thread that ends before it is detached can have its start data handed to a second new
// thread, so that one closure runs twice and is freed twice.
#include <windows.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace detached_thread_internal {
template <typename Work>
DWORD WINAPI Run(void* parameter) {
  const std::unique_ptr<Work> work(static_cast<Work*>(parameter));
  (*work)();
  return 0;
}
}  // namespace detached_thread_internal

// Starts `work()` on a new thread; false (and `work` dropped) when no thread could be made.
template <typename Work>
bool StartDetachedThread(Work&& work) {
  using Task = std::decay_t<Work>;
  auto task = std::make_unique<Task>(std::forward<Work>(work));
  const HANDLE thread = CreateThread(nullptr, 0, &detached_thread_internal::Run<Task>, task.get(), 0, nullptr);
  if (!thread) return false;
  task.release();  // the thread owns it now
  CloseHandle(thread);
  return true;
}
