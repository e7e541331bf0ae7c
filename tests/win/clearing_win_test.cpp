// Deleting an entry's downloaded files with the system's own file functions: the download
// folder named by the player's settings, and a file in use that cannot go.
#include <windows.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "common/codepage.h"
#include "common/text/utf.h"
#include "common/win32/unique_handle.h"
#include "common/win32/wide.h"
#include "play/lists/history_lists.h"
#include "play/main_window.h"
#include "play/text/js_escape.h"
#include "play/win32/files_win32.h"
#include "play/win32/profile_strings_win32.h"
#include "tests/native/fake_player.h"
#include "tests/native/fake_window_host.h"
#include "tests/shared/test_folder.h"

namespace {

TEST(ClearingOnWindows, FilesInUseStayAndAreReported) {
  TestFolder folder;
  Win32Files files;
  Win32ProfileStrings profile;
  SystemCodePage code_page;
  HistoryLists lists(files, code_page, folder.Text());
  FakePlayer player;
  RecordingHost host;
  MainWindow window({profile, files, player, lists, host, host, host, host, host, host, host, host, host},
                    folder.Text(), u"http://site/soft/");

  const std::u16string player_folder = folder.Text() + u"\\Vexo Player\\";
  const std::u16string download = folder.Text() + u"\\下载 目录\\";
  std::filesystem::create_directories(folder.path() / L"Vexo Player");
  std::filesystem::create_directories(folder.path() / L"下载 目录");
  folder.Write(u"config.ini", "[S_q]\r\nvexow=" + ToAnsi(player_folder) + "\r\n");
  folder.Write(u"Vexo Player\\VexoPlayer.xml", "<c Defaultsavepath=\"" + ToAnsi(download) + "\"/>\r\n");
  for (const char16_t* name : {u"第一集影片.rmvb", u"第一集影片.rmvb.cfg", u"第二集.rmvb"}) {
    folder.Write(u"下载 目录\\" + std::u16string(name), "media");
  }
  folder.Write(u"date.dat", "7|n|l|" + Utf16ToUtf8(JsEscape(u"vexo://m|9|第一集影片.rmvb|")) + "|1|1|0\r\n");
  // The player still has one of them open.
  const UniqueHandle in_use(CreateFileW(WidePtr(download + u"第一集影片.rmvb"), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(in_use);

  host.answers = {true};
  window.eee_Click(u"delk://1");
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_NE(host.questions[0].find("第一集影片.rmvb.cfg"), std::string::npos);
  EXPECT_TRUE(folder.Has(u"下载 目录\\第一集影片.rmvb"));
  EXPECT_FALSE(folder.Has(u"下载 目录\\第一集影片.rmvb.cfg"));
  EXPECT_TRUE(folder.Has(u"下载 目录\\第二集.rmvb"));
  EXPECT_EQ(host.balloons, std::vector<std::string>{"部分文件可能正在使用中，未删除成功！请手动删除！"});
}

}  // namespace

namespace {

// Without the player's settings there is no download folder, and the two usual folders are
// searched each once: C:\Media\ here (the test prefix has no D: drive to speak of).
TEST(ClearingOnWindows, WithoutThePlayersSettingsCMediaIsStillSearched) {
  TestFolder folder;
  Win32Files files;
  Win32ProfileStrings profile;
  SystemCodePage code_page;
  HistoryLists lists(files, code_page, folder.Text());
  FakePlayer player;
  RecordingHost host;
  MainWindow window({profile, files, player, lists, host, host, host, host, host, host, host, host, host},
                    folder.Text(), u"http://site/soft/");
  std::error_code ignored;
  std::filesystem::create_directories(L"C:\\Media", ignored);
  const std::filesystem::path film = L"C:\\Media\\无设置影片第三集.rmvb";
  { std::ofstream(film) << "media"; }
  folder.Write(u"config.ini", "[S_q]\r\nvexow=" + ToAnsi(folder.Text() + u"\\no player\\") + "\r\n");
  folder.Write(u"date.dat", "7|n|l|" + Utf16ToUtf8(JsEscape(u"vexo://m|9|无设置影片第三集.rmvb|")) + "|1|1|0\r\n");
  host.answers = {true};
  window.eee_Click(u"delk://1");
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_NE(host.questions[0].find("[C:\\Media\\]"), std::string::npos) << host.questions[0];
  EXPECT_FALSE(std::filesystem::exists(film));
  EXPECT_EQ(host.navigations.front(), "Web3 delk://1");
}

}  // namespace
