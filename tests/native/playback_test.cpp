// Links, the playback monitor and the next episode, over the model and fakes.
#include <gtest/gtest.h>

#include "common/codepage.h"
#include "play/native/files_std.h"
#include "play/native/profile_strings_emulated.h"
#include "tests/native/fake_player.h"
#include "tests/native/fake_window_host.h"
#include "tests/native/main_window_fixture.h"
#include "tests/shared/test_folder.h"

namespace {

const std::u16string kBase = u"http://site/soft/";

class PlaybackTest : public MainWindowFixture {
 protected:
  PlaybackTest() : MainWindowFixture(kBase) {
    folder.Write(u"config.ini", "[S_q]\r\ns_h=2\r\ns_bo=2\r\ns_pao=2\r\nvexow=C:\\Vexo\\\r\n");
    folder.Write(u"date.dat", "\r\n");
    folder.Write(u"date_f.dat", "\r\n");
  }
  bool Navigate(ControlName pane, std::u16string_view address) {
    bool cancel = false;
    window.BeforeNavigate(pane, address, cancel);
    return cancel;
  }
  std::u16string Status() { return window.model()(ba1::zhun).caption; }
  void Playing(long position, long duration, long progress = 0, long rate = 0) {
    player.media_url = u"vexo://m";
    player.state = player::kPlaying;
    player.position = position;
    player.duration = duration;
    player.progress = progress;
    player.download_rate = rate;
  }
};

TEST_F(PlaybackTest, ACatalogueLinkIsResolvedAndPlayedInThePlayer) {
  host.replies["http://site/soft/h.asp?id=12&v=3&v1=4"] = "第1集$vexo://m/a b.rmvb$vexo";
  EXPECT_TRUE(Navigate(ba1::Web1, u"eebovod://12-3-4-星河/"));
  EXPECT_EQ(host.navigations.back(), "Web1 eevexo://vexo&&&vexo%3A//m/a%20b.rmvb&&&星河&&&第1集&&&12&&&3&&&4");
  EXPECT_EQ(window.view_mode(), 1);
  // The pane hands the link back to itself; the player takes it from there.
  host.running["VexoTerminal.exe"] = 0;
  EXPECT_TRUE(Navigate(ba1::Web1, u"eevexo://vexo&&&vexo%3A//m/a%20b.rmvb&&&%u661F&&&%u7B2C1%u96C6&&&12&&&3&&&4"));
  EXPECT_EQ(player.media_url, u"vexo://m/a b.rmvb");
  EXPECT_EQ(player.calls.back(), "Play");
  EXPECT_EQ(window.model()(ba1::bo_name).caption, u"星-第1集");
  EXPECT_EQ(window.context().current_key, u"12-3-4-%u661F");
  EXPECT_EQ(window.context().current_item, u"12");
  EXPECT_EQ(window.context().panel_source, 1);
  EXPECT_TRUE(host.started.empty());  // the terminal runs already
  EXPECT_NE(std::find(host.navigations.begin(), host.navigations.end(), "Web5 http://site/soft/pp.htm?12-3-4-%u661F-0"),
            host.navigations.end());
  EXPECT_EQ(Ansi(u"date.dat"), "12|%u661F|%u7B2C1%u96C6|vexo%3A//m/a%20b.rmvb|3|4|0\r\n\r\n");
}

TEST_F(PlaybackTest, ResolveFailuresAndForwardedLinks) {
  EXPECT_TRUE(Navigate(ba1::Web5, u"eebovod://1-1-1-x"));
  EXPECT_EQ(host.navigations.back(), "Web1 eebovod://1-1-1-x");
  EXPECT_TRUE(host.requests.empty());

  host.replies["http://site/soft/h.asp?id=7&v=1&v1=2"] = "1";
  Navigate(ba1::Web1, u"eebovod://7-1-2-y");
  EXPECT_EQ(window.context().next_link, u"1");
  EXPECT_EQ(Status(), u"读取数据出错，请返回重试");
  EXPECT_EQ(host.balloons.back(), "读取数据出错，请返回重试！");
  host.replies["http://site/soft/h.asp?id=8&v=1&v1=2"] = "<html>oops</html>";
  Navigate(ba1::Web1, u"eebovod://8-1-2-y");
  EXPECT_EQ(host.balloons.size(), 2u);

  EXPECT_TRUE(Navigate(ba1::Web3, u"niba://1-2"));  // private: never handed on
  // Only at the start: a page whose address merely mentions the scheme is an ordinary page.
  EXPECT_FALSE(Navigate(ba1::Web1, u"http://site/soft/search.asp?q=niba://1-2"));
  EXPECT_FALSE(Navigate(ba1::Web1, u"http://site/soft/list.htm"));
}

TEST_F(PlaybackTest, TheSitesTextsCannotAddFieldsOrSchemesToTheLinksMade) {
  // The site's label holds a field separator and the resolve scheme: the link made of it keeps
  // its seven fields and plays, and the site is asked once, not again and again.
  host.replies["http://site/soft/h.asp?id=12&v=3&v1=4"] = "eebovod://1&&&2$vexo://m$vexo";
  EXPECT_TRUE(Navigate(ba1::Web1, u"eebovod://12-3-4-x"));
  ASSERT_EQ(host.navigations.back(), "Web1 eevexo://vexo&&&vexo%3A//m&&&x&&&eebovod%3A//1%26%26%262&&&12&&&3&&&4");
  EXPECT_TRUE(Navigate(ba1::Web1, Utf8ToUtf16(host.navigations.back().substr(5))));
  EXPECT_EQ(host.requests.size(), 1u);
  EXPECT_EQ(player.media_url, u"vexo://m");
  EXPECT_EQ(window.context().current_item, u"12");
  EXPECT_EQ(window.model()(ba1::bo_name).caption, u"x-eebovod://1&&&2");
  // Nor can a name carry the scheme into the episode page the list pane is sent to.
  EXPECT_TRUE(Navigate(ba1::Web1, u"eevexo://vexo&&&vexo%3A//m&&&eebovod://y&&&l&&&12&&&3&&&4"));
  EXPECT_NE(std::find(host.navigations.begin(), host.navigations.end(),
                      "Web5 http://site/soft/pp.htm?12-3-4-eebovod%3A//y-0"),
            host.navigations.end());
}

TEST_F(PlaybackTest, OtherKindsPlayInTheWebPlayerAndEmptyMediaLeavesNoTrace) {
  Navigate(ba1::Web1, u"eevexo://Vexo&&&x&&&name&&&label&&&5&&&2&&&9");
  EXPECT_EQ(window.context().web_player_mode, 1);
  EXPECT_EQ(window.context().current_key, u"0");
  EXPECT_EQ(host.navigations.front(), "Web2 http://site/soft/play.htm?5-2-9-name");
  EXPECT_TRUE(window.model()(ba1::Pic2).visible);
  EXPECT_FALSE(window.model()(ba1::vexo).visible);
  EXPECT_EQ(host.started, std::vector<std::string>{"C:\\Vexo\\VexoTerminal.exe"});

  host.navigations.clear();
  Navigate(ba1::Web1, u"eevexo://vexo&&&&&&name&&&label&&&5&&&2&&&9");
  for (const std::string& n : host.navigations) EXPECT_EQ(n.find("Web5"), std::string::npos) << n;
  EXPECT_EQ(Ansi(u"date.dat"), "5|name|label|x|2|9|0\r\n\r\n");  // only the first one
}

TEST_F(PlaybackTest, ListRowsOpenAndDeleteTheirEntries) {
  TestFolder films;
  films.Write(u"a.avi", "movie");
  const std::u16string film = films.File(u"a.avi");
  folder.Write(u"date_f.dat", ToAnsi(u"a.avi|" + film + u"|95\r\ngone.avi|C:\\none\\gone.avi|0\r\nb|C:\\b|0\r\n"));
  window.npc_Click(12);  // the local list is active
  Navigate(ba1::Web3, u"open://2/");
  EXPECT_EQ(host.messages, std::vector<std::string>{"C:\\none\\gone.avi不存在"});
  EXPECT_EQ(Ansi(u"date_f.dat").find("gone.avi"), std::string::npos);

  Navigate(ba1::Web4, u"open://1");
  EXPECT_EQ(host.navigations.back(), "Web3 open://1");  // forwarded
  Navigate(ba1::Web3, u"open://1");
  EXPECT_EQ(player.media_url, film);
  EXPECT_EQ(window.context().resume_position, 95);
  EXPECT_EQ(window.context().panel_source, 2);

  Navigate(ba1::Web3, u"delk://2/");
  EXPECT_EQ(Ansi(u"date_f.dat").find("C:\\b"), std::string::npos);
  EXPECT_EQ(host.navigations.back(), "Web5 refresh");

  folder.Write(u"date.dat", "3|n|l|http%3A//web/p.htm|4|5|0\r\n9|m|k|vexo%3A//x|1|2|30\r\n");
  window.npc_Click(11);
  Navigate(ba1::Web3, u"open://1");
  EXPECT_EQ(window.context().web_player_mode, 1);
  EXPECT_NE(std::find(host.navigations.begin(), host.navigations.end(), "Web5 http://site/soft/pp.htm?3-4-5-n-45"),
            host.navigations.end());
  Navigate(ba1::Web3, u"open://2");
  EXPECT_EQ(player.media_url, u"vexo://x");
  EXPECT_EQ(window.context().current_key, u"9-1-2-m");
  EXPECT_EQ(window.context().resume_position, 30);
}

// A page of the site asks only for what a page may: media on the web, its own episode pages,
// and list commands only from the program's own list pages.
TEST_F(PlaybackTest, PagesAskOnlyForWhatAPageMay) {
  for (const char16_t* media : {u"C%3A%5Cx.avi", u"%5C%5Chost%5Cshare%5Cx.avi", u"file%3A///C%3A/x.avi"}) {
    player.calls.clear();
    EXPECT_TRUE(Navigate(ba1::Web1, u"eevexo://vexo&&&" + std::u16string(media) + u"&&&n&&&l&&&1&&&1&&&1"));
    EXPECT_TRUE(player.calls.empty()) << Utf16ToUtf8(media);
    EXPECT_EQ(Status(), u"读取数据出错，请返回重试");
  }
  EXPECT_EQ(Ansi(u"date.dat"), "\r\n");
  Navigate(ba1::Web1, u"eevexo://vexo&&&http%3A//m/a.mp4&&&n&&&l&&&1&&&1&&&1");
  EXPECT_EQ(player.media_url, u"http://m/a.mp4");

  // The history keeps what the site gave once; a local path there is not played either.
  folder.Write(u"date.dat", "9|m|k|C%3A%5Cvexo.avi|1|2|30\r\n");
  window.npc_Click(11);
  Navigate(ba1::Web3, u"open://1");
  EXPECT_EQ(player.media_url, u"http://m/a.mp4");

  host.navigations.clear();
  EXPECT_TRUE(Navigate(ba1::Web1, u"file:///C:/x/eebotv.htm"));
  EXPECT_TRUE(Navigate(ba1::Web1, u"niba://12-3-4-星河 "));
  EXPECT_TRUE(Navigate(ba1::Web5, u"niba://nodash"));
  EXPECT_EQ(host.navigations, std::vector<std::string>{"Web5 http://site/soft/pp.htm?12-3-4-星河"});

  // Web5 on an episode page of the site, then on the program's own list page.
  folder.Write(u"date.dat", "9|m|k|vexo%3A//x|1|2|30\r\n");
  host.navigations.clear();
  EXPECT_FALSE(Navigate(ba1::Web5, u"http://site/soft/pp.htm?9-1-2-m-0"));
  EXPECT_TRUE(Navigate(ba1::Web5, u"delk://1"));
  EXPECT_TRUE(host.navigations.empty());
  EXPECT_FALSE(Navigate(ba1::Web5, u"file:///" + folder.Text() + u"/c.htm"));
  EXPECT_TRUE(Navigate(ba1::Web5, u"delk://1"));
  ASSERT_FALSE(host.navigations.empty());
  EXPECT_EQ(host.navigations.front(), "Web3 delk://1");
}

// The cover over the picture is the play button.
TEST_F(PlaybackTest, TheCoverPlays) {
  player.media_url = u"vexo://m";
  window.OnClick({ba1::adp});
  EXPECT_EQ(player.calls.back(), "Play");
  EXPECT_EQ(window.model()(ba1::bo_but, 0).tool_tip, u"暂停");
}

TEST_F(PlaybackTest, TheFinishSignalPlaysTheNextEpisodeOrOpensItsPage) {
  window.context().next_link = u"eevexo://vexo&&&n&&&a&&&b&&&1&&&2&&&4";
  EXPECT_TRUE(Navigate(ba1::Web2, u"http://vexo-finish.invalid/finish.htm"));
  EXPECT_EQ(host.navigations.back(), "Web1 eevexo://vexo&&&n&&&a&&&b&&&1&&&2&&&4");
  window.context().next_link = u"3";
  window.context().current_key = u"1-2-3-name";
  Navigate(ba1::Web2, u"http://vexo-finish.invalid/finish.htm");
  EXPECT_EQ(host.navigations.back(), "Web5 http://site/soft/pp.htm?1-2-3-name-24");
  const std::size_t before = host.navigations.size();
  window.context().next_link = u"1";
  Navigate(ba1::Web2, u"http://vexo-finish.invalid/finish.htm");
  EXPECT_EQ(host.navigations.size(), before);

  folder.Write(u"config.ini", "[S_q]\r\ns_bo=1\r\n");
  window.model().Timer(ba1::Timer1).enabled = false;
  window.context().next_link = u"eevexo://vexo&&&n";
  Navigate(ba1::Web2, u"http://vexo-finish.invalid/finish.htm");
  EXPECT_TRUE(window.model().Timer(ba1::Timer1).enabled);
  EXPECT_EQ(host.navigations.size(), before);
}

TEST_F(PlaybackTest, MonitorStatusTextsForEveryState) {
  WindowModel& w = window.model();
  window.Timer1_Timer();
  EXPECT_EQ(Status(), u"准备就绪");
  EXPECT_EQ(w(ba1::huan).left, -30);
  const std::pair<int, const char16_t*> texts[] = {{0, u"播放完毕"}, {1, u"已停止"},       {2, u"已暂停"},
                                                   {5, u"等待中"},   {6, u"播放结束"},     {7, u"准备读"},
                                                   {8, u"重连中"},   {9, u"BT种子下载中"}, {11, u"正在停止"}};
  player.media_url = u"vexo://m";
  player.duration = 100;
  for (const auto& [state, text] : texts) {
    player.state = state;
    window.Timer1_Timer();
    EXPECT_EQ(Status(), text) << state;
    EXPECT_TRUE(w(ba1::bo_ad).visible);
  }
  player.state = 4;
  player.download_rate = 120;
  window.Timer1_Timer();
  EXPECT_EQ(Status(), u"正在缓冲 (120Kbps/S)   如播放卡，先暂停1-2分钟，等等更流畅");
  player.state = 10;
  window.Timer1_Timer();
  EXPECT_EQ(Status(), u"正在连接 (120KB/S)  请等待大约30秒，即可观看");
  Playing(50, 100, 300, 120);
  player.media_rate = 780;
  window.Timer1_Timer();
  EXPECT_EQ(Status(), u"播放中(120 Kbps/S)  如播放卡，先暂停1-2分钟，等等更流畅");
  EXPECT_EQ(w(ba1::bo_but, 0).tool_tip, u"暂停");
  EXPECT_FALSE(w(ba1::bo_ad).visible);
  EXPECT_TRUE(w(ba1::VexoC).visible);
  EXPECT_EQ(w(ba1::times).caption, u"00:50 / 01:40");
  EXPECT_EQ(w(ba1::gunt1).left, (w(ba1::gunt).width - w(ba1::gunt1).width) / 2);
  EXPECT_EQ(w(ba1::gunt1).tool_tip, u"00:50");
  EXPECT_EQ(w(ba1::huan).width, w(ba1::gunt).width * 300 / 1000);
  window.context().resume_done = 1;  // the resume seek is done with
  player.position = 1;
  window.Timer1_Timer();
  EXPECT_EQ(Status(), u"播放中(780 Kbps)  如播放卡，先暂停1-2分钟，等等更流畅");
  player.download_rate = 0;
  window.Timer1_Timer();
  EXPECT_EQ(Status(), u"播放中(780 Kbps)");
  player.duration = 0;  // an unknown length parks the thumb
  window.Timer1_Timer();
  EXPECT_EQ(w(ba1::gunt1).left, 0);
}

TEST_F(PlaybackTest, ResumeSeekHappensOnceAndReconnectOncePerRun) {
  window.context().resume_position = 95;
  Playing(3, 600);
  window.Timer1_Timer();
  EXPECT_EQ(player.position, 95);
  player.position = 20;  // restarted earlier after a pause: no second seek
  window.Timer1_Timer();
  EXPECT_EQ(player.position, 20);

  player.state = player::kConnecting;
  player.download_rate = 0;
  for (int tick = 1; tick <= 7; ++tick) window.Timer1_Timer();
  EXPECT_EQ(std::count(player.calls.begin(), player.calls.end(), "Stop"), 0);
  window.Timer1_Timer();  // the eighth silent tick
  EXPECT_EQ(std::count(player.calls.begin(), player.calls.end(), "Stop"), 1);
  player.state = player::kConnecting;
  for (int tick = 0; tick < 20; ++tick) window.Timer1_Timer();
  EXPECT_EQ(std::count(player.calls.begin(), player.calls.end(), "Stop"), 1);
}

TEST_F(PlaybackTest, NextEpisodeIsPrebufferedPastSixHundredAndOnePerMille) {
  window.context().current_key = u"12-3-4-abc";
  window.context().next_media = u"vexo://next";
  Playing(10, 600, 601);
  window.Timer1_Timer();
  EXPECT_EQ(window.context().prebuffer_armed, 0);
  player.progress = 602;
  window.Timer1_Timer();
  window.Timer1_Timer();
  EXPECT_EQ(std::count(player.calls.begin(), player.calls.end(), "Prebuffer vexo://next"), 1);
  EXPECT_EQ(host.balloons, std::vector<std::string>{"开始缓冲下一集！"});

  // Without an answer yet, the site is asked on each tick until it gives one.
  window.context().prebuffer_armed = 0;
  window.context().next_media = u"0";
  host.replies["http://site/soft/h.asp?id=12&v=3&v1=5"] = "第5集$vexo://m5 x";
  window.Timer1_Timer();
  EXPECT_EQ(window.context().next_link, u"eevexo://vexo&&&vexo%3A//m5%20x&&&abc&&&第5集&&&12&&&3&&&5");
  EXPECT_EQ(window.context().next_media, u"vexo://m5 x");
  window.Timer1_Timer();
  EXPECT_EQ(player.calls.back(), "Prebuffer vexo://m5 x");
}

TEST_F(PlaybackTest, NearTheEndTheFinishStepIsArmedAndHandsOver) {
  WindowModel& w = window.model();
  window.context().next_link = u"eevexo://vexo&&&next";
  Playing(99, 100);
  window.Timer1_Timer();
  EXPECT_TRUE(w.Timer(ba1::Timer2).enabled);
  EXPECT_EQ(host.balloons, std::vector<std::string>{"正在准备播放下一集！"});
  window.Timer2_Timer();
  EXPECT_FALSE(w.Timer(ba1::Timer2).enabled);
  EXPECT_FALSE(w.Timer(ba1::Timer1).enabled);
  EXPECT_TRUE(w(ba1::next_s).visible);
  EXPECT_EQ(Status(), u"播放完毕");
  EXPECT_EQ(host.navigations.back(), "Web2 http://vexo-finish.invalid/finish.htm");

  // Balloons off: the near-end tick stops early and leaves the time as it was.
  folder.Write(u"config.ini", "[S_q]\r\ns_pao=1\r\n");
  w(ba1::times).caption = u"kept";
  window.Timer1_Timer();
  EXPECT_EQ(w(ba1::times).caption, u"kept");
  EXPECT_EQ(host.balloons.size(), 1u);
}

TEST_F(PlaybackTest, TheNextEpisodeQueryAndItsRetry) {
  folder.Write(u"config.ini", "[S_q]\r\ns_h=1\r\n");
  window.context().current_key = u"1-2-3-x";
  window.QueryNextEpisode();
  EXPECT_TRUE(host.requests.empty());
  EXPECT_EQ(window.context().next_link, u"0");

  folder.Write(u"config.ini", "[S_q]\r\ns_h=2\r\n");
  window.context().current_key = u"0";
  window.QueryNextEpisode();
  EXPECT_TRUE(host.requests.empty());

  window.context().current_key = u"1-2-3-x";
  window.QueryNextEpisode();  // no reply
  EXPECT_EQ(host.requests.back(), "http://site/soft/h.asp?id=1&v=2&v1=4");
  EXPECT_EQ(window.context().next_link, u"3");
  EXPECT_EQ(host.balloons.back(), "读取下一集数据出错，稍后将重新读取！");
  EXPECT_TRUE(window.model().Timer(ba1::Timer4).enabled);
  host.replies["http://site/soft/h.asp?id=1&v=2&v1=4"] = "1";
  window.OnTimer(ba1::Timer4);
  window.OnTimer(ba1::Timer4);
  EXPECT_EQ(host.requests.size(), 1u);
  window.OnTimer(ba1::Timer4);
  EXPECT_EQ(host.requests.size(), 2u);
  EXPECT_FALSE(window.model().Timer(ba1::Timer4).enabled);
  EXPECT_EQ(window.context().next_link, u"1");
  EXPECT_EQ(window.context().next_media, u"1");

  // A next episode the site names as a local file is none.
  host.replies["http://site/soft/h.asp?id=1&v=2&v1=4"] = "第4集$\\\\host\\share\\4.avi$vexo";
  window.QueryNextEpisode();
  EXPECT_EQ(window.context().next_media, u"1");
}

TEST_F(PlaybackTest, PaneEventsSilenceShowErrorsAndRecover) {
  WindowModel& w = window.model();
  window.DownloadBegin(ba1::Web1);
  window.DownloadBegin(ba1::Web6);
  EXPECT_EQ(host.silent, std::vector<std::string>{"Web1"});
  window.NavigateError(ba1::Web1, u"http://site/soft/");
  EXPECT_TRUE(w(ba1::wait).visible);
  EXPECT_FALSE(w(ba1::Pic1).visible);
  EXPECT_EQ(w(ba1::webe).caption.substr(0, 11), u"Error！出错了\r\n");
  window.DownloadComplete(ba1::Web1);
  EXPECT_TRUE(w(ba1::wait).visible);  // stays until the user asks
  window.webe_Click();
  EXPECT_TRUE(w(ba1::Pic1).visible);
  EXPECT_EQ(host.navigations.back(), "Web1 http://site/soft/");
  window.DownloadComplete(ba1::Weby);
  EXPECT_TRUE(w.Timer(ba1::Timer6).enabled);
  window.NavigateError(ba1::Weby, u"http://site/soft/js/ads/softad.html");
  EXPECT_EQ(window.banner_load_failed, 1);
}

}  // namespace

// Window events run while a request waits, so handlers meet each other in the middle.
TEST_F(PlaybackTest, TheUsersLastChoicePlaysWhenResolvesOverlap) {
  host.replies["http://site/soft/h.asp?id=1&v=1&v1=1"] = "第1集$vexo://a$vexo";
  host.replies["http://site/soft/h.asp?id=2&v=1&v1=1"] = "第1集$vexo://b$vexo";
  host.during_request = [&](const std::string& address) {
    // While A's answer is on its way the user clicks B, which is answered first.
    if (address.find("id=1&") == std::string::npos) return;
    host.during_request = nullptr;
    Navigate(ba1::Web1, u"eebovod://2-1-1-b");
  };
  Navigate(ba1::Web1, u"eebovod://1-1-1-a");
  const auto handed = std::count_if(host.navigations.begin(), host.navigations.end(),
                                    [](const std::string& n) { return n.rfind("Web1 eevexo://", 0) == 0; });
  EXPECT_EQ(handed, 1);
  EXPECT_EQ(host.navigations.back(), "Web1 eevexo://vexo&&&vexo%3A//b&&&b&&&第1集&&&2&&&1&&&1");
  EXPECT_TRUE(host.balloons.empty());
}

TEST_F(PlaybackTest, ALateNextEpisodeAnswerIsDroppedOnceAnotherItemPlays) {
  host.replies["http://site/soft/h.asp?id=12&v=3&v1=5"] = "第5集$vexo://series-5";
  Navigate(ba1::Web1, u"eevexo://vexo&&&vexo%3A//series-4&&&abc&&&%u7B2C4%u96C6&&&12&&&3&&&4");
  host.during_request = [&](const std::string&) {
    host.during_request = nullptr;
    Navigate(ba1::Web1, u"eevexo://vexo&&&vexo%3A//film&&&film&&&x&&&30&&&1&&&1");
  };
  window.QueryNextEpisode();
  EXPECT_EQ(player.media_url, u"vexo://film");
  EXPECT_EQ(window.context().next_media, u"0") << "series 12's episode 5 must not follow the film";
  EXPECT_EQ(window.context().next_link, u"0");
}

TEST_F(PlaybackTest, TicksNeverNestAndASwitchedOffTimerDoesNotTick) {
  // A tick whose next-episode query lets another Timer1 tick in: that one is dropped.
  window.context().current_key = u"12-3-4-abc";
  window.context().next_media = u"0";
  Playing(10, 600, 700);
  window.model().Timer(ba1::Timer1).enabled = true;
  host.replies["http://site/soft/h.asp?id=12&v=3&v1=5"] = "1";
  int nested = 0;
  host.during_request = [&](const std::string&) {
    ++nested;
    window.OnTimer(ba1::Timer1);
  };
  window.OnTimer(ba1::Timer1);
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(host.requests.size(), 1u);

  // A link for the web player stops the player (Timer1 off) and lets events run: a Timer1
  // tick queued before must not run in there.
  host.during_request = nullptr;
  bool ticked_inside = false;
  host.pending_events = [&] {
    window.model()(ba1::zhun).caption = u"marker";
    window.OnTimer(ba1::Timer1);
    ticked_inside = window.model()(ba1::zhun).caption != u"marker";
  };
  Navigate(ba1::Web1, u"eevexo://web&&&x&&&name&&&label&&&30&&&1&&&1");
  EXPECT_FALSE(window.model().Timer(ba1::Timer1).enabled);
  EXPECT_FALSE(ticked_inside);
}

TEST_F(PlaybackTest, AnAnswerEndsAPendingRetry) {
  window.context().current_key = u"1-2-3-x";
  window.QueryNextEpisode();  // no answer: retried in three minutes
  ASSERT_TRUE(window.model().Timer(ba1::Timer4).enabled);
  host.replies["http://site/soft/h.asp?id=1&v=2&v1=4"] = "第4集$vexo://four";
  window.QueryNextEpisode();  // a monitor tick asks again and gets it
  EXPECT_FALSE(window.model().Timer(ba1::Timer4).enabled);
  EXPECT_EQ(window.context().next_media, u"vexo://four");
}

TEST_F(PlaybackTest, AnUnknownOrNegativeLengthParksTheSeekThumb) {
  for (long duration : {0L, -5L, -2147483647L}) {
    Playing(10, duration);
    window.Timer1_Timer();
    EXPECT_EQ(window.model()(ba1::gunt1).left, 0) << duration;
  }
  Playing(30, 60);
  window.Timer1_Timer();
  EXPECT_GT(window.model()(ba1::gunt1).left, 0);
}
