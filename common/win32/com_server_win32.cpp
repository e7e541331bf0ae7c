#include "common/win32/com_server.h"

#include <olectl.h>

#include <string>

#include "common/win32/unique_handle.h"

namespace {

bool SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  UniqueRegKey handle;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, handle.receive(), nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  return RegSetValueExW(handle.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring ClassIdText(const CLSID& clsid) {
  wchar_t text[64] = {};
  StringFromGUID2(clsid, text, 64);
  return text;
}

}  // namespace

HRESULT RegisterServerClass(HINSTANCE module, const ServerClass& server) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return E_FAIL;
  const std::wstring clsid = ClassIdText(server.clsid);
  const std::wstring key = L"CLSID\\" + clsid;
  bool ok = SetValue(key, nullptr, server.name) && SetValue(key + L"\\InprocServer32", nullptr, path) &&
            SetValue(key + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  if (ok && server.prog_id) {
    ok = SetValue(key + L"\\ProgID", nullptr, server.prog_id) &&
         SetValue(std::wstring(server.prog_id) + L"\\CLSID", nullptr, clsid);
  }
  return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterServerClass(const ServerClass& server) {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + ClassIdText(server.clsid)).c_str());
  if (server.prog_id) RegDeleteTreeW(HKEY_CLASSES_ROOT, server.prog_id);
  return S_OK;
}
