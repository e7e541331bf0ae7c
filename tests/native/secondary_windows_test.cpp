// The settings window, the tips window, and their entries in the program menu.
#include <gtest/gtest.h>

#include "play/services/settings_window.h"
#include "play/services/tips_window.h"
#include "play/startup/config_store.h"
#include "tests/native/main_window_fixture.h"

namespace {

class SecondaryWindowsTest : public MainWindowFixture {
 protected:
  SecondaryWindowsTest() : MainWindowFixture(u"http://site/soft/") {}
  std::string Config() { return folder.Read(u"config.ini"); }
};

TEST_F(SecondaryWindowsTest, TheCheckBoxesShowTheFileAndOkWritesAllNine) {
  folder.Write(u"config.ini", "[S_q]\r\nquit=0\r\nvexok=1\r\ns_size=2\r\ns_h=7\r\ns_bo=1\r\n");
  SettingsWindow settings(profile, window.config_path());
  settings.Form_Load();
  WindowModel& w = settings.model();
  // Anything but "1" is a mark, a missing key too.
  const bool expected[] = {true, true, false, true, true, true, false, true, true};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(w(ba3::Check1, i).checked, expected[i]) << i;
  EXPECT_TRUE(w(ba3::P1, 0).visible);
  EXPECT_FALSE(w(ba3::P1, 1).visible);
  EXPECT_EQ(w(ba3::d_z, 1).caption, u"\r\n软件设置");

  settings.OnClick({ba3::d_z, 1});
  EXPECT_TRUE(w(ba3::P1, 1).visible);
  EXPECT_EQ(w(ba3::bb).caption, u"软件设置");
  settings.OnClick({ba3::Check1, 6});  // vexok on
  settings.OnClick({ba3::cmdOK, -1});
  EXPECT_TRUE(settings.unload_requested());
  EXPECT_EQ(Config(),
            "[S_q]\r\nquit=2\r\nvexok=2\r\ns_size=2\r\ns_h=2\r\ns_bo=1\r\ns_jd=2\r\ns_jj=2\r\nvexoqi=2\r\ns_pao=2\r\n");
}

TEST_F(SecondaryWindowsTest, TheAboutPageNamesOurOwnPlayerOnlyWhenItPlays) {
  SettingsWindow settings(profile, window.config_path());
  settings.Form_Load();
  EXPECT_FALSE(settings.model()(ba3::Label, 7).visible) << "the maker's control needs no word";
  settings.SetPlayerNote(kOwnPlayerNote);
  EXPECT_TRUE(settings.model()(ba3::Label, 7).visible);
  EXPECT_EQ(settings.model()(ba3::Label, 7).caption, kOwnPlayerNote);
}

TEST_F(SecondaryWindowsTest, CancelClosesWithoutWriting) {
  folder.Write(u"config.ini", "[S_q]\r\nquit=1\r\n");
  SettingsWindow settings(profile, window.config_path());
  settings.Form_Load();
  settings.OnClick({ba3::Check1, 5});
  settings.OnClick({ba3::cmdCancel, -1});
  EXPECT_TRUE(settings.unload_requested());
  EXPECT_EQ(Config(), "[S_q]\r\nquit=1\r\n");
}

TEST(TipsWindowTest, NextCyclesThroughTheSixPagesAndAFreshWindowStartsAtTheFirst) {
  TipsWindow tips;
  std::string counters;
  for (int i = 0; i < 7; ++i) {
    tips.OnClick({tipwin::cmdnext, -1});
    counters += Utf16ToUtf8(tips.model()(tipwin::La, 22).caption);
    int shown = 0;
    for (int page = 0; page < 6; ++page) shown += tips.model()(tipwin::Pi, page).visible ? 1 : 0;
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(tips.model()(tipwin::Pi, tips.page()).visible);
  }
  EXPECT_EQ(counters, "2345612");
  tips.OnClick({tipwin::cmdclose, -1});
  EXPECT_TRUE(tips.unload_requested());
  TipsWindow again;
  EXPECT_EQ(again.page(), 0);
  EXPECT_EQ(again.model()(tipwin::La, 22).caption, u"1");
  EXPECT_TRUE(again.model()(tipwin::Pi, 0).visible);
}

TEST_F(SecondaryWindowsTest, TheProgramMenuShowsTheWindowsWithTheMainWindow) {
  folder.Write(u"config.ini", "");
  window.LoadFirstInstance(u"");
  host.shown = false;  // in the tray
  host.calls.clear();
  host.menu_answers = {1};
  window.TrayIconEvent(0x0205);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"Show", "Settings 0"}));
  // A pinned window is unpinned while the other window appears, then pinned again.
  window.npc_Click(4);
  host.topmost.clear();
  host.calls.clear();
  host.menu_answers = {4};
  window.npc_Click(5);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"Tips"}));
  EXPECT_EQ(host.topmost, (std::vector<bool>{false, true}));
  host.menu_answers = {0};
  window.npc_Click(5);
  EXPECT_EQ(host.calls.back(), "Settings 1");
}

}  // namespace
