// The chrome of the borderless window over the model: skins and frames, the close command,
// the seek bar and volume, the sizing band, the hover balloon and the footer.
#include <gtest/gtest.h>

#include "common/text/decimal.h"
#include "play/startup/config_store.h"
#include "tests/native/main_window_fixture.h"

namespace {

class ChromeTest : public MainWindowFixture {
 protected:
  ChromeTest() : MainWindowFixture(u"http://127.0.0.1:8000/soft/") {
    folder.Write(u"date.dat", "\r\n");
    folder.Write(u"date_f.dat", "\r\n");
    folder.Write(u"config.ini", "[Skin]\r\nNum=2\r\n[S_q]\r\nts=3\r\nquit=2\r\nh_w=13560\r\nh_h=8475\r\n");
  }
  void Load() {
    window.LoadFirstInstance(u"");
    Resize(13560, 8475);
  }
  void Resize(long width_twips, long height_twips) {
    WindowModel& w = window.model();
    w.width_twips = width_twips;
    w.height_twips = height_twips;
    w.scale_width = width_twips / kTwipsPerPixel;
    w.scale_height = height_twips / kTwipsPerPixel;
    window.Form_Resize();
  }
  std::string Ini(std::u16string_view section, std::u16string_view key) {
    return Utf16ToUtf8(ReadIniValue(profile, window.config_path(), section, key, u"0"));
  }
  std::u16string Slot(ControlName name, int index = -1) {
    const auto& picture = window.model()(name, index).picture;
    return picture ? picture->slot + u"@" + Decimal(picture->x) : u"none";
  }
  // Starts playing a file, as the command line does.
  void PlayFile() {
    window.l_com(u"C:\\v\\a.avi");
    player.state = player::kPlaying;
    player.duration = 600;
    player.position = 100;
  }
};

TEST_F(ChromeTest, TheStoredSkinIsAppliedAtStartAndAnotherFromTheSkinMenu) {
  Load();
  WindowModel& w = window.model();
  EXPECT_EQ(window.skin_number(), 2);
  EXPECT_EQ(w(ba1::zz).back_color, Rgb(255, 228, 202));
  EXPECT_EQ(w(ba1::l1).back_color, Rgb(248, 167, 31));
  EXPECT_EQ(w(ba1::l2).back_color, w(ba1::l1).back_color);
  EXPECT_EQ(w(ba1::bo_foot).back_color, w(ba1::zz).back_color);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(w(ba1::ppt, i).resource_id, 301 + i);
  // First application: the transport buttons get their faces, the caption buttons theirs.
  EXPECT_EQ(Slot(ba1::bo_but, 0), u"but(2)@0");
  EXPECT_EQ(Slot(ba1::bo_but, 4), u"but(0)@0");
  EXPECT_EQ(Slot(ba1::npc, 2), u"ppt(1)@93");
  EXPECT_EQ(w(ba1::npc, 10).picture->target_width, 163);

  // The menu shows the four skins with the current one checked, at the skin button.
  host.menu_answers = {0};
  window.npc_Click(3);
  EXPECT_EQ(host.menus.back(), "绿竹青青|海洋之心|*红梅迎风|紫影梦幻|");
  EXPECT_EQ(host.menu_points.back(), std::to_string(w(ba1::npc, 3).left - 15) + ",20");
  EXPECT_EQ(w(ba1::zz).back_color, Rgb(201, 235, 167));
  EXPECT_EQ(w(ba1::ppt, 0).resource_id, 101);
  EXPECT_EQ(Ini(u"Skin", u"Num"), "0");
  // Re-applying the same skin writes it again; a number without images changes nothing.
  folder.Write(u"config.ini", "");
  long same = 0;
  window.p_p(same);
  EXPECT_EQ(Ini(u"Skin", u"Num"), "0");
  long unknown = 9;
  window.p_p(unknown);
  EXPECT_EQ(w(ba1::ppt, 0).resource_id, 101);
  EXPECT_EQ(w(ba1::zz).back_color, Rgb(201, 235, 167));
}

TEST_F(ChromeTest, StartUpMapsSkinNumbersBeyondTheFourToTheSecond) {
  for (const char* stored : {"7", "-1"}) {
    folder.Write(u"config.ini", std::string("[Skin]\r\nNum=") + stored + "\r\n");
    MainWindow fresh({profile, files, player, lists, host, host, host, host, host, host, host, host, host},
                     folder.Text(), u"http://h/");
    fresh.LoadFirstInstance(u"");
    EXPECT_EQ(fresh.skin_number(), 1) << stored;
    EXPECT_EQ(fresh.model()(ba1::ppt, 3).resource_id, 204) << stored;
  }
}

TEST_F(ChromeTest, FramesRoundTheWindowAtEveryResizeInBothModes) {
  Load();
  WindowModel& w = window.model();
  // The normal frame at the minimum size keeps the header picture inside the window.
  Resize(100, 100);
  EXPECT_EQ(w.scale_width, 866);
  const FramePiece& header = w.frame.back();
  EXPECT_EQ(header.source.slot, u"ppt(3)");
  EXPECT_EQ(header.left, 866 - 360);
  EXPECT_EQ(header.width, 318);  // skin 2's header
  EXPECT_GE(header.left, 0);
  EXPECT_LE(header.left + header.width, w.scale_width);
  EXPECT_EQ(w.frame.size(), 9u);
  EXPECT_EQ(host.regions.back(), "867x467");

  window.jian_Click();
  EXPECT_EQ(host.regions.back(), "387x320");
  EXPECT_EQ(w.frame.size(), 8u);  // the compact frame has no header picture
  EXPECT_EQ(w.frame.front().height, 320 - 27);
  Resize(4200, 3100);
  EXPECT_EQ(host.regions.back(), "280x207");
  // A skin change in compact mode keeps the compact frame.
  long ocean = 1;
  window.p_p(ocean);
  EXPECT_EQ(w.frame.size(), 8u);
}

TEST_F(ChromeTest, MaximisingSwapsTheRestoreFaceAndASkinChangeKeepsIt) {
  Load();
  WindowModel& w = window.model();
  window.npc_Click(1);
  EXPECT_EQ(Slot(ba1::npc, 1), u"ppt(5)@0");
  long bamboo = 0;
  window.p_p(bamboo);
  EXPECT_EQ(Slot(ba1::npc, 1), u"ppt(5)@0");
  window.npc_Click(1);
  EXPECT_EQ(Slot(ba1::npc, 1), u"ppt(1)@69");
  EXPECT_EQ(w(ba1::npc, 1).tool_tip, u"最大化");
}

TEST_F(ChromeTest, TheFirstCloseAsksOnceAndLaterClosesFollowTheAnswer) {
  Load();
  host.answers = {true};
  window.npc_Click(2);
  EXPECT_EQ(host.questions, (std::vector<std::string>{"提示： 关闭 绮映影视盒 最小化到托盘吗？"}));
  EXPECT_EQ(Ini(u"S_q", u"ts"), "1");
  EXPECT_EQ(Ini(u"S_q", u"quit"), "2");
  EXPECT_FALSE(host.shown);
  host.shown = true;
  window.npc_Click(2);
  EXPECT_EQ(host.questions.size(), 1u);
  EXPECT_FALSE(host.shown);

  // A missing answer hides too; "1" exits.
  folder.Write(u"config.ini", "[S_q]\r\nts=1\r\n");
  host.shown = true;
  window.npc_Click(2);
  EXPECT_FALSE(host.shown);
  folder.Write(u"config.ini", "[S_q]\r\nts=1\r\nquit=1\r\n");
  window.npc_Click(2);
  EXPECT_NE(std::find(host.calls.begin(), host.calls.end(), "Unload"), host.calls.end());
}

TEST_F(ChromeTest, AnsweringNoToTheFirstCloseExits) {
  Load();
  host.answers = {false};
  window.npc_Click(2);
  EXPECT_EQ(Ini(u"S_q", u"quit"), "1");
  EXPECT_NE(std::find(host.calls.begin(), host.calls.end(), "Unload"), host.calls.end());
}

TEST_F(ChromeTest, SeekingWithTheMouseRoundsAndPullsBackFromTheEnd) {
  Load();
  PlayFile();
  WindowModel& w = window.model();
  const long span = w(ba1::gunt).width - w(ba1::gunt1).width;
  ASSERT_GT(span, 0);
  // A press beyond the track's span seeks past the end and is pulled back.
  window.gunt_MouseDown(true, span + 40);
  EXPECT_EQ(w(ba1::gunt1).left, span + 40);
  window.gunt_MouseUp();
  EXPECT_EQ(player.position, 598);
  // The whole track: the end itself, and two seconds before it through the downloaded bar.
  window.gunt_MouseDown(true, span);
  window.gunt_MouseUp();
  EXPECT_EQ(player.position, 600);
  window.huan_MouseDown(true, span);
  window.huan_MouseUp();
  EXPECT_EQ(player.position, 598);
  // Halves round to the even second: with a span of 1200 pixels a pixel is half a second.
  w(ba1::gunt).width = w(ba1::gunt1).width + 1200;
  window.gunt_MouseDown(true, 1);
  window.gunt_MouseUp();
  EXPECT_EQ(player.position, 0);
  window.gunt_MouseDown(true, 3);
  window.gunt_MouseUp();
  EXPECT_EQ(player.position, 2);
  w(ba1::gunt).width = w(ba1::gunt1).width + span;
  // Dragging the thumb is clamped to the track; fully left seeks to 0 without a back-off.
  window.gunt1_MouseMove(true, -9999);
  EXPECT_EQ(w(ba1::gunt1).left, 0);
  window.gunt1_MouseUp();
  EXPECT_EQ(player.position, 0);
  window.gunt1_MouseMove(true, 9999);
  EXPECT_EQ(w(ba1::gunt1).left, span);
  window.gunt1_MouseUp();
  EXPECT_EQ(player.position, 598);
  // A right-button press does not move the thumb.
  window.gunt_MouseDown(false, 3);
  EXPECT_EQ(w(ba1::gunt1).left, span);
}

TEST_F(ChromeTest, NothingToSeekWhenTheTrackOrTheItemHasNoLength) {
  Load();
  PlayFile();
  WindowModel& w = window.model();
  player.duration = 0;
  window.gunt_MouseDown(true, 50);
  window.gunt_MouseUp();
  EXPECT_EQ(player.position, 0);
  window.huan_MouseUp();
  EXPECT_EQ(player.position, -2);            // the bar's back-off reaches the control as it is
  w(ba1::gunt).width = w(ba1::gunt1).width;  // a track no wider than its thumb
  player.calls.clear();
  window.gunt_MouseUp();
  window.gunt1_MouseUp();
  window.huan_MouseUp();
  EXPECT_TRUE(player.calls.empty());
  // The keys with an item of no length leave the thumb at the start.
  player.position = 20;
  w(ba1::vexo).visible = true;
  window.Form_KeyDown(37);
  EXPECT_EQ(w(ba1::gunt1).left, 0);
}

TEST_F(ChromeTest, ArrowKeysSeekAndSetTheVolumeOnlyWithThePlayerShown) {
  Load();
  PlayFile();
  WindowModel& w = window.model();
  window.npc_Click(8);  // the catalogue: the player panel is hidden
  w.Timer(ba1::Timer1).enabled = false;
  player.calls.clear();
  window.Form_KeyDown(32);
  EXPECT_TRUE(player.calls.empty());
  EXPECT_FALSE(w.Timer(ba1::Timer1).enabled);

  window.npc_Click(9);
  player.position = 5;
  window.Form_KeyDown(37);  // Left at 5 seconds: to 0
  EXPECT_EQ(player.position, 0);
  EXPECT_TRUE(w.Timer(ba1::Timer1).enabled);
  w.Timer(ba1::Timer1).enabled = false;
  window.Form_KeyDown(39);  // at 0 nothing seeks, but the timer runs again
  EXPECT_EQ(player.position, 0);
  EXPECT_TRUE(w.Timer(ba1::Timer1).enabled);
  player.position = 595;
  window.Form_KeyDown(39);
  EXPECT_EQ(player.position, 598);
  EXPECT_EQ(w(ba1::times).caption, u"09:58 / 10:00");
  window.Form_KeyDown(65);  // any other key: only the timer
  EXPECT_TRUE(w.Timer(ba1::Timer1).enabled);

  // Up and Down unmute and place the knob from the volume read back.
  window.bo_but_Click(2);
  EXPECT_EQ(Slot(ba1::bo_but, 2), u"but(8)@0");
  player.volume = 45;
  window.Form_KeyDown(38);
  EXPECT_EQ(player.volume, 55);
  EXPECT_EQ(w(ba1::zhun).caption, u"音量：55%");
  EXPECT_EQ(w(ba1::bo_but, 2).tool_tip, u"静音");
  EXPECT_EQ(Slot(ba1::bo_but, 2), u"but(7)@0");
  const long span = w(ba1::yin).width - w(ba1::bo_v).width;
  EXPECT_EQ(w(ba1::bo_v).left, span * 55 / 100);
  EXPECT_EQ(w(ba1::bo_y).width, w(ba1::bo_v).left);
}

TEST_F(ChromeTest, VolumeWithTheMouseStopsAtTheEndsOfTheTrack) {
  Load();
  PlayFile();
  WindowModel& w = window.model();
  const long span = w(ba1::yin).width - w(ba1::bo_v).width;
  window.yin_MouseDown(true, span + 30);  // the very right: 100
  EXPECT_EQ(player.volume, 100);
  EXPECT_EQ(w(ba1::zhun).caption, u"音量：100%");
  window.yin_MouseDown(true, span * 45 / 100 + 1);
  EXPECT_EQ(player.volume, static_cast<long>((span * 45 / 100 + 1) * 100 / span));
  // Dragging the knob past either end leaves it and the last volume where they were.
  w(ba1::bo_v).left = 10;
  window.bo_v_MouseMove(true, 5);
  const long kept = player.volume;
  EXPECT_EQ(w(ba1::bo_v).left, 15);
  EXPECT_EQ(w(ba1::bo_v).tool_tip, Utf8ToUtf16(std::to_string(kept)));
  window.bo_v_MouseMove(true, -100);
  window.bo_v_MouseMove(true, span);
  EXPECT_EQ(w(ba1::bo_v).left, 15);
  EXPECT_EQ(player.volume, kept);
  player.volume = 7;
  window.bo_v_MouseMove(false, 3);  // no button held: nothing
  EXPECT_EQ(player.volume, 7);
}

TEST_F(ChromeTest, TheSizingBandHandsEachBorderAndCornerToTheSystem) {
  Load();
  const long W = 904, H = 565;
  struct Case {
    long x, y;
    int code;
    Pointer pointer;
  } cases[] = {
      {W - 1, 1, hit::kTopRight, Pointer::kSizeNeSw},
      {W - 2, H - 1, hit::kBottomRight, Pointer::kSizeNwSe},
      {W - 3, 300, hit::kRight, Pointer::kSizeWe},
      {0, 0, hit::kTopLeft, Pointer::kSizeNwSe},
      {3, H - 3, hit::kBottomLeft, Pointer::kSizeNeSw},
      {2, 200, hit::kLeft, Pointer::kSizeWe},
      {400, 3, hit::kTop, Pointer::kSizeNs},
      {400, H - 2, hit::kBottom, Pointer::kSizeNs},
  };
  for (const Case& c : cases) {
    host.loops.clear();
    window.Form_MouseMove(false, c.x, c.y);
    EXPECT_EQ(host.pointer, c.pointer) << c.x << "," << c.y;
    EXPECT_TRUE(host.loops.empty());
    window.Form_MouseDown(c.x, c.y);
    EXPECT_EQ(host.loops, (std::vector<int>{c.code})) << c.x << "," << c.y;
  }
  // The interior moves the window when dragged, and only then.
  host.loops.clear();
  window.Form_MouseMove(false, 400, 40);
  EXPECT_EQ(host.pointer, Pointer::kDefault);
  EXPECT_TRUE(host.loops.empty());
  window.Form_MouseDown(400, 40);
  window.Form_MouseMove(true, 400, 40);
  EXPECT_EQ(host.loops, (std::vector<int>{hit::kCaption}));
}

TEST_F(ChromeTest, TheSizeIsStoredAfterABorderDragInNormalModeOnly) {
  Load();
  WindowModel& w = window.model();
  host.during_loop = [&] { Resize(15000, 9000); };
  window.Form_MouseDown(903, 564);
  EXPECT_EQ(Ini(u"S_q", u"h_w"), "15000");
  EXPECT_EQ(Ini(u"S_q", u"h_h"), "9000");
  // A drag of the interior moves and stores nothing.
  host.during_loop = [&] { Resize(16000, 9500); };
  window.Form_MouseDown(400, 40);
  window.Form_MouseMove(true, 400, 40);
  EXPECT_EQ(Ini(u"S_q", u"h_w"), "15000");
  // Compact mode resizes without storing; a maximised window does neither.
  window.jian_Click();
  host.during_loop = [&] { Resize(6000, 5000); };
  window.Form_MouseDown(0, 100);
  EXPECT_EQ(Ini(u"S_q", u"h_w"), "15000");
  window.jbi_Click();
  w.state = WindowState::kMaximized;
  host.loops.clear();
  window.Form_MouseDown(0, 100);
  window.Form_MouseMove(true, 400, 40);
  EXPECT_TRUE(host.loops.empty());
}

TEST_F(ChromeTest, HoverFacesAndTheBalloonFollowThePointer) {
  Load();
  WindowModel& w = window.model();
  const Control& close = w(ba1::npc, 2);
  window.npc_MouseMove(2, 5, 5);
  EXPECT_EQ(Slot(ba1::npc, 2), u"ppt(2)@92");
  EXPECT_EQ(host.captured, "npc(2)");
  EXPECT_TRUE(w(ba1::P1).visible);
  EXPECT_EQ(w(ba1::bo_tip).caption, u"关闭");
  EXPECT_EQ(w(ba1::P1).left, close.left - 5);
  EXPECT_EQ(w(ba1::P1).top, close.top + close.height + 3);
  EXPECT_EQ(w(ba1::P1).width, w(ba1::bo_tip).width + 5);
  // Leaving it (captured, so the move is still reported) hides the balloon first.
  window.npc_MouseMove(2, -3, 5);
  EXPECT_EQ(Slot(ba1::npc, 2), u"ppt(1)@93");
  EXPECT_EQ(host.captured, "");
  EXPECT_FALSE(w(ba1::P1).visible);
  window.npc_MouseMove(4, 2, 2);
  EXPECT_EQ(Slot(ba1::npc, 4), u"ppt(6)@21");
  window.npc_Click(4);
  window.npc_MouseMove(4, 2, 2);
  EXPECT_EQ(Slot(ba1::npc, 4), u"ppt(6)@63");
  // The banner toggle changes face but shows no balloon.
  window.npc_MouseMove(4, -1, 2);
  window.npc_MouseMove(7, 3, 3);
  EXPECT_EQ(Slot(ba1::npc, 7), u"ppt(4)@0");
  EXPECT_FALSE(w(ba1::P1).visible);

  // A transport button's balloon is centred by the balloon's previous width.
  const long previous = w(ba1::P1).width;
  const Control& stop = w(ba1::bo_but, 1);
  window.bo_but_MouseMove(1, 4, 4);
  EXPECT_EQ(Slot(ba1::bo_but, 1), u"but(6)@0");
  EXPECT_EQ(w(ba1::P1).left, stop.left + stop.width - previous / 2 - 5);
  EXPECT_EQ(w(ba1::P1).top, w.scale_height - 70);
  window.bo_but_MouseMove(1, 40, 4);
  EXPECT_EQ(Slot(ba1::bo_but, 1), u"but(3)@0");
  // The links take their hover colours, and a command puts them back.
  window.HoverOver(ba1::qk);
  EXPECT_EQ(w(ba1::qk).fore_color, Rgb(128, 0, 0));
  window.npc_Click(11);
  EXPECT_EQ(w(ba1::qk).fore_color, Rgb(90, 90, 90));
}

TEST_F(ChromeTest, FooterLinksRotateAndOnlyWebAddressesOpen) {
  Load();
  WindowModel& w = window.model();
  w.Timer(ba1::Timer7).enabled = true;
  auto visible = [&] {
    std::string shown;
    for (int i = 0; i < 4; ++i) shown += w(ba1::Lab2, i).visible ? std::to_string(i) : "";
    return shown;
  };
  w(ba1::Lab2, 0).caption = u"新片";
  w(ba1::Te, 0).caption = u"http://127.0.0.1:8000/news/1.htm";
  window.Timer7_Timer();
  window.Timer7_Timer();
  EXPECT_EQ(visible(), "0");
  w(ba1::Lab2, 1).caption = u"热播";
  w(ba1::Te, 1).caption = u"HTTPS://example.org/";
  w(ba1::Lab2, 2).caption = u"本地";
  w(ba1::Te, 2).caption = u"C:\\Windows\\system32\\calc.exe";
  std::string order;
  for (int i = 0; i < 4; ++i) {
    window.Timer7_Timer();
    order += visible();
  }
  EXPECT_EQ(order, "1201");
  host.calls.clear();
  for (int i = 0; i < 4; ++i) window.Lab2_Click(i);
  window.hzhuo_Click();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"Open http://127.0.0.1:8000/news/1.htm", "Open HTTPS://example.org/",
                                                  "Open http://127.0.0.1:8000/soft/"}));
  EXPECT_EQ(w(ba1::hzhuo).caption, u"合作伙伴:127.0.0.1:8000");
}

TEST_F(ChromeTest, OpeningAFileStopsTheItemAndListsTheFileOnce) {
  Load();
  WindowModel& w = window.model();
  window.bo_but_Click(4);  // cancelled
  EXPECT_EQ(host.dialogs.size(), 1u);
  EXPECT_TRUE(player.media_url.empty());
  host.picked_file = u"C:\\v\\clip.mp4";
  window.bo_but_Click(4);
  player.position = 42;
  window.Timer1_Timer();
  window.bo_but_Click(4);
  EXPECT_EQ(Ansi(u"date_f.dat"), "clip.mp4|C:\\v\\clip.mp4|0\r\n\r\n");
  EXPECT_EQ(player.media_url, u"C:\\v\\clip.mp4");
  EXPECT_EQ(w(ba1::bo_name).caption, u"clip.mp4");
  EXPECT_EQ(window.context().current_item, u"C:\\v\\clip.mp4");
  EXPECT_EQ(window.view_mode(), 1);
  EXPECT_EQ(host.dialogs.back(), "选择播放文件 影音文件|*.rm;*.rmvb;*.wmv;*.mp3;*wma;*mid;*wav;*mpg;*mp4|所有文件|*.*");
}

TEST_F(ChromeTest, EveryHalfMinuteOfPlaybackKeepsThePlace) {
  Load();
  PlayFile();
  auto tick = [&](int state, long position) {
    player.state = state;
    player.position = position;
    window.Timer1_Timer();
  };
  for (int i = 1; i < 30; ++i) tick(player::kPlaying, 100 + i);
  EXPECT_EQ(Ansi(u"date_f.dat"), "a.avi|C:\\v\\a.avi|0\r\n\r\n");
  for (int i = 0; i < 20; ++i) tick(player::kPaused, 129);  // a pause is no playback
  tick(player::kPlaying, 130);
  EXPECT_EQ(Ansi(u"date_f.dat"), "a.avi|C:\\v\\a.avi|130\r\n");
  // A new item counts afresh.
  for (int i = 1; i < 20; ++i) tick(player::kPlaying, 130 + i);
  window.l_com(u"C:\\v\\b.avi");
  for (int i = 1; i < 30; ++i) tick(player::kPlaying, i);
  EXPECT_EQ(Ansi(u"date_f.dat"), "b.avi|C:\\v\\b.avi|0\r\na.avi|C:\\v\\a.avi|130\r\n");
  tick(player::kPlaying, 30);
  EXPECT_EQ(Ansi(u"date_f.dat"), "b.avi|C:\\v\\b.avi|30\r\na.avi|C:\\v\\a.avi|130\r\n");
}

}  // namespace
