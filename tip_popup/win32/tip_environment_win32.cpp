#include "tip_popup/win32/tip_environment_win32.h"

#include <windows.h>

#include "common/win32/durable_replace.h"
#include "common/win32/wide.h"
#include "common/xml/xml_doc_msxml.h"

std::unique_ptr<XmlDoc> Win32TipEnvironment::NewDocument() { return CreateMsxmlDoc(DomProbe::kFourClassesFallback); }

bool Win32TipEnvironment::MoveOver(const std::u16string& from, const std::u16string& to) {
  return MoveOverDurably(ToWide(from), ToWide(to));
}

bool Win32TipEnvironment::RemoveFile(const std::u16string& path) { return DeleteFileW(WidePtr(path)) != FALSE; }

bool Win32TipEnvironment::Exists(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(WidePtr(path));
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::u16string Win32TipEnvironment::TempSuffix() { return FromWide(TemporarySuffixOfThisThread()); }
