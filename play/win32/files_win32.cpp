#include "play/win32/files_win32.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "common/win32/durable_replace.h"
#include "common/win32/unique_handle.h"
#include "common/win32/wide.h"
#include "play/text/text_procedures.h"

bool Win32Files::Exists(std::u16string_view path) {
  const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Files::FolderExists(std::u16string_view path) {
  const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Files::IsFullPath(std::u16string_view path) { return IsFullWindowsPath(path); }

std::optional<std::string> Win32Files::ReadBytes(std::u16string_view path) {
  UniqueHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  std::string bytes;
  char chunk[16384];
  DWORD read = 0;
  while (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
  return bytes;
}

bool Win32Files::ReplaceBytes(std::u16string_view path, std::string_view bytes) {
  return ReplaceFileDurably(ToWide(path), bytes);
}

bool Win32Files::Delete(std::u16string_view path) { return DeleteFileW(ToWide(path).c_str()) != FALSE; }

std::vector<std::u16string> Win32Files::List(std::u16string_view folder_and_pattern) {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW data;
  const UniqueFind find(FindFirstFileW(ToWide(folder_and_pattern).c_str(), &data));
  if (!find) return names;
  do {
    // What a plain listing of the folder shows: no folders, no hidden or system files, which the
    // clearing of downloaded files must never offer to delete.
    constexpr DWORD kLeftOut = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (!(data.dwFileAttributes & kLeftOut)) names.push_back(FromWide(data.cFileName));
  } while (FindNextFileW(find.get(), &data));
  return names;
}
