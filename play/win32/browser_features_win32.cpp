#include "play/win32/browser_features_win32.h"

#include <windows.h>

#include "common/win32/trace.h"

namespace {

struct Feature {
  const wchar_t* name;
  DWORD value;
};

constexpr Feature kFeatures[] = {
    {L"FEATURE_BROWSER_EMULATION", 11001},  // the engine's own standards mode, whatever the page declares
    {L"FEATURE_GPU_RENDERING", 1},
    {L"FEATURE_DISABLE_NAVIGATION_SOUNDS", 1},  // no click at every navigation of a pane
};

// The file name the system looks the values up by: the program's own, as it was started.
std::wstring ProgramFileName() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name(path, length);
  const auto slash = name.find_last_of(L"\\/");
  return slash == std::wstring::npos ? name : name.substr(slash + 1);
}

}  // namespace

bool SetBrowserFeatures() {
  const std::wstring program = ProgramFileName();
  if (program.empty()) return false;
  bool all = true;
  for (const Feature& feature : kFeatures) {
    const std::wstring key = std::wstring(kBrowserFeatureRoot) + feature.name;
    HKEY handle = nullptr;
    const LONG created =
        RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr);
    if (created != ERROR_SUCCESS) {
      TraceFailure(L"RegCreateKeyEx(browser feature)", HRESULT_FROM_WIN32(created));
      all = false;
      continue;
    }
    const DWORD value = feature.value;
    const LONG set =
        RegSetValueExW(handle, program.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    if (set != ERROR_SUCCESS) {
      TraceFailure(L"RegSetValueEx(browser feature)", HRESULT_FROM_WIN32(set));
      all = false;
    }
    RegCloseKey(handle);
  }
  return all;
}
