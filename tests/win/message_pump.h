#pragma once
// Lets this thread's window messages (timers, paints, posted work) run while a test waits.
#include <windows.h>

#include <chrono>
#include <thread>

inline void Pump(std::chrono::milliseconds span) {
  const auto end = std::chrono::steady_clock::now() + span;
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  } while (std::chrono::steady_clock::now() < end);
}

// Pumps until `done` holds or `limit` passes; whether it held.
template <typename Condition>
bool PumpUntil(Condition done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    Pump(std::chrono::milliseconds(10));
  }
  return done();
}
