#include "media_player/win32/decoding_libraries_win32.h"

#include <windows.h>
#include <delayimp.h>

#include <cstdarg>
#include <cstdio>
#include <string>

extern "C" {
#include <libavutil/log.h>
}

#include "common/win32/server_module.h"

namespace {

// The file names are the build's (VEXO_DECODING_LIBRARIES); dav1d comes with the codecs.
constexpr const wchar_t* kLibraries[] = {VEXO_DECODING_LIBRARIES};

std::wstring BesideControl(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(ServerModule(), path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return name;
  std::wstring folder(path, length);
  return folder.substr(0, folder.rfind(L'\\') + 1) + name;
}

// The libraries load on their first call: from the control's folder, with the libraries they
// need themselves looked for there too. A program's own folder is where the system would look.
FARPROC WINAPI LoadBesideControl(unsigned notice, PDelayLoadInfo info) {
  if (notice != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
  const std::string narrow(info->szDll);
  const std::wstring name(narrow.begin(), narrow.end());  // ASCII file names
  return reinterpret_cast<FARPROC>(
      LoadLibraryExW(BesideControl(name.c_str()).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

const struct DelayLoadHook {
  DelayLoadHook() { __pfnDliNotifyHook2 = LoadBesideControl; }
} g_delay_load_hook;

// What the libraries have to say goes to the debugger output, errors only, as every silent
// failure of the control does.
void Trace(void*, int level, const char* format, va_list arguments) {
  if (level > AV_LOG_ERROR) return;
  char line[512];
  std::vsnprintf(line, sizeof line, format, arguments);
  OutputDebugStringA((std::string("vexo: media: ") + line).c_str());
}

bool g_loaded = false;

// Until the module's unload: the libraries may outlive it in a process that loads them itself,
// and then they log nowhere (the address of their own default callback, taken here, would be
// a stub of this module's).
const struct LibraryTrace {
  ~LibraryTrace() {
    if (g_loaded) av_log_set_callback(nullptr);
  }
} g_library_trace;

}  // namespace

bool DecodingLibrariesPresent() {
  for (const wchar_t* name : kLibraries) {
    if (GetFileAttributesW(BesideControl(name).c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  }
  return true;
}

bool LoadDecodingLibraries() {
  static const bool loaded = [] {
    for (const wchar_t* name : kLibraries) {
      if (!LoadLibraryExW(BesideControl(name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {
        OutputDebugStringW((L"vexo: media: " + std::wstring(name) + L" could not be loaded\n").c_str());
        return false;
      }
    }
    av_log_set_callback(Trace);
    g_loaded = true;
    return true;
  }();
  return loaded;
}
