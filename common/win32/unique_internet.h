#pragma once
// The owner of a WinINet handle (session, connection or request).
#include <windows.h>
#include <wininet.h>

#include "common/win32/unique_handle.h"

namespace handle_traits {
struct Internet {
  using Type = HINTERNET;
  static Type Empty() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { InternetCloseHandle(h); }
};
}  // namespace handle_traits

using UniqueInternet = UniqueAny<handle_traits::Internet>;
