#include "tip_popup/win32/tip_environment_win32.h"

#include <windows.h>

#include "common/win32/wide.h"
#include "common/xml/xml_doc_msxml.h"

std::unique_ptr<XmlDoc> Win32TipEnvironment::NewDocument() { return CreateMsxmlDoc(DomProbe::kFourClassesFallback); }

bool Win32TipEnvironment::MoveOver(const std::u16string& from, const std::u16string& to) {
  return MoveFileExW(WidePtr(from), WidePtr(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != FALSE;
}

bool Win32TipEnvironment::RemoveFile(const std::u16string& path) { return DeleteFileW(WidePtr(path)) != FALSE; }
