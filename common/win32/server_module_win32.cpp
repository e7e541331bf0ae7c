#include "common/win32/server_module.h"

namespace {

HINSTANCE g_module = nullptr;

}  // namespace

HINSTANCE ServerModule() { return g_module; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != ThisServerClass().clsid) return CLASS_E_CLASSNOTAVAILABLE;
  return ThisServerFactory().QueryInterface(iid, out);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() { return ThisServerIdle() ? S_OK : S_FALSE; }
extern "C" HRESULT __stdcall DllRegisterServer() { return RegisterServerClass(g_module, ThisServerClass()); }
extern "C" HRESULT __stdcall DllUnregisterServer() { return UnregisterServerClass(ThisServerClass()); }
