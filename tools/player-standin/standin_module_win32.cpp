// The stand-in's in-process server: its class factory and its (un)registration under the
// player's class id, as regsvr32 calls them.
#include <windows.h>

#include "common/win32/com_server.h"
#include "tools/player-standin/standin_player_win32.h"

namespace {

HINSTANCE g_module = nullptr;
ControlFactory<StandinPlayer> g_factory;
const ServerClass kServer{kStandinClass, L"Vexo player control (stand-in)", L"VexoInsertLibCtl.VexoCtrl"};

}  // namespace

HINSTANCE StandinModule() { return g_module; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (clsid != kStandinClass) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() {
  return InPlaceControl::LiveObjects() == 0 && g_factory.locks() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT __stdcall DllRegisterServer() { return RegisterServerClass(g_module, kServer); }
extern "C" HRESULT __stdcall DllUnregisterServer() { return UnregisterServerClass(kServer); }
