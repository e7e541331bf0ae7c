#include "tips/win32/tips_environment_win32.h"

#include <windows.h>

#include <string>

#include "common/win32/durable_replace.h"
#include "common/win32/unique_handle.h"
#include "common/xml/xml_doc_msxml.h"
#include "tips/win32/http_download_win32.h"

std::unique_ptr<XmlDoc> Win32TipsEnvironment::NewDocument() { return CreateMsxmlDoc(DomProbe::kThreeClasses); }

bool Win32TipsEnvironment::Exists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32TipsEnvironment::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool Win32TipsEnvironment::MoveOver(const std::string& from, const std::string& to) {
  // A failed flush fails the move and keeps the list: the next move flushes them again.
  for (const std::string& stored : unflushed_) {
    const UniqueHandle file(CreateFileA(stored.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) continue;  // removed since: nothing left that a document could name
    if (!FlushToDisk(file.get())) return false;
  }
  unflushed_.clear();
  return MoveOverDurably(from, to);
}

int Win32TipsEnvironment::Download(const std::string& url, const std::string& path, std::uint64_t max_bytes) {
  const bool replaces = Exists(path);
  HttpDownload download(url, path, stop_, max_bytes, TempSuffix());
  // A file that replaces another (the one a kept tip may still show) is flushed before the
  // move, as the move must not put an unwritten file in its place; a new one later.
  const int result = download.Run(replaces ? HttpDownload::Flush::kBeforeMove : HttpDownload::Flush::kLater);
  if (result == 0 && !replaces) unflushed_.push_back(path);
  return result;
}

std::string Win32TipsEnvironment::TempSuffix() {
  const std::wstring suffix = TemporarySuffixOfThisThread();
  return std::string(suffix.begin(), suffix.end());  // a dot, a tilde, digits and a dash
}

LocalDate Win32TipsEnvironment::Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LocalDate{now.wYear, now.wMonth, now.wDay};
}
