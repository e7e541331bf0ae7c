#pragma once
// A trace of failures that stay silent by design: the user sees nothing, but the step that
// failed and its code go to the debugger output (on Wine: WINEDEBUG=+debugstr), so that a
// silent failure can still be found.
#include <windows.h>

#include <exception>
#include <new>

// "vexo: <step> failed: HRESULT 0x8000FFFF".
void TraceFailure(const wchar_t* step, HRESULT result);
// The same with the thread's last error (GetLastError) as the code.
void TraceLastError(const wchar_t* step);
// A C++ exception stopped at a window procedure or COM method; `what` may be null.
void TraceException(const wchar_t* where, const char* what);

// Traces when `result` failed; returns whether it succeeded.
inline bool Succeeded(HRESULT result, const wchar_t* step) {
  if (SUCCEEDED(result)) return true;
  TraceFailure(step, result);
  return false;
}

// The barrier at a COM method: runs `body` (which returns an HRESULT) and turns any C++
// exception into a failure code, traced, so that none crosses into the caller's code.
template <typename Body>
HRESULT ComBarrier(const wchar_t* where, Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    TraceFailure(where, E_OUTOFMEMORY);
    return E_OUTOFMEMORY;
  } catch (const std::exception& error) {
    TraceException(where, error.what());
  } catch (...) {
    TraceException(where, nullptr);
  }
  return E_UNEXPECTED;
}
