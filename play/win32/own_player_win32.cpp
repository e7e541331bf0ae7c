#include "play/win32/own_player_win32.h"

#include <string>

#include "common/win32/trace.h"
#include "media_player/media_player_class.h"

namespace {

using GetClassObject = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);

// The server beside the program, loaded once and kept for the life of the process.
GetClassObject ServerBesideProgram() {
  static const GetClassObject entry = []() -> GetClassObject {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::wstring dll(path, length);
    dll.resize(dll.find_last_of(L'\\') + 1);
    dll += L"VexoMedia.dll";
    const HMODULE module = LoadLibraryExW(dll.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) return nullptr;
    return reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  }();
  return entry;
}

HRESULT CreateBesideProgram(IOleObject** object) {
  const GetClassObject entry = ServerBesideProgram();
  if (!entry) return REGDB_E_CLASSNOTREG;
  ComPtr<IClassFactory> factory;
  const HRESULT got = entry(kMediaPlayerClass, IID_IClassFactory, factory.ReceiveVoid());
  if (FAILED(got) || !factory) return FAILED(got) ? got : E_NOINTERFACE;
  return factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(object));
}

}  // namespace

PlayerObjectSource OwnPlayer() {
  return [](IOleObject** object) {
    const HRESULT registered = RegisteredPlayer(kMediaPlayerClass)(object);
    if (SUCCEEDED(registered) && *object) return registered;
    return CreateBesideProgram(object);
  };
}

bool OwnPlayerAvailable() {
  ComPtr<IOleObject> probe;
  return SUCCEEDED(OwnPlayer()(probe.Receive())) && probe;
}
