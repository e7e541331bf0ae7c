// The player control's in-process server: its class factory and its registration, as
// regsvr32 and the setup program call them.
#include <windows.h>

#include "common/win32/com_server.h"
#include "media_player/media_player_class.h"
#include "media_player/win32/media_download_win32.h"
#include "media_player/win32/media_player_control_win32.h"

namespace {

HINSTANCE g_module = nullptr;
ControlFactory<MediaPlayerControl> g_factory;
const ServerClass kServer{kMediaPlayerClass, L"Vexo media player control", L"Vexo.MediaPlayer"};

}  // namespace

HINSTANCE MediaPlayerModule() { return g_module; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (clsid != kMediaPlayerClass) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() {
  return InPlaceControl::LiveObjects() == 0 && MediaDownload::Live() == 0 && g_factory.locks() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT __stdcall DllRegisterServer() { return RegisterServerClass(g_module, kServer); }
extern "C" HRESULT __stdcall DllUnregisterServer() { return UnregisterServerClass(kServer); }
