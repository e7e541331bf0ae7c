#include "play/win32/clock_win32.h"

#include <windows.h>

LocalTime Win32Clock::Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::uint64_t Win32Clock::MonotonicMs() { return GetTickCount64(); }
