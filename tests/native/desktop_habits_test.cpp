// A video player's desktop habits over the model and fakes: the awake request follows the
// player's state, the media keys work the player's buttons, and dropped files play.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "play/startup/command_line.h"
#include "tests/native/main_window_fixture.h"

namespace {

class DesktopHabitsTest : public MainWindowFixture {
 protected:
  DesktopHabitsTest() : MainWindowFixture(u"http://site/soft/") {
    folder.Write(u"config.ini", "[S_q]\r\ns_h=2\r\ns_bo=2\r\ns_pao=2\r\nvexow=C:\\Vexo\\\r\n");
    folder.Write(u"date.dat", "\r\n");
    folder.Write(u"date_f.dat", "\r\n");
  }
  // The awake requests made since the last call.
  std::vector<std::string> Awake() {
    std::vector<std::string> made;
    for (const std::string& call : host.calls) {
      if (call.rfind("Awake ", 0) == 0) made.push_back(call);
    }
    host.calls.clear();
    return made;
  }
  using Calls = std::vector<std::string>;
};

TEST_F(DesktopHabitsTest, TheAwakeRequestFollowsEveryChangeOfThePlayersState) {
  window.ObservePlayback();
  EXPECT_EQ(Awake(), Calls{}) << "the catalogue alone keeps nothing awake";
  player.media_url = u"C:\\Films\\a.mp4";
  struct Step {
    const char* what;
    std::function<void()> act;
    Calls expected;
  } steps[] = {
      {"playing", [&] { player.state = player::kPlaying; }, {"Awake on"}},
      {"a second tick", [] {}, {}},
      {"buffering in the middle", [&] { player.state = player::kBuffering; }, {}},
      {"the pause key", [&] { window.ShowPlayFace(true), window.AppCommand(app_command::kPause); }, {"Awake off"}},
      {"the play key", [&] { window.AppCommand(app_command::kPlay); }, {"Awake on"}},
      {"the stop key", [&] { window.AppCommand(app_command::kStop); }, {"Awake off"}},
      {"playing again", [&] { player.state = player::kPlaying; }, {"Awake on"}},
      {"the end", [&] { player.state = player::kEnded; }, {"Awake off"}},
      {"the next episode", [&] { player.state = player::kConnecting; }, {"Awake on"}},
  };
  for (Step& step : steps) {
    step.act();
    window.ObservePlayback();
    EXPECT_EQ(Awake(), step.expected) << step.what;
  }
  // The shutdown after playback lets go first.
  window.model()(ba1::bo_but, 6).tool_tip = u"自动关机已开启";
  window.Timer2_Timer();
  const auto awake_off = std::find(host.calls.begin(), host.calls.end(), "Awake off");
  const auto shutdown = std::find(host.calls.begin(), host.calls.end(), "Shutdown force");
  ASSERT_NE(awake_off, host.calls.end());
  EXPECT_LT(awake_off, shutdown);
  host.calls.clear();
  // And the exit, before anything else.
  player.state = player::kPlaying;
  window.ObservePlayback();
  Awake();
  window.ttt_v();
  ASSERT_FALSE(host.calls.empty());
  EXPECT_EQ(host.calls.front(), "Awake off");
}

TEST_F(DesktopHabitsTest, MediaKeysWorkThePlayersButtons) {
  player.media_url = u"C:\\Films\\a.mp4";
  player.state = player::kPaused;
  EXPECT_TRUE(window.AppCommand(app_command::kPlayPause));
  EXPECT_EQ(player.calls.back(), "Play");
  EXPECT_EQ(window.model()(ba1::bo_but, 0).tool_tip, u"暂停") << "the button's face follows";
  EXPECT_TRUE(window.AppCommand(app_command::kPlay));
  EXPECT_EQ(player.calls.back(), "Play") << "play while playing changes nothing";
  player.calls.clear();
  EXPECT_TRUE(window.AppCommand(app_command::kPlay));
  EXPECT_TRUE(player.calls.empty());
  EXPECT_TRUE(window.AppCommand(app_command::kPlayPause));
  EXPECT_EQ(player.calls.back(), "Pause");
  EXPECT_TRUE(window.AppCommand(app_command::kVolumeUp));
  EXPECT_EQ(player.volume, 60);
  EXPECT_TRUE(window.AppCommand(app_command::kVolumeDown));
  EXPECT_TRUE(window.AppCommand(app_command::kVolumeDown));
  EXPECT_EQ(player.volume, 40);
  EXPECT_TRUE(window.AppCommand(app_command::kVolumeMute));
  EXPECT_EQ(player.calls.back(), "Mute -1");
  EXPECT_EQ(window.model()(ba1::bo_but, 2).tool_tip, u"取消静音");
  EXPECT_TRUE(window.AppCommand(app_command::kStop));
  EXPECT_EQ(player.calls.back(), "Stop");

  // The next track: only where the site named the next episode.
  host.navigations.clear();
  EXPECT_TRUE(window.AppCommand(app_command::kNextTrack));
  EXPECT_TRUE(host.navigations.empty());
  window.context().next_link = u"eevexo://vexo&&&next";
  EXPECT_TRUE(window.AppCommand(app_command::kNextTrack));
  EXPECT_EQ(host.navigations, Calls{"Web1 eevexo://vexo&&&next"});
  EXPECT_FALSE(window.AppCommand(5)) << "a browser's key is none of the player's";
}

TEST_F(DesktopHabitsTest, DroppedVideosPlayAndJoinTheLocalListAndTheRestIsLeftOut) {
  for (const char16_t* name : {u"第1集.MKV", u"b.mp4", u"notes.txt", u"c.avi"}) folder.Write(name, "x");
  std::filesystem::create_directories(std::filesystem::path(folder.File(u"season.mp4")));  // a folder
  const std::vector<std::u16string> dropped = {folder.File(u"第1集.MKV"),   folder.File(u"notes.txt"),
                                               folder.File(u"season.mp4"),  u"relative.mp4",
                                               folder.File(u"missing.mp4"), folder.File(u"b.mp4")};
  window.FilesDropped(dropped);
  EXPECT_EQ(player.media_url, folder.File(u"第1集.MKV"));
  EXPECT_EQ(player.calls.back(), "Play");
  EXPECT_EQ(host.balloons, Calls{"不支持的文件"});
  // The one playing first, then the others in the order dropped.
  const std::string list = Ansi(u"date_f.dat");
  const auto first = list.find("第1集.MKV"), second = list.find("b.mp4");
  ASSERT_NE(first, std::string::npos) << list;
  ASSERT_NE(second, std::string::npos) << list;
  EXPECT_LT(first, second);
  EXPECT_EQ(list.find("notes.txt"), std::string::npos);

  // Nothing to play: nothing changes but the balloon.
  host.balloons.clear();
  player.calls.clear();
  window.FilesDropped({folder.File(u"notes.txt")});
  EXPECT_TRUE(player.calls.empty());
  EXPECT_EQ(host.balloons, Calls{"不支持的文件"});
}

// The task bar follows the same observer: the thumbnail buttons' states and the download
// share while the item is still being fetched, each change shown once.
TEST_F(DesktopHabitsTest, TheTaskBarFollowsThePlayerAndItsButtonsWorkIt) {
  struct Step {
    const char* what;
    std::function<void()> act;
    std::optional<TaskbarView> shown;  // nothing: the view did not change
  } steps[] = {
      {"the catalogue", [] {}, std::nullopt},
      {"a file opened", [&] { player.media_url = u"C:\\Films\\a.mp4", player.state = player::kConnecting; },
       TaskbarView{true, true, false, std::nullopt}},
      {"fetched 30%", [&] { player.progress = 300, player.duration = 100, window.Timer1_Timer(); },
       TaskbarView{true, true, false, 300}},
      {"the site named the next episode", [&] { window.context().next_link = u"eevexo://vexo&&&next"; },
       TaskbarView{true, true, true, 300}},
      {"paused", [&] { player.state = player::kPaused; }, TaskbarView{true, false, true, 300}},
      {"all fetched", [&] { player.progress = 1000, window.Timer1_Timer(); }, TaskbarView{true, false, true, {}}},
      {"another tick", [&] { window.Timer1_Timer(); }, std::nullopt},
      {"closed", [&] { player.media_url.clear(), window.Timer1_Timer(); }, TaskbarView{}},
  };
  for (Step& step : steps) {
    host.taskbar.clear();
    step.act();
    window.ObservePlayback();
    if (step.shown) {
      ASSERT_EQ(host.taskbar.size(), 1u) << step.what;
      EXPECT_EQ(host.taskbar.front(), *step.shown) << step.what;
    } else {
      EXPECT_TRUE(host.taskbar.empty()) << step.what;
    }
  }

  // The buttons: back ten seconds, play/pause, the next episode.
  player.media_url = u"C:\\Films\\a.mp4";
  player.state = player::kPlaying;
  player.position = 50;
  window.ThumbButtonClicked(ThumbButton::kBack);
  EXPECT_EQ(player.position, 40);
  EXPECT_TRUE(window.model().Timer(ba1::Timer1).enabled);
  window.ThumbButtonClicked(ThumbButton::kPlayPause);
  EXPECT_EQ(player.calls.back(), "Pause");
  host.navigations.clear();
  window.ThumbButtonClicked(ThumbButton::kNext);
  EXPECT_EQ(host.navigations, Calls{"Web1 eevexo://vexo&&&next"});
}

// Command lines as Explorer, "Send to" and scripts give files: several quoted files play as a
// drop of them, and the copies Explorer starts for one selection join the local list.
TEST_F(DesktopHabitsTest, FilesOfOneSelectionPlayTheFirstAndJoinTheLocalList) {
  const std::vector<std::pair<std::u16string, std::vector<std::u16string>>> texts = {
      {uR"("C:\a.mp4" "D:\影片\b.mkv")", {uR"(C:\a.mp4)", uR"(D:\影片\b.mkv)"}},
      {uR"(  "C:\a.mp4"   "C:\b.mp4"  )", {uR"(C:\a.mp4)", uR"(C:\b.mp4)"}},
      {uR"("C:\a.mp4")", {}},
      {uR"(C:\a b.mp4)", {}},
      {uR"("C:\a.mp4" C:\b.mp4)", {}},
      {uR"("C:\a.mp4""C:\b.mp4")", {}},
      {uR"("C:\a.mp4" "C:\b.mp4)", {}},
      {uR"("C:\a.mp4" "")", {}},
      {u"", {}},
  };
  for (const auto& [text, expected] : texts) EXPECT_EQ(SeveralQuotedTexts(text), expected) << Utf16ToUtf8(text);

  for (const char16_t* name : {u"a.mp4", u"第2集.mkv", u"c.avi", u"d.mp4", u"e.mp4"}) folder.Write(name, "x");
  const auto quoted = [&](const char16_t* name) { return u"\"" + folder.File(name) + u"\""; };
  window.Form_LinkExecute(quoted(u"a.mp4"));
  EXPECT_EQ(player.media_url, folder.File(u"a.mp4"));
  host.now_ms += 600;  // the next copy of the selection
  player.calls.clear();
  window.Form_LinkExecute(quoted(u"第2集.mkv"));
  EXPECT_EQ(player.media_url, folder.File(u"a.mp4")) << "the first file plays on";
  EXPECT_TRUE(player.calls.empty());
  EXPECT_NE(Ansi(u"date_f.dat").find("第2集.mkv"), std::string::npos);
  host.now_ms += 1900;  // the window slides with each file
  window.Form_LinkExecute(quoted(u"c.avi"));
  EXPECT_EQ(player.media_url, folder.File(u"a.mp4"));
  host.now_ms += 2000;  // a file opened later plays
  window.Form_LinkExecute(quoted(u"d.mp4"));
  EXPECT_EQ(player.media_url, folder.File(u"d.mp4"));
  host.now_ms += 100;  // and so does an address, whenever it comes
  window.Form_LinkExecute(u"http://site/media/x.mp4");
  EXPECT_EQ(player.media_url, u"http://site/media/x.mp4");

  // Several files on one command line: the first plays, the others join the list.
  host.now_ms += 10000;
  window.Form_LinkExecute(quoted(u"e.mp4") + u" " + quoted(u"a.mp4"));
  EXPECT_EQ(player.media_url, folder.File(u"e.mp4"));
  const std::string list = Ansi(u"date_f.dat");
  EXPECT_LT(list.find("e.mp4"), list.find("a.mp4"));
}

}  // namespace
