// The main window's start as first copy, the command line, the hand-off of a later copy,
// and the commands and buttons these use, over the model and fakes.
#include "tests/native/main_window_fixture.h"

#include <gtest/gtest.h>

#include "common/codepage.h"
#include "play/native/files_std.h"
#include "play/native/profile_strings_emulated.h"
#include "play/startup/config_store.h"
#include "tests/native/fake_player.h"
#include "tests/native/fake_window_host.h"
#include "tests/shared/test_folder.h"

namespace {

const std::u16string kBase = u"http://127.0.0.1:8000/soft/";

class MainWindowTest : public MainWindowFixture {
 protected:
  MainWindowTest() : MainWindowFixture(kBase) {
    folder.Write(u"date.dat", "\r\n");
    folder.Write(u"date_f.dat", "\r\n");
    folder.Write(
        u"config.ini",
        "[User]\r\nName=00-1A-2B-3C-4D-5E\r\n[Ver]\r\nName=3.3\r\n[S_q]\r\ns_size=2\r\nh_w=13560\r\nh_h=8475\r\n");
  }
  std::string Text(std::u16string_view name) { return Ansi(name); }
  std::string Folder() { return Utf16ToUtf8(folder.Text()); }
};

TEST_F(MainWindowTest, AFirstCopyPreparesItsWindowPanesAndPlayer) {
  window.LoadFirstInstance(u"");
  EXPECT_EQ(host.calls, (std::vector<std::string>{"MaxSize 1280x994", "MinMaxBoxes", "Tray 绮映影视盒"}));
  EXPECT_EQ(host.navigations, (std::vector<std::string>{
                                  "Web1 http://127.0.0.1:8000/soft/", "Web2 about:blank",
                                  "Web3 " + Folder() + "\\c.htm", "Web4 " + Folder() + "\\f.htm",
                                  "Web5 " + Folder() + "\\c.htm", "Weby http://127.0.0.1:8000/soft/js/ads/softad.html",
                                  "Web6 http://127.0.0.1:8000/soft/tj/tj.asp?id=00-1A-2B-3C-4D-5E",
                                  "Web7 http://127.0.0.1:8000/soft/js/ads/vexoad.html"}));
  EXPECT_EQ(player.calls, std::vector<std::string>{"AdUrl http://127.0.0.1:8000/soft/js/ads/vexoad.html"});
  EXPECT_EQ(window.model().width_twips, 13560);
  EXPECT_EQ(window.model().height_twips, 8475);
  EXPECT_EQ(window.context().current_item, u"0");
}

TEST_F(MainWindowTest, TheSavedSizeIsUsedOnlyWhenAskedFor) {
  folder.Write(u"config.ini", "[S_q]\r\ns_size=1\r\nh_w=20000\r\nh_h=9000\r\n");
  window.LoadFirstInstance(u"");
  EXPECT_EQ(window.model().width_twips, 13170);
  EXPECT_EQ(window.model().height_twips, 8280);
  EXPECT_EQ(host.navigations[6], "Web6 http://127.0.0.1:8000/soft/tj/tj.asp?id=0");
}

TEST_F(MainWindowTest, AFileOnTheCommandLinePlaysAndJoinsTheLocalList) {
  window.LoadFirstInstance(u"\"C:\\影视\\第1集.rmvb\"");
  EXPECT_EQ(player.media_url, u"C:\\影视\\第1集.rmvb");
  EXPECT_EQ(player.calls.back(), "Play");
  WindowModel& w = window.model();
  EXPECT_EQ(w(ba1::bo_name).caption, u"第1集.rmvb");
  EXPECT_TRUE(w.Timer(ba1::Timer1).enabled);
  EXPECT_EQ(window.context().current_item, u"C:\\影视\\第1集.rmvb");
  EXPECT_EQ(window.context().panel_source, 2);
  EXPECT_EQ(Text(u"date_f.dat"), "第1集.rmvb|C:\\影视\\第1集.rmvb|0\r\n\r\n");
  EXPECT_NE(Text(u"f.htm").find("·第1集.rmvb"), std::string::npos);
  // The player view with the local list beside it.
  EXPECT_TRUE(w(ba1::vexo).visible);
  EXPECT_FALSE(w(ba1::Pic1).visible);
  EXPECT_TRUE(w(ba1::Pic4).visible);
  EXPECT_FALSE(w(ba1::Pic5).visible);
  EXPECT_EQ(w(ba1::qk).caption, u"∴ 清空列表");
  EXPECT_EQ(window.view_mode(), 1);
  EXPECT_FALSE(w(ba1::npc, 9).enabled);
  EXPECT_EQ(host.navigations.back(), "Web2 about:blank");
}

TEST_F(MainWindowTest, APageLinkOpensTheEpisodePageInTheSidePanel) {
  window.LoadFirstInstance(u"\"niba://123-4-5/\"");
  EXPECT_EQ(host.navigations[8], "Web5 http://127.0.0.1:8000/soft/pp.htm?123-4-5");
  EXPECT_EQ(window.context().panel_source, 1);
  EXPECT_TRUE(window.model()(ba1::Pic5).visible);
  EXPECT_EQ(player.media_url, u"");
}

TEST_F(MainWindowTest, AHandOffStopsSavingThePositionThenPlaysTheNewFile) {
  window.LoadFirstInstance(u"C:\\v\\a.avi");
  window.context().last_position = 125;
  host.calls.clear();
  window.Form_LinkExecute(u"C:\\v\\b.avi");
  EXPECT_EQ(host.calls, std::vector<std::string>{"Front"});
  EXPECT_TRUE(window.model().Timer(ba1::Timer3).enabled);
  EXPECT_EQ(player.media_url, u"C:\\v\\b.avi");
  EXPECT_EQ(Text(u"date_f.dat"), "b.avi|C:\\v\\b.avi|0\r\na.avi|C:\\v\\a.avi|125\r\n");

  player.calls.clear();
  window.Form_LinkExecute(u"");  // brought to the front only
  EXPECT_TRUE(player.calls.empty());
}

TEST_F(MainWindowTest, PlayPauseStopMuteAndTheButtonsThatNeedPlayback) {
  WindowModel& w = window.model();
  window.bo_but_Click(0);  // nothing loaded: nothing happens
  window.bo_but_Click(1);
  EXPECT_TRUE(player.calls.empty());

  window.l_com(u"http://127.0.0.1/m.rmvb");
  window.bo_but_Click(0);
  EXPECT_EQ(w(ba1::bo_but, 0).tool_tip, u"暂停");
  EXPECT_EQ(w(ba1::zhun).caption, u"正在播放");
  window.bo_but_Click(0);
  EXPECT_EQ(w(ba1::bo_but, 0).tool_tip, u"播放");
  EXPECT_EQ(w(ba1::zhun).caption, u"已暂停");
  EXPECT_FALSE(w(ba1::VexoC).visible);

  window.bo_but_Click(3);
  window.bo_but_Click(5);  // paused: neither goes through
  player.state = player::kPlaying;
  window.bo_but_Click(3);
  window.bo_but_Click(5);
  window.bo_but_Click(2);
  EXPECT_EQ(w(ba1::bo_but, 2).tool_tip, u"取消静音");
  window.bo_but_Click(2);
  EXPECT_EQ(w(ba1::bo_but, 2).tool_tip, u"静音");
  const std::vector<std::string> tail(player.calls.end() - 4, player.calls.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"FullScreen", "ShowVideoAdjust 3", "Mute -1", "Mute 0"}));

  window.bo_but_Click(1);
  EXPECT_EQ(w(ba1::zhun).caption, u"已停止");
  EXPECT_FALSE(w.Timer(ba1::Timer1).enabled);
  EXPECT_EQ(player.calls.back(), "Stop");
}

TEST_F(MainWindowTest, AWebItemStoppedAt125SecondsKeepsItsPosition) {
  folder.Write(u"date.dat", "12|n|l|m|3|1|0\r\n");
  player.media_url = u"vexo://m";
  window.context().current_item = u"12";
  window.context().panel_source = 1;
  window.context().last_position = 125;
  window.bo_but_Click(1);
  EXPECT_EQ(Text(u"date.dat"), "12|n|l|m|3|1|125\r\n");
  EXPECT_EQ(window.context().last_position, 0);
}

TEST_F(MainWindowTest, TabsAndViewsNeverShowTheEpisodePageInTheCatalogue) {
  WindowModel& w = window.model();
  window.npc_Click(8);
  window.npc_Click(11);
  EXPECT_TRUE(w(ba1::Pic3).visible);
  EXPECT_FALSE(w(ba1::Pic5).visible);
  window.npc_Click(12);
  EXPECT_TRUE(w(ba1::Pic4).visible);
  EXPECT_FALSE(w(ba1::Pic3).visible);
  window.npc_Click(8);
  EXPECT_TRUE(w(ba1::Pic4).visible);
  EXPECT_TRUE(w(ba1::npc, 9).enabled);
  EXPECT_FALSE(w(ba1::npc, 8).enabled);
  window.npc_Click(6);
  EXPECT_EQ(w(ba1::npc, 6).tool_tip, u"显示侧栏");
  EXPECT_FALSE(w(ba1::l2).visible);
  window.npc_Click(6);
  EXPECT_TRUE(w(ba1::l2).visible);
  window.npc_Click(7);
  EXPECT_EQ(w(ba1::npc, 7).tool_tip, u"关闭");
  window.npc_Click(7);
  EXPECT_EQ(w(ba1::npc, 7).tool_tip, u"打开");
}

}  // namespace

namespace {

TEST_F(MainWindowTest, OneShotTimersSwitchThemselvesOff) {
  WindowModel& w = window.model();
  window.OnTimer(ba1::Timer3);
  window.OnTimer(ba1::Timer5);
  window.OnTimer(ba1::Timer1);
  EXPECT_FALSE(w.Timer(ba1::Timer3).enabled);
  EXPECT_FALSE(w.Timer(ba1::Timer5).enabled);
  EXPECT_TRUE(w.Timer(ba1::Timer1).enabled);
}

}  // namespace

namespace {

TEST_F(MainWindowTest, CaptionButtonsMinimiseMaximiseAndPin) {
  WindowModel& w = window.model();
  window.npc_Click(1);
  EXPECT_EQ(w(ba1::npc, 1).tool_tip, u"还原");
  window.npc_Click(1);
  EXPECT_EQ(w(ba1::npc, 1).tool_tip, u"最大化");
  window.npc_Click(0);
  EXPECT_EQ(host.states, (std::vector<int>{2, 1, 0}));
  window.npc_Click(4);
  EXPECT_EQ(w(ba1::npc, 4).tool_tip, u"取消置顶");
  window.npc_Click(4);
  EXPECT_EQ(w(ba1::npc, 4).tool_tip, u"置顶");
  EXPECT_EQ(host.topmost, (std::vector<bool>{true, false}));
}

}  // namespace
