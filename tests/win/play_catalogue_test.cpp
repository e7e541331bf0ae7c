// play.exe against the catalogue of the content site: a click in the catalogue plays the item,
// the history records it, and at its end the next episode plays on its own.
#include <windows.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include <gtest/gtest.h>

#include "common/codepage.h"
#include "common/text/utf.h"
#include "tests/shared/test_folder.h"
#include "tests/win/child_process.h"
#include "tests/win/drawn_controls.h"
#include "tests/win/ole_drag.h"
#include "tests/win/real_input.h"
#include "tests/win/screen_capture.h"
#include "tests/win/site_client.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class PlayCatalogue : public testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(fs::path(TestProgramFolder()) / "play.exe", folder.path() / "play.exe");
    ASSERT_TRUE(WindowsOfClass(L"VexoPlayMainWindow").empty());
  }
  std::unique_ptr<ChildProcess> Start(const std::string& base) {
    const std::u16string player_log = folder.File(u"player.log"), event_log = folder.File(u"events.log");
    return std::make_unique<ChildProcess>(
        (folder.path() / "play.exe").wstring(), L"", folder.path().wstring(),
        std::vector<std::pair<std::wstring, std::wstring>>{
            {L"VEXO_STANDIN_LOG", std::wstring(player_log.begin(), player_log.end())},
            {L"VEXO_PLAYER_LOG", std::wstring(player_log.begin(), player_log.end())},
            {L"VEXO_PLAY_EVENT_LOG", std::wstring(event_log.begin(), event_log.end())},
            {L"PLAY_CONTENT_BASE", std::wstring(base.begin(), base.end())}});
  }
  // play.exe against the site, once its catalogue lists its rows; the catalogue's tab is found
  // then, so that going back to it later takes a user's time, not a search's.
  struct Shown {
    std::unique_ptr<ChildProcess> app;
    HWND main = nullptr;
    HWND catalogue = nullptr;
    std::optional<DrawnControl> catalogue_tab;
  };
  Shown ShowCatalogue() {
    Shown shown{Start(site.Url("/soft/"))};
    shown.main = shown.app->WaitWindow(L"VexoPlayMainWindow", 30s);
    if (shown.main) shown.catalogue = PaneList(shown.main, L"Web1", 5);
    if (shown.catalogue) shown.catalogue_tab = ShownDrawnControlNamed(shown.main, L"影视大全");
    return shown;
  }
  // Back to the catalogue, as a user goes there from the player view: its tab, clicked.
  static void BackToTheCatalogue(const Shown& shown) {
    MoveMouseTo(shown.main, POINT{120, 12});  // no balloon up
    if (shown.catalogue_tab) ClickWithMouse(*shown.catalogue_tab);
    for (int i = 0; i < 100 && !IsWindowVisible(shown.catalogue); ++i) std::this_thread::sleep_for(50ms);
  }
  // No error balloon was shown, and the program ends cleanly when closed.
  void ExpectNoErrorAndClose(Shown& shown) {
    EXPECT_EQ(folder.Read(u"events.log").find("出错"), std::string::npos) << folder.Read(u"events.log");
    PostMessageW(shown.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(shown.app->WaitExit(15s), 0u);
  }
  // The row list of a pane, once the pane shows at least `rows` rows.
  static HWND PaneList(HWND main, const wchar_t* pane, int rows) {
    for (int i = 0; i < 400; ++i) {
      HWND found = FindPaneList(main, pane);
      if (found && SendMessageW(found, LB_GETCOUNT, 0, 0) >= rows) return found;
      std::this_thread::sleep_for(50ms);
    }
    return nullptr;
  }
  // `text` in the file, past its first `from` bytes.
  bool WaitFor(std::u16string_view file, const std::string& text, std::chrono::milliseconds limit,
               std::size_t from = 0) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      if (folder.Has(file) && folder.Read(file).find(text, from) != std::string::npos) return true;
      std::this_thread::sleep_for(100ms);
    }
    return false;
  }

  SiteClient site;
  TestFolder folder;
};

TEST_F(PlayCatalogue, ACatalogueClickPlaysAndTheNextEpisodeFollowsOnItsOwn) {
  auto app = Start(site.Url("/soft/"));
  HWND main = app->WaitWindow(L"VexoPlayMainWindow", 30s);
  ASSERT_TRUE(main);
  HWND catalogue = PaneList(main, L"Web1", 5);
  ASSERT_TRUE(catalogue) << "the catalogue never showed";
  ClickListRow(catalogue, 1);  // 长安夜行, a series of three episodes
  ASSERT_TRUE(WaitFor(u"player.log", "MediaUrl vexo://demo/201-1.rmvb", 20s)) << folder.Read(u"player.log");
  EXPECT_TRUE(
      WaitFor(u"date.dat", "201|%u957F%u5B89%u591C%u884C|" + ToAnsi(u"第1集") + "|vexo%3A//demo/201-1.rmvb", 10s))
      << folder.Read(u"date.dat");
  EXPECT_TRUE(WaitFor(u"c.htm", ToAnsi(u"·长安夜行"), 10s));
  // Past 601 per mille the next episode is fetched ahead, and at the end it plays by itself.
  EXPECT_TRUE(WaitFor(u"player.log", "Prebuffer vexo://demo/201-2.rmvb", 20s)) << folder.Read(u"player.log");
  EXPECT_TRUE(WaitFor(u"player.log", "MediaUrl vexo://demo/201-2.rmvb", 30s)) << folder.Read(u"player.log");
  EXPECT_TRUE(WaitFor(u"events.log", "balloon 开始缓冲下一集！", 5s)) << folder.Read(u"events.log");
  EXPECT_TRUE(WaitFor(u"events.log", "balloon 正在准备播放下一集！", 5s)) << folder.Read(u"events.log");
  EXPECT_TRUE(
      WaitFor(u"date.dat", "201|%u957F%u5B89%u591C%u884C|" + ToAnsi(u"第2集") + "|vexo%3A//demo/201-2.rmvb", 10s))
      << folder.Read(u"date.dat");
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app->WaitExit(15s), 0u);
}

TEST_F(PlayCatalogue, AnUnreachableSiteShowsTheErrorText) {
  auto app = Start("http://127.0.0.1:1/soft/");
  HWND main = app->WaitWindow(L"VexoPlayMainWindow", 30s);
  ASSERT_TRUE(main);
  std::wstring text;
  for (int i = 0; i < 200 && text.empty(); ++i) {
    text = DrawnControlText(main, L"Error！出错了");
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_EQ(text.rfind(L"Error！出错了\r\n\r\n1.请检查你的网络连接", 0), 0u);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app->WaitExit(15s), 0u);
}

// The same program against a site whose h.asp answers after 1.5 s (its own ctest entry), so
// that requests overlap as they do on a slow network.
using PlayOverlap = PlayCatalogue;

TEST_F(PlayOverlap, OfTwoClicksTheLastOnePlays) {
  Shown shown = ShowCatalogue();
  ASSERT_TRUE(shown.catalogue) << "the catalogue never showed";
  HWND catalogue = shown.catalogue;
  ClickListRow(catalogue, 0);  // 星河彼岸: its answer is on its way when the user changes their mind
  std::this_thread::sleep_for(300ms);
  BackToTheCatalogue(shown);
  ClickListRow(catalogue, 1);  // 长安夜行
  ASSERT_TRUE(WaitFor(u"player.log", "MediaUrl vexo://demo/201-1.rmvb", 20s)) << folder.Read(u"player.log");
  std::this_thread::sleep_for(2s);  // the first answer has long arrived by now
  EXPECT_EQ(folder.Read(u"player.log").find("vexo://demo/101-1"), std::string::npos) << folder.Read(u"player.log");
  ExpectNoErrorAndClose(shown);
}

TEST_F(PlayOverlap, AClickDuringTheNextEpisodeQueryIsNoError) {
  Shown shown = ShowCatalogue();
  ASSERT_TRUE(shown.catalogue) << "the catalogue never showed";
  HWND catalogue = shown.catalogue;
  ClickListRow(catalogue, 1);  // a series: past 601 per mille the monitor asks for episode 2
  bool asked = false;
  for (int i = 0; i < 300 && !asked; ++i) {
    asked = site.TakeRequests().find("h.asp?id=201&v=2&v1=2") != std::string::npos;
    if (!asked) std::this_thread::sleep_for(50ms);
  }
  ASSERT_TRUE(asked) << "the monitor never asked for the next episode";
  BackToTheCatalogue(shown);
  ClickListRow(catalogue, 0);  // while the monitor's question is still unanswered
  EXPECT_TRUE(WaitFor(u"player.log", "MediaUrl vexo://demo/101-1.rmvb", 20s)) << folder.Read(u"player.log");
  std::this_thread::sleep_for(2s);
  ExpectNoErrorAndClose(shown);
}

TEST_F(PlayOverlap, ClosingWhileTheSiteIsSilentEndsCleanly) {
  Shown shown = ShowCatalogue();
  ASSERT_TRUE(shown.catalogue) << "the catalogue never showed";
  HWND main = shown.main, catalogue = shown.catalogue;
  ClickListRow(catalogue, 1);
  std::this_thread::sleep_for(300ms);  // the answer is 1.2 s away
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(shown.app->WaitExit(15s), 0u);
  EXPECT_EQ(folder.Read(u"player.log").find("MediaUrl vexo://demo/201"), std::string::npos);
}

// play.exe where the maker's control is absent and only the product's own control is there
// (its own ctest entry, in a prefix of its own), with the site playing real clips.
using PlayOwnPlayer = PlayCatalogue;

// How many different colours a window shows (a test picture has dozens, a blank one one).
int ColoursShown(const ScreenShot& shot, const RECT& r) {
  std::vector<COLORREF> seen;
  for (long y = 0; y < r.bottom - r.top; y += 7) {
    for (long x = 0; x < r.right - r.left; x += 7) {
      const COLORREF c = shot.At(x, y) & 0xF0F0F0;
      if (std::find(seen.begin(), seen.end(), c) == seen.end()) seen.push_back(c);
    }
  }
  return static_cast<int>(seen.size());
}

TEST_F(PlayOwnPlayer, ACatalogueItemShowsRealPicturesAndTheNextEpisodeFollowsOnItsOwn) {
  Shown shown = ShowCatalogue();
  ASSERT_TRUE(shown.catalogue) << "the catalogue never showed";
  ClickListRow(shown.catalogue, 1);  // 长安夜行, a series of three episodes
  const std::string media = site.Url("/media/");
  ASSERT_TRUE(WaitFor(u"player.log", "MediaUrl " + media + "episode-1.mp4", 20s)) << folder.Read(u"player.log");
  ASSERT_TRUE(WaitFor(u"player.log", "Opened 6000 ms", 20s)) << folder.Read(u"player.log");
  std::this_thread::sleep_for(1500ms);
  const HWND screen = ChildWindowOf(shown.main, L"VexoMediaPlayerScreen");
  ASSERT_TRUE(screen) << "the picture's window is not there";
  const RECT area = WindowRect(screen);
  const ScreenShot first(area);
  std::this_thread::sleep_for(1000ms);
  const ScreenShot second(area);
  EXPECT_GT(ColoursShown(first, area), 12) << "no test picture on the screen";
  int changed = 0;
  for (long y = 0; y < area.bottom - area.top; y += 5) {
    for (long x = 0; x < area.right - area.left; x += 5) changed += first.At(x, y) != second.At(x, y) ? 1 : 0;
  }
  EXPECT_GT(changed, 20) << "the picture does not move";
  if (const char* artifacts = std::getenv("VEXO_ARTIFACTS")) {
    fs::create_directories(artifacts);
    second.Save(fs::path(artifacts) / "own-player-frame.bmp");
  }
  // Past 601 per mille the next episode is fetched ahead, and at the end it plays by itself.
  EXPECT_TRUE(WaitFor(u"player.log", "Prebuffer " + media + "episode-2.mp4", 20s)) << folder.Read(u"player.log");
  EXPECT_TRUE(WaitFor(u"player.log", "MediaUrl " + media + "episode-2.mp4", 30s)) << folder.Read(u"player.log");
  EXPECT_TRUE(WaitFor(u"date.dat", "201|%u957F%u5B89%u591C%u884C|" + ToAnsi(u"第2集") + "|http", 10s))
      << folder.Read(u"date.dat");
  ExpectNoErrorAndClose(shown);
}

// The keyboard's media keys reach the window as WM_APPCOMMAND, wherever the focus is in it:
// play/pause pauses the real clip and lets the display sleep, and goes on again. Then the
// task bar's thumbnail buttons, announced as the shell announces the window's button: their
// clicks reach the window as the shell sends them (this Wine's task bar takes the buttons but
// shows no preview to click them in), and their faces follow the clip.
TEST_F(PlayOwnPlayer, TheMediaKeysAndTheTaskBarsButtonsPauseAndResumeARealClipAndTheDisplayStaysAwakeOnlyWhileItPlays) {
  Shown shown = ShowCatalogue();
  ASSERT_TRUE(shown.catalogue) << "the catalogue never showed";
  ClickListRow(shown.catalogue, 1);
  ASSERT_TRUE(WaitFor(u"player.log", "Opened 6000 ms", 20s)) << folder.Read(u"player.log");
  ASSERT_TRUE(WaitFor(u"events.log", "awake on", 5s)) << folder.Read(u"events.log");
  EXPECT_TRUE(WaitFor(u"events.log", "taskbar pause", 5s)) << folder.Read(u"events.log");
  const auto key = [&](int command) {
    SendMessageW(shown.main, WM_APPCOMMAND, reinterpret_cast<WPARAM>(shown.main), MAKELPARAM(0, command));
  };
  key(APPCOMMAND_MEDIA_PLAY_PAUSE);
  EXPECT_TRUE(WaitFor(u"player.log", "Pause", 5s)) << folder.Read(u"player.log");
  EXPECT_TRUE(WaitFor(u"events.log", "awake off", 5s)) << folder.Read(u"events.log");
  const std::size_t paused_at = folder.Read(u"player.log").size();
  key(APPCOMMAND_MEDIA_PLAY_PAUSE);
  EXPECT_TRUE(WaitFor(u"player.log", "Play ", 5s, paused_at)) << folder.Read(u"player.log");
  EXPECT_TRUE(WaitFor(u"events.log", "awake on", 5s, folder.Read(u"events.log").find("awake off")))
      << folder.Read(u"events.log");

  SendMessageW(shown.main, RegisterWindowMessageW(L"TaskbarButtonCreated"), 0, 0);
  EXPECT_TRUE(WaitFor(u"events.log", "taskbar buttons added", 5s)) << folder.Read(u"events.log");
  const std::size_t playing = folder.Read(u"events.log").size(), resumed_at = folder.Read(u"player.log").size();
  SendMessageW(shown.main, WM_COMMAND, MAKEWPARAM(2, THBN_CLICKED), 0);
  EXPECT_TRUE(WaitFor(u"player.log", "Pause", 5s, resumed_at)) << folder.Read(u"player.log");
  EXPECT_TRUE(WaitFor(u"events.log", "taskbar play", 5s, playing)) << folder.Read(u"events.log");
  ExpectNoErrorAndClose(shown);
}

// Files dragged from another program with the mouse, through the platform's drag and drop
// (an HDROP posted from another process would arrive empty): the first video plays, the
// other joins the local list, and what is no video is refused with a balloon.
TEST_F(PlayOwnPlayer, VideosDraggedOntoTheWindowFromAnotherProgramPlay) {
  const char* clips = std::getenv("VEXO_TEST_CLIPS");
  ASSERT_TRUE(clips) << "VEXO_TEST_CLIPS names no clip folder";
  fs::copy_file(fs::path("Z:" + std::string(clips)) / "clip.mp4", folder.path() / u"第1集.mp4");
  fs::copy_file(fs::path("Z:" + std::string(clips)) / "clip.mkv", folder.path() / "b.mkv");
  folder.Write(u"notes.txt", "x");
  Shown shown = ShowCatalogue();
  ASSERT_TRUE(shown.catalogue) << "the catalogue never showed";
  RECT frame{};
  GetWindowRect(shown.main, &frame);
  OleInitialize(nullptr);
  const DWORD effect =
      DragFilesWithTheMouse({(folder.path() / u"第1集.mp4").wstring(), (folder.path() / "notes.txt").wstring(),
                             (folder.path() / "b.mkv").wstring()},
                            POINT{frame.left + 300, frame.top + 12});
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_TRUE(WaitFor(u"player.log", "MediaUrl " + Utf16ToUtf8(folder.File(u"第1集.mp4")), 10s))
      << folder.Read(u"player.log");
  EXPECT_TRUE(WaitFor(u"player.log", "Opened", 20s)) << folder.Read(u"player.log");
  EXPECT_TRUE(WaitFor(u"events.log", "balloon 不支持的文件", 5s)) << folder.Read(u"events.log");
  EXPECT_TRUE(WaitFor(u"date_f.dat", "b.mkv", 5s)) << folder.Read(u"date_f.dat");
  OleUninitialize();
  ExpectNoErrorAndClose(shown);
}

}  // namespace
