// The stand-in's in-process server: its class factory and its (un)registration under the
// player's class id in HKEY_CLASSES_ROOT, as regsvr32 calls them.
#include <windows.h>
#include <ole2.h>

#include <string>

#include "common/win32/unique_handle.h"
#include "tools/player-standin/standin_player_win32.h"

namespace {

HINSTANCE g_module = nullptr;
std::atomic<long> g_locks{0};

constexpr wchar_t kClassKey[] = L"CLSID\\{6B1E27C4-5A93-4D0E-9F28-3C71A4D8E05B}";
constexpr wchar_t kProgId[] = L"VexoInsertLibCtl.VexoCtrl";

class Factory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* player = new StandinPlayer();
    const HRESULT hr = player->QueryInterface(iid, out);
    player->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    lock ? ++g_locks : --g_locks;
    return S_OK;
  }
};

Factory g_factory;

bool SetValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  UniqueRegKey handle;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, handle.receive(), nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  return RegSetValueExW(handle.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

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
  return StandinObjectCount() == 0 && g_locks.load() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT __stdcall DllRegisterServer() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(g_module, path, MAX_PATH);
  const std::wstring clsid = L"{6B1E27C4-5A93-4D0E-9F28-3C71A4D8E05B}";
  const bool ok =
      SetValue(HKEY_CLASSES_ROOT, kClassKey, nullptr, L"Vexo player control (stand-in)") &&
      SetValue(HKEY_CLASSES_ROOT, std::wstring(kClassKey) + L"\\InprocServer32", nullptr, path) &&
      SetValue(HKEY_CLASSES_ROOT, std::wstring(kClassKey) + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
      SetValue(HKEY_CLASSES_ROOT, std::wstring(kClassKey) + L"\\ProgID", nullptr, kProgId) &&
      SetValue(HKEY_CLASSES_ROOT, std::wstring(kProgId) + L"\\CLSID", nullptr, clsid);
  return ok ? S_OK : E_ACCESSDENIED;
}

extern "C" HRESULT __stdcall DllUnregisterServer() {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
  return S_OK;
}
