#include "common/win32/durable_replace.h"

#include <windows.h>

#include <algorithm>

#include "common/win32/unique_handle.h"

// Whatever wrote the file (our own writes, the DOM's save, a download) may still hold its data
// in the system's cache; any handle with write access flushes all of it.
bool FlushToDisk(void* file) { return file != INVALID_HANDLE_VALUE && FlushFileBuffers(file) != FALSE; }

bool MoveOverInOneStep(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

std::wstring TemporarySuffixOfThisThread() {
  return L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetCurrentThreadId());
}

bool MoveOverDurably(const std::wstring& from, const std::wstring& to) {
  {
    const UniqueHandle file(CreateFileW(from.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!FlushToDisk(file.get())) return false;
  }
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool MoveOverDurably(const std::string& from, const std::string& to) {
  {
    const UniqueHandle file(CreateFileA(from.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!FlushToDisk(file.get())) return false;
  }
  return MoveOverInOneStep(from, to);
}

bool ReplaceFileDurably(const std::wstring& target, std::string_view bytes) {
  // A name of this process and thread: two writers of one file never share their temporary.
  const std::wstring temp = target + TemporarySuffixOfThisThread();
  {
    UniqueHandle file(
        CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
      DWORD written = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
      if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) {
        file.reset();
        DeleteFileW(temp.c_str());
        return false;
      }
      done += written;
    }
  }
  if (!MoveOverDurably(temp, target)) {
    DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}
