// play.exe's services against a content site whose upgrade file names a newer version: the
// footer shows the site's news, and the upgrade question comes up; answered No, the program
// goes on.
#include <windows.h>

#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "tests/shared/test_folder.h"
#include "tests/win/child_process.h"
#include "tests/win/drawn_controls.h"
#include "tests/win/site_client.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A message box of this process with this title, once it is up.
HWND WaitDialog(DWORD process, const std::wstring& title, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    for (HWND dialog : WindowsOfClass(L"#32770")) {
      DWORD owner = 0;
      GetWindowThreadProcessId(dialog, &owner);
      wchar_t text[64] = {};
      GetWindowTextW(dialog, text, 64);
      if (owner == process && title == text && IsWindowVisible(dialog)) return dialog;
    }
    std::this_thread::sleep_for(100ms);
  }
  return nullptr;
}

TEST(PlayServices, TheFooterShowsTheNewsAndANewerVersionIsOffered) {
  TestFolder folder;
  SiteClient site;
  fs::copy_file(fs::path(TestProgramFolder()) / "play.exe", folder.path() / "play.exe");
  const std::string base = site.Url("/soft/");
  ChildProcess app((folder.path() / "play.exe").wstring(), L"", folder.path().wstring(),
                   {{L"PLAY_CONTENT_BASE", std::wstring(base.begin(), base.end())}});
  HWND main = app.WaitWindow(L"VexoPlayMainWindow", 30s);
  ASSERT_TRUE(main);

  // Six seconds after the start: the question, with this product's name in its title.
  HWND question = WaitDialog(app.id(), L"绮映影视盒提示：", 30s);
  ASSERT_TRUE(question);
  wchar_t text[128] = {};
  GetDlgItemTextW(question, 0xFFFF, text, 128);  // the message's static text
  EXPECT_NE(std::wstring(text).find(L"检测到最新版本 3.4"), std::wstring::npos);
  PostMessageW(question, WM_COMMAND, IDNO, 0);

  // The news rotate through the footer; the fifth item has no place there.
  std::wstring seen;
  for (int i = 0; i < 100 && seen.find(L"网络剧场上新") == std::wstring::npos; ++i) {
    for (const wchar_t* title : {L"新片速递：星河彼岸", L"热播剧集：长安夜行", L"网络剧场上新", L"第五条不显示"}) {
      const std::optional<DrawnControl> link = DrawnControlStartingWith(main, title);
      if (link && link->shown && seen.find(title) == std::wstring::npos) seen += title;
    }
    std::this_thread::sleep_for(200ms);
  }
  EXPECT_NE(seen.find(L"新片速递：星河彼岸"), std::wstring::npos);
  EXPECT_NE(seen.find(L"网络剧场上新"), std::wstring::npos);
  EXPECT_EQ(seen.find(L"第五条不显示"), std::wstring::npos);
  EXPECT_TRUE(IsWindow(main));  // No: the program goes on
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitExit(15s), 0u);
}

}  // namespace
