#pragma once
// The entry points every in-process server DLL of ours exports (server_module_win32.cpp,
// compiled into each such DLL): DllMain keeps the module's handle, and the COM entry points
// serve the one class the DLL's own code describes with the functions below.
#include <windows.h>
#include <ole2.h>

#include "common/win32/com_server.h"

// The DLL's module handle.
HINSTANCE ServerModule();

// Defined by each server DLL.
const ServerClass& ThisServerClass();
IClassFactory& ThisServerFactory();
// Nothing of the DLL is in use any more: no object, no lock, no helper thread.
bool ThisServerIdle();
