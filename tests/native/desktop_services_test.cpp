// The desktop player's supervision, the exit, the notification-area icon and the shutdown
// after playback, over the model and fakes.
#include <gtest/gtest.h>

#include "tests/native/main_window_fixture.h"

#include <filesystem>

#include "play/lists/history_lists.h"
#include "play/lists/media_file_key.h"
#include "play/text/js_escape.h"

namespace {

class DesktopServicesTest : public MainWindowFixture {
 protected:
  DesktopServicesTest() : MainWindowFixture(u"http://site/soft/") {
    folder.Write(u"date.dat", "\r\n");
    folder.Write(u"date_f.dat", "\r\n");
  }
  void Config(const std::string& s_q) { folder.Write(u"config.ini", "[S_q]\r\n" + s_q); }
  void Running(unsigned long id, const char16_t* name, const char16_t* path) {
    host.processes.push_back({id, name});
    if (*path) host.paths[id] = path;
  }
  bool Has(const std::string& call) const {
    return std::find(host.calls.begin(), host.calls.end(), call) != host.calls.end();
  }
};

TEST_F(DesktopServicesTest, TheSupervisionPassClosesThePlayerAndKeepsItsTerminal) {
  Config("vexoqi=2\r\n");
  Running(4, u"explorer.exe", u"C:\\windows\\explorer.exe");
  Running(7, u"vexoplayer.EXE", u"C:\\Program Files\\Vexo\\vexoplayer.EXE");
  Running(8, u"VexoPlayer.exe", u"D:\\Vexo Player\\VexoPlayer.exe");
  window.model().Timer(ba1::Timer3).enabled = true;
  window.OnTimer(ba1::Timer3);
  EXPECT_FALSE(window.model().Timer(ba1::Timer3).enabled);
  // Every player is ended whatever its case; the last one's folder, without the program's
  // exact-case name, is kept with its final backslash.
  EXPECT_TRUE(Has("Terminate 7"));
  EXPECT_TRUE(Has("Terminate 8"));
  EXPECT_FALSE(Has("Terminate 4"));
  EXPECT_TRUE(Has("Sweep"));
  EXPECT_EQ(host.started, std::vector<std::string>{"D:\\Vexo Player\\VexoTerminal.exe"});
  EXPECT_NE(Ansi(u"config.ini").find("vexow=D:\\Vexo Player\\\r\n"), std::string::npos) << Ansi(u"config.ini");

  // A running terminal is left alone; a pass that finds no player keeps the known folder.
  host.started.clear();
  Running(9, u"VEXOTERMINAL.EXE", u"D:\\Vexo Player\\VEXOTERMINAL.EXE");
  window.OnTimer(ba1::Timer3);  // switched off: nothing
  EXPECT_TRUE(host.started.empty());
  window.model().Timer(ba1::Timer3).enabled = true;
  window.OnTimer(ba1::Timer3);
  EXPECT_TRUE(host.started.empty());
  EXPECT_EQ(window.context().player_folder, u"D:\\Vexo Player\\");
}

TEST_F(DesktopServicesTest, KeepingThePlayerOrKnowingNoFolderStartsNothing) {
  Config("vexoqi=1\r\n");
  Running(7, u"VexoPlayer.exe", u"C:\\Vexo\\VexoPlayer.exe");
  window.Timer3_Timer();
  EXPECT_TRUE(host.calls.empty());
  EXPECT_EQ(Ansi(u"config.ini").find("vexow="), std::string::npos);

  // No player and no folder from an earlier pass: a bare "VexoTerminal.exe" is not started.
  Config("vexoqi=2\r\n");
  host.processes.clear();
  window.Timer3_Timer();
  EXPECT_TRUE(host.started.empty());
  EXPECT_EQ(Ansi(u"config.ini").find("vexow="), std::string::npos);
}

TEST_F(DesktopServicesTest, KillByNameEndsTheFirstExactCaseMatchOnly) {
  Running(3, u"vexoterminal.exe", u"");
  Running(5, u"OldVexoTerminal.exe", u"");
  Running(6, u"VexoTerminal.exe", u"");
  EXPECT_TRUE(window.KillProcessByName(u"VexoTerminal.exe"));
  EXPECT_EQ(host.calls, std::vector<std::string>{"Terminate 5"});
  host.processes.clear();
  EXPECT_FALSE(window.KillProcessByName(u"VexoTerminal.exe"));
}

TEST_F(DesktopServicesTest, TheExitInItsOrder) {
  Config("vexok=2\r\n");
  Running(7, u"VexoPlayer.exe", u"");
  Running(8, u"VexoTerminal.exe", u"");
  window.set_exit_action(u"1****http://site/bye.htm");
  player.media_url = u"vexo://m";
  window.ttt_v();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"TrayRemove", "Terminate 7", "Terminate 8", "Sweep",
                                                  "Open http://site/bye.htm", "Unload"}));
  ASSERT_FALSE(player.calls.empty());
  EXPECT_EQ(player.calls.back(), "Stop") << "playback stops with its position saved";
}

TEST_F(DesktopServicesTest, TheExitKeepsThePlayerAndOpensOnlyWebPages) {
  for (const char16_t* action : {u"0****http://site/bye.htm", u"1****C:\\Windows\\notepad.exe",
                                 u"1****file:///C:/x.exe", u"http://site/no-marker.htm", u""}) {
    host.calls.clear();
    Config("vexok=1\r\n");
    Running(7, u"VexoPlayer.exe", u"");
    window.set_exit_action(action);
    window.ttt_v();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"TrayRemove", "Unload"})) << Utf16ToUtf8(action);
  }
}

TEST_F(DesktopServicesTest, AHungRequestEndsTheProcessAtOnce) {
  host.busy = true;
  window.set_exit_action(u"1****http://site/bye.htm");
  window.ttt_v();
  EXPECT_EQ(host.calls.back(), "EndProcess");
  EXPECT_TRUE(Has("Cancel"));
  EXPECT_FALSE(Has("Unload"));
  EXPECT_FALSE(Has("Open http://site/bye.htm"));
}

TEST_F(DesktopServicesTest, TheTrayIconShowsHidesRestoresAndOffersTheMenu) {
  constexpr int kLeftUp = 0x0202, kRightUp = 0x0205;
  host.minimized = true;
  window.TrayIconEvent(kLeftUp);
  EXPECT_EQ(host.states, std::vector<int>{1});  // restored, not hidden
  host.minimized = false;
  window.TrayIconEvent(kLeftUp);
  window.TrayIconEvent(kLeftUp);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"Hide", "Show"}));

  window.TrayIconEvent(kRightUp);  // dismissed
  EXPECT_EQ(host.menus.back(), "软件设置|关于我们|官方网站||帮助提示|升级检测||退出软件|");
  EXPECT_FALSE(Has("Unload"));
  host.menu_answers = {7};
  window.TrayIconEvent(kRightUp);
  EXPECT_TRUE(Has("Unload"));
}

TEST_F(DesktopServicesTest, ShutdownAfterPlaybackOnlyWhenArmed) {
  WindowModel& w = window.model();
  host.menu_answers = {0};  // arm
  window.bo_but_Click(6);
  EXPECT_EQ(host.menus.back(), "开启播放完自动关机|*取消播放完自动关机|");
  EXPECT_EQ(w(ba1::bo_but, 6).tool_tip, u"已开启自动关机");
  ASSERT_TRUE(w(ba1::bo_but, 6).picture);
  EXPECT_EQ(w(ba1::bo_but, 6).picture->slot, u"but(16)");
  host.menu_answers = {1};  // disarm
  window.bo_but_Click(6);
  EXPECT_EQ(host.menus.back(), "*开启播放完自动关机|取消播放完自动关机|");
  EXPECT_EQ(w(ba1::bo_but, 6).tool_tip, u"计划关机");
  w.Timer(ba1::Timer2).enabled = true;
  window.OnTimer(ba1::Timer2);
  EXPECT_FALSE(Has("Shutdown force"));

  host.menu_answers = {0};
  window.bo_but_Click(6);
  w.Timer(ba1::Timer1).enabled = true;
  w.Timer(ba1::Timer2).enabled = true;
  window.OnTimer(ba1::Timer2);
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "Shutdown force"), 1);
  EXPECT_FALSE(w.Timer(ba1::Timer1).enabled);
}

}  // namespace

namespace {

TEST(MediaFileKey, HalfTheNameRoundedToEvenOrTheWholeShortName) {
  const auto film = MediaFileKeyOf(u"vexo://x|1|Film.rmvb");
  ASSERT_TRUE(film);
  EXPECT_EQ(film->key, u"Film");  // half is 2 < 3: the whole base
  EXPECT_TRUE(film->Matches(u"Film.rmvb.part"));
  EXPECT_TRUE(film->Matches(u"Filmography.avi"));
  EXPECT_FALSE(film->Matches(u"Fil.rmvb"));
  const auto abc = MediaFileKeyOf(u"vexo://x|1|ABCDEFG.rmvb|more");
  ASSERT_TRUE(abc);
  EXPECT_EQ(abc->key, u"ABCD");         // 3.5 rounds to 4
  EXPECT_EQ(HalfRoundedToEven(5), 2u);  // 2.5 rounds to 2
  EXPECT_EQ(HalfRoundedToEven(9), 4u);  // 4.5 rounds to 4
  EXPECT_EQ(HalfRoundedToEven(11), 6u);
  EXPECT_FALSE(MediaFileKeyOf(u"http://site/play.htm?1"));  // a web-player entry
  EXPECT_FALSE(MediaFileKeyOf(u"vexo://x|1|noextension"));
}

class ClearingTest : public MainWindowFixture {
 protected:
  ClearingTest() : MainWindowFixture(u"http://site/soft/") {
    folder.Write(u"date_f.dat", "a|C:\\a.avi|0\r\n");
    player_folder = folder.Text() + u"\\player\\";
    download = folder.Text() + u"\\dl\\";
    std::filesystem::create_directories(folder.path() / "player");
    std::filesystem::create_directories(folder.path() / "dl");
    folder.Write(u"config.ini", "[S_q]\r\nvexow=" + Utf16ToUtf8(player_folder) + "\r\n");
    folder.Write(u"player/VexoPlayer.xml", "<x>\r\n<y Defaultsavepath=\"" + Utf16ToUtf8(download) + "\" z=\"1\"/>\r\n");
    for (const char* name : {"ABCDEF1.rmvb", "ABCD.part", "ABCX.rmvb", "Other.avi"}) {
      folder.Write(u"dl/" + Utf8ToUtf16(name), "media");
    }
  }
  void History(const std::u16string& media) {
    folder.Write(u"date.dat", "5|n|l|" + Utf16ToUtf8(JsEscape(u"x")) + "|1|1|0\r\n7|n|l|" +
                                  Utf16ToUtf8(JsEscape(media)) + "|1|1|0\r\n");
  }
  std::u16string player_folder, download;
};

TEST_F(ClearingTest, DeletingAnEntrysFilesAsksThenDeletesExactlyTheListedOnes) {
  History(u"vexo://m|9|ABCDEFG.rmvb|");
  host.answers = {true};
  window.eee_Click(u"delk://2/");
  ASSERT_EQ(host.questions.size(), 1u);
  const std::string& question = host.questions[0];
  EXPECT_EQ(question.rfind("提示： 确定要删除 [" + Utf16ToUtf8(download) + "] 下面的这些文件吗？\r\n\r\n", 0), 0u);
  EXPECT_NE(question.find("\nABCDEF1.rmvb\r\n"), std::string::npos);
  EXPECT_NE(question.find("\nABCD.part\r\n"), std::string::npos);
  EXPECT_EQ(std::count(question.begin(), question.end(), '\n'), 4);
  EXPECT_FALSE(folder.Has(u"dl/ABCDEF1.rmvb"));
  EXPECT_FALSE(folder.Has(u"dl/ABCD.part"));
  EXPECT_TRUE(folder.Has(u"dl/ABCX.rmvb"));
  EXPECT_TRUE(folder.Has(u"dl/Other.avi"));
  EXPECT_TRUE(host.balloons.empty());
  EXPECT_EQ(host.navigations, (std::vector<std::string>{"Web3 delk://2", "Web5 refresh"}));
}

TEST_F(ClearingTest, NoKeepsTheFilesAndOpensTheFolderAndTheEntryGoesAnyway) {
  History(u"vexo://m|9|ABCDEFG.rmvb|");
  window.eee_Click(u"open://2");
  EXPECT_TRUE(folder.Has(u"dl/ABCDEF1.rmvb"));
  EXPECT_EQ(host.calls, std::vector<std::string>{"Explorer " + Utf16ToUtf8(download)});
  EXPECT_EQ(host.navigations.front(), "Web3 delk://2");
}

TEST_F(ClearingTest, AWebPlayerEntryGoesWithoutAQuestion) {
  History(u"http://site/soft/play.htm?1-1-1");
  window.eee_Click(u"delk://2");
  EXPECT_TRUE(host.questions.empty());
  EXPECT_EQ(host.navigations, std::vector<std::string>{"Web3 delk://2"});
}

TEST_F(ClearingTest, WithoutThePlayersSettingsTheDownloadFolderIsNotSearched) {
  std::filesystem::remove(folder.path() / "player" / "VexoPlayer.xml");
  History(u"vexo://m|9|ABCDEFG.rmvb|");
  host.answers = {true};
  window.eee_Click(u"delk://2");
  EXPECT_TRUE(host.questions.empty());  // C:\Media\ and D:\Media\ do not exist here
  EXPECT_TRUE(folder.Has(u"dl/ABCDEF1.rmvb"));
  EXPECT_EQ(window.DownloadFolder(), u"C:\\Media\\");
}

// The save path as the player's settings give it: only a full path counts, and names go after
// its backslash.
TEST_F(ClearingTest, OnlyAFullSavePathIsSearchedAndNamesGoAfterItsBackslash) {
  folder.Write(u"ABCDEF9.rmvb", "in the program's folder");
  const std::u16string no_slash = download.substr(0, download.size() - 1);
  const std::pair<std::string, bool> settings[] = {
      {"Defaultsavepath=" + Utf16ToUtf8(download), false},  // no quotes: no folder
      {"Defaultsavepath=\"\"", false},
      {"Defaultsavepath=\"dl\"", false},  // relative
      {"Defaultsavepath=\" " + Utf16ToUtf8(no_slash) + " \"", true},
  };
  for (const auto& [line, searched] : settings) {
    SCOPED_TRACE(line);
    folder.Write(u"player/VexoPlayer.xml", "<x " + line + "/>\r\n");
    folder.Write(u"dl/ABCDEF1.rmvb", "media");
    History(u"vexo://m|9|ABCDEFG.rmvb|");
    host.questions.clear();
    host.answers = {true};
    window.eee_Click(u"delk://2");
    EXPECT_EQ(host.questions.size(), searched ? 1u : 0u);
    if (searched) {
      EXPECT_NE(host.questions[0].find("[" + Utf16ToUtf8(download) + "]"), std::string::npos);
    }
    EXPECT_EQ(folder.Has(u"dl/ABCDEF1.rmvb"), !searched);
    EXPECT_TRUE(folder.Has(u"ABCDEF9.rmvb"));
  }
  EXPECT_EQ(window.DownloadFolder(), download);
  folder.Write(u"player/VexoPlayer.xml", "<x Defaultsavepath=\"dl\"/>\r\n");
  EXPECT_EQ(window.DownloadFolder(), u"");
}

// The questions are up while timers run: an episode that starts meanwhile moves the rows,
// and an entry that went meanwhile is not replaced by its neighbour.
TEST_F(ClearingTest, TheEntryIsFoundAgainByWhatItHolds) {
  History(u"vexo://m|9|ABCDEFG.rmvb|");
  host.answers = {true};
  host.pending_events = [&] { lists.AddWebEntry(3, u"new", u"l", u"vexo%3A//n", 1, 1, 0); };
  window.eee_Click(u"delk://2");
  EXPECT_EQ(host.navigations.front(), "Web3 delk://3");

  History(u"vexo://m|9|ABCDEFG.rmvb|");
  folder.Write(u"dl/ABCDEF1.rmvb", "media");
  host.navigations.clear();
  host.answers = {true};
  host.pending_events = [&] { lists.RemoveEntry(kWebListFile, 2); };
  window.eee_Click(u"delk://2");
  EXPECT_TRUE(host.navigations.empty() || host.navigations.front().rfind("Web3", 0) != 0);
  EXPECT_NE(Ansi(u"date.dat").find("5|n|l|"), std::string::npos);  // the neighbour stays
}

TEST_F(ClearingTest, ClearingAListAsksFirst) {
  WindowModel& w = window.model();
  w(ba1::qk).caption = u"∴ 清空列表";  // the local list's tab
  window.qk_Click();
  EXPECT_EQ(Ansi(u"date_f.dat"), "a|C:\\a.avi|0\r\n");
  host.answers = {true};
  window.qk_Click();
  EXPECT_EQ(Ansi(u"date_f.dat"), "\r\n");
  EXPECT_EQ(w(ba1::qk).fore_color, Rgb(0x5A, 0x5A, 0x5A));

  // The web history's tab: the button offers its menu instead.
  History(u"x");
  w(ba1::qk).caption = u"∴ 清空任务";
  host.menu_answers = {0};
  host.answers = {true};
  window.qk_Click();
  EXPECT_EQ(host.menus.back(), "删除任务列表|管理下载文件|");
  EXPECT_EQ(Ansi(u"date.dat"), "\r\n");
  host.menu_answers = {1};
  window.qk_Click();
  EXPECT_EQ(host.calls.back(), "Explorer " + Utf16ToUtf8(download));
}

}  // namespace
