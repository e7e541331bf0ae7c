// A writer that never stops: both list files and their pages, and the tips document as the
// library and the popup write it, each through the programs' own write path, again and again
// until the test kills it.
#include <windows.h>
#include <objbase.h>

#include "common/codepage.h"
#include "common/text/utf.h"
#include "common/win32/wide.h"
#include "play/lists/history_lists.h"
#include "play/win32/files_win32.h"
#include "tests/win/list_writer_content.h"
#include "tip_popup/tip_item.h"
#include "tip_popup/win32/tip_environment_win32.h"
#include "tips/tips_document.h"
#include "tips/win32/tips_environment_win32.h"

namespace {

// The entry on top of a list: the writer goes on from there. Every entry ends in its number.
long long TopEntry(HistoryLists& lists, std::u16string_view list_file) {
  const std::u16string line = lists.Line(list_file, 1);
  long long n = 0;
  for (char16_t c : line.substr(line.rfind(u'|') + 1)) {
    if (c < u'0' || c > u'9') return 0;
    n = n * 10 + (c - u'0');
  }
  return n;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::u16string folder = FromWide(argv[1]);
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
  Win32Files files;
  SystemCodePage code_page;
  HistoryLists lists(files, code_page, folder);
  StopSignal stop;
  Win32TipsEnvironment library(stop);
  Win32TipEnvironment popup;
  const std::string tips_path = ToAnsi(folder + u"\\VexoTips.xml");

  // Each file goes on from its own last whole version: a kill between two writes leaves the
  // lists one entry apart.
  long long web = TopEntry(lists, kWebListFile);
  long long local = TopEntry(lists, kLocalListFile);
  for (;;) {
    ++web;
    lists.AddWebEntry(web, WriterName(web), u"label", u"vexo%3A//m", 1, 2, web);
    ++local;
    lists.AddLocalEntry(WriterName(local), WriterPath(local), local);
    // The library stamps the document, then the popup counts a showing of item "1" off it.
    if (auto doc = library.NewDocument(); doc && doc->Load(FromAnsi(tips_path))) {
      if (auto root = doc->SelectSingleNode(kTipsRoot)) {
        const long long version = std::stoll(Utf16ToUtf8(root->GetAttribute(u"version").value_or(u"0")));
        root->SetAttribute(u"version", Decimal(version + 1));
      }
      SaveDocumentReplacing(library, *doc, tips_path);
    }
    TipApp app;
    SetProgramPath(app, folder + u"\\VexoTip.exe");
    ReadTipItem(popup, app, u"1");
  }
}
