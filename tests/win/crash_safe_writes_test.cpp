// Every file the programs rewrite is whole, whatever moment the writer dies at: a writer is
// killed with TerminateProcess at random moments, many times, and each time every file must be
// a whole old or whole new version, never a mix, never empty.
#include <windows.h>
#include <objbase.h>

#include <optional>
#include <random>

#include <gtest/gtest.h>

#include "common/codepage.h"
#include "common/text/utf.h"
#include "common/win32/wide.h"
#include "common/xml/xml_doc_msxml.h"
#include "play/lists/history_lists.h"
#include "play/ports/ansi_text.h"
#include "play/text/text_procedures.h"
#include "play/win32/files_win32.h"
#include "tests/shared/test_folder.h"
#include "tests/win/child_process.h"
#include "tests/win/list_writer_content.h"
#include "tips/tips_document.h"

namespace {

// The entry on top of a list the writer could have left, or -1 for any other content: entries
// n, n-1, ... down to n-100 (or 1), each exactly as written, each with its line break.
long long WholeList(const std::u16string& text, std::u16string (*line_of)(long long)) {
  if (text == u"\r\n") return 0;  // as the test left it
  if (text.size() < 2 || text.compare(text.size() - 2, 2, u"\r\n") != 0) return -1;
  std::vector<std::u16string> lines = SplitLines(text);
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  if (lines.empty()) return -1;
  const std::u16string& first = lines.front();
  long long top = 0;
  for (char16_t c : first.substr(first.rfind(u'|') + 1)) {
    if (c < u'0' || c > u'9') return -1;
    top = top * 10 + (c - u'0');
  }
  if (static_cast<long long>(lines.size()) != std::min<long long>(top, 101)) return -1;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] != line_of(top - static_cast<long long>(i))) return -1;
  }
  return top;
}

// A list page is whole when it ends as the page generator ends it.
bool WholePage(std::u16string text) {
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n')) text.pop_back();
  return text.size() >= 7 && text.compare(text.size() - 7, 7, u"</html>") == 0;
}

// What a list holds, for the message of a failure.
std::string Describe(const std::u16string& text) {
  std::vector<std::u16string> lines = SplitLines(text);
  std::string out = std::to_string(text.size()) + " characters, " + std::to_string(lines.size()) + " lines:";
  for (std::size_t i = 0; i < lines.size() && i < 3; ++i) {
    out += " [" + Utf16ToUtf8(lines[i].substr(0, 12)) + "..." +
           Utf16ToUtf8(lines[i].substr(lines[i].size() > 24 ? lines[i].size() - 24 : 0)) + "]";
  }
  return out;
}

// The tips document's version, or -1 when it does not load or lacks items.
long long WholeTipsDocument(const std::u16string& path) {
  auto doc = CreateMsxmlDoc(DomProbe::kThreeClasses);
  if (!doc || !doc->Load(path)) return -1;
  auto root = doc->SelectSingleNode(kTipsRoot);
  if (!root) return -1;
  std::size_t items = 0;
  for (std::size_t i = 0; i < root->ChildCount(); ++i) {
    if (auto child = root->Child(i); child && child->Name() == u"item") ++items;
  }
  if (items != 300) return -1;
  return std::stoll(Utf16ToUtf8(root->GetAttribute(u"version").value_or(u"-1")));
}

TEST(CrashSafeWrites, EveryFileIsWholeWhateverMomentItsWriterDies) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  TestFolder folder;
  folder.Write(u"date.dat", "\r\n");
  folder.Write(u"date_f.dat", "\r\n");
  folder.Write(u"VexoTips.xml", WriterTipsDocument());
  Win32Files files;
  SystemCodePage code_page;
  auto read = [&](std::u16string_view name) {
    return ReadAnsiText(files, code_page, folder.File(name)).value_or(u"(missing)");
  };

  const unsigned seed = std::random_device()();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> lifetime_ms(150, 900);
  const std::wstring writer = TestProgramFolder() + L"\\list_writer.exe";
  long long web_top = 0, local_top = 0, tips_version = 0;
  for (int round = 0; round < 25; ++round) {
    {
      // Under Wine a start right after a kill now and then fails; the writer is then started
      // again (what is tested is what a kill leaves, not the start).
      std::optional<ChildProcess> child;
      for (int attempt = 0; attempt < 10 && !(child && child->started()); ++attempt) {
        if (attempt) Sleep(200);
        child.emplace(writer, L"\"" + ToWide(folder.Text()) + L"\"", ToWide(folder.Text()));
        if (!child->started()) std::printf("round %d: the writer did not start (error %lu)\n", round, GetLastError());
      }
      ASSERT_TRUE(child->started()) << "error " << GetLastError();
      Sleep(static_cast<DWORD>(lifetime_ms(random)));
      TerminateProcess(child->handle(), 9);
      ASSERT_TRUE(child->WaitExit(std::chrono::seconds(10)));
    }
    SCOPED_TRACE("round " + std::to_string(round));
    const long long web = WholeList(read(kWebListFile), WriterWebLine);
    const long long local = WholeList(read(kLocalListFile), WriterLocalLine);
    const long long tips = WholeTipsDocument(folder.File(u"VexoTips.xml"));
    ASSERT_GE(web, web_top) << Describe(read(kWebListFile));  // whole, and never older than before
    ASSERT_GE(local, local_top) << Describe(read(kLocalListFile));
    ASSERT_GE(tips, tips_version);
    web_top = web;
    local_top = local;
    tips_version = tips;
    if (web > 0) {
      EXPECT_TRUE(WholePage(read(kWebListPage)));
      EXPECT_TRUE(WholePage(read(kLocalListPage)));
    }
  }
  // The writer got through many writes of every kind, so the kills fell among them (fewer on
  // a loaded machine, where a writer's start takes much of its short life).
  EXPECT_GT(web_top, 12);
  EXPECT_GT(local_top, 12);
  EXPECT_GT(tips_version, 12);
  CoUninitialize();
}

}  // namespace
