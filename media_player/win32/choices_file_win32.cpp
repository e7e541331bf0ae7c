#include "media_player/win32/choices_file_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <mutex>
#include <utility>
#include <vector>

#include "common/text/utf.h"
#include "common/win32/durable_replace.h"
#include "common/win32/unique_handle.h"
#include "common/win32/wide.h"
#include "media_player/win32/detached_thread_win32.h"

namespace {

// Choices not yet written, the latest of each item: whichever writer runs first writes them
// all, so that writers running out of order never put an older choice over a newer one.
std::mutex g_pending_mutex;
std::vector<std::pair<std::wstring, ItemChoices>> g_pending;
std::mutex g_writing;  // one read-change-write of the file at a time

std::wstring ChoicesFile() {
  wchar_t folder[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder))) {
    return {};
  }
  std::wstring path = std::wstring(folder) + L"\\VexoMedia";
  CreateDirectoryW(path.c_str(), nullptr);
  return path + L"\\choices.txt";
}

RememberedChoices ReadChoices(const std::wstring& path) {
  RememberedChoices choices;
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return choices;
  std::string bytes(RememberedChoices::kMaxFileBytes, '\0');
  DWORD got = 0;
  if (GetFileType(file.get()) != FILE_TYPE_DISK ||
      !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) {
    return choices;
  }
  bytes.resize(got);
  choices.Parse(bytes);
  return choices;
}

std::string Key(const std::wstring& item) { return Utf16ToUtf8(FromWide(item)); }

}  // namespace

ItemChoices LoadItemChoices(const std::wstring& item) {
  const std::wstring path = ChoicesFile();
  if (path.empty() || item.empty()) return {};
  return ReadChoices(path).Find(Key(item)).value_or(ItemChoices{});
}

void SaveItemChoices(const std::wstring& item, const ItemChoices& choices) {
  if (item.empty()) return;
  {
    const std::lock_guard lock(g_pending_mutex);
    std::erase_if(g_pending, [&](const auto& pending) { return pending.first == item; });
    g_pending.emplace_back(item, choices);
  }
  RunDetached([] {
    const std::lock_guard writing(g_writing);
    std::vector<std::pair<std::wstring, ItemChoices>> pending;
    {
      const std::lock_guard lock(g_pending_mutex);
      pending.swap(g_pending);
    }
    const std::wstring path = ChoicesFile();
    if (pending.empty() || path.empty()) return;
    RememberedChoices kept = ReadChoices(path);
    for (const auto& [item, choices] : pending) kept.Put(Key(item), choices);
    ReplaceFileDurably(path, kept.Serialize());
  });
}
