#include "tips/win32/tips_environment_win32.h"

#include <windows.h>

#include <string>

#include "common/win32/durable_replace.h"
#include "common/xml/xml_doc_msxml.h"
#include "tips/win32/http_download_win32.h"

std::unique_ptr<XmlDoc> Win32TipsEnvironment::NewDocument() { return CreateMsxmlDoc(DomProbe::kThreeClasses); }

bool Win32TipsEnvironment::Exists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32TipsEnvironment::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool Win32TipsEnvironment::MoveOver(const std::string& from, const std::string& to) {
  return MoveOverDurably(from, to);
}

int Win32TipsEnvironment::Download(const std::string& url, const std::string& path, std::uint64_t max_bytes) {
  return HttpDownload(url, path, stop_, max_bytes, TempSuffix()).Run();
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
