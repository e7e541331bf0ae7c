#pragma once
// The owner of a WinINet handle (session, connection or request).
#include <windows.h>
#include <wininet.h>

#include "common/win32/unique_handle.h"

using UniqueInternet = UniqueAny<handle_traits::NullOrClosed<HINTERNET, &InternetCloseHandle>>;
