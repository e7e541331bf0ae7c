// play.exe's header and player buttons under a real mouse: the pointer goes onto each button
// (its hover face and balloon, or the system's tool tip, show, and the button takes the mouse),
// then the button is pressed and released, as a user's hand does it.
#include <windows.h>

#include <filesystem>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "tests/shared/test_folder.h"
#include "tests/win/child_process.h"
#include "tests/win/drawn_controls.h"
#include "tests/win/real_input.h"
#include "tests/win/site_client.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(50ms);
  }
  return done();
}

// The drawn control of the window named `text` (its caption, or the tool tip of a picture
// button); of several, the one highest on the screen (the header's 关闭 before the banner
// strip's).
std::optional<DrawnControl> Shown(HWND main, const std::wstring& text) { return ShownDrawnControlNamed(main, text); }

// The shown top-level window of a class that belongs to the process, for a moment.
HWND ShownWindowOf(ChildProcess& app, const wchar_t* window_class) { return app.WaitShownWindow(window_class, 5s); }

// Whether the process shows a tool tip within `limit`. The common controls may register their
// classes under a versioned name ("6.0...!tooltips_class32"), which the plain name ends.
bool ShowsToolTip(const ChildProcess& app, std::chrono::milliseconds limit) {
  return WaitUntil(
      [&] {
        struct Search {
          DWORD process;
          bool shown = false;
        } search{app.id()};
        EnumWindows(
            [](HWND hwnd, LPARAM data) -> BOOL {
              auto& s = *reinterpret_cast<Search*>(data);
              DWORD owner = 0;
              GetWindowThreadProcessId(hwnd, &owner);
              wchar_t name[128] = {};
              GetClassNameW(hwnd, name, 128);
              const std::wstring_view class_name(name);
              constexpr std::wstring_view kToolTip = L"tooltips_class32";
              s.shown = owner == s.process && IsWindowVisible(hwnd) && class_name.size() >= kToolTip.size() &&
                        class_name.substr(class_name.size() - kToolTip.size()) == kToolTip;
              return !s.shown;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.shown;
      },
      limit);
}

class PlayMouse : public testing::Test {
 protected:
  void SetUp() override { fs::copy_file(fs::path(TestProgramFolder()) / "play.exe", folder.path() / "play.exe"); }
  void Start(const std::wstring& argument, const std::string& config = "") {
    if (!config.empty()) folder.Write(u"config.ini", config);
    const std::string base = site.Url("/soft/");
    const std::u16string log = folder.File(u"player.log");
    app = std::make_unique<ChildProcess>((folder.path() / "play.exe").wstring(), argument, folder.path().wstring(),
                                         std::vector<std::pair<std::wstring, std::wstring>>{
                                             {L"PLAY_CONTENT_BASE", std::wstring(base.begin(), base.end())},
                                             {L"VEXO_STANDIN_LOG", std::wstring(log.begin(), log.end())}});
    main = app->WaitWindow(L"VexoPlayMainWindow", 30s);
    ASSERT_TRUE(main);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 30s));
    // The banner strip opens by itself shortly after the start and moves the panel's buttons.
    std::this_thread::sleep_for(2500ms);
    FocusWindow(main);
  }
  void TearDown() override {
    if (app && main && IsWindow(main)) {
      PostMessageW(main, WM_CLOSE, 0, 0);
      EXPECT_TRUE(app->WaitExit(15s));
    }
  }
  // Clicks the drawn control named `text` with the mouse. The pointer first rests on the
  // header's empty part, so that no balloon (whose text is a button's name) is up.
  void Click(const std::wstring& text) {
    MoveMouseTo(main, POINT{120, 12});
    std::this_thread::sleep_for(200ms);
    std::optional<DrawnControl> control;
    ASSERT_TRUE(WaitUntil([&] { return (control = Shown(main, text)).has_value(); }))
        << "no shown control " << std::string(text.begin(), text.end());
    ClickWithMouse(*control);
  }
  bool Logged(const std::string& line) {
    return WaitUntil(
        [&] { return folder.Has(u"player.log") && folder.Read(u"player.log").find(line) != std::string::npos; });
  }
  bool Shows(const std::wstring& text) {
    return WaitUntil([&] { return Shown(main, text).has_value(); });
  }

  SiteClient site;
  TestFolder folder;
  std::unique_ptr<ChildProcess> app;
  HWND main = nullptr;
};

TEST_F(PlayMouse, EveryHeaderButtonAnswersTheMouse) {
  Start(L"");
  if (HasFatalFailure()) return;
  const RECT normal = WindowRect(main);

  Click(L"置顶");
  EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }));
  Click(L"取消置顶");
  EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0; }));

  Click(L"最大化");
  const RECT work = WorkArea();
  EXPECT_TRUE(WaitUntil([&] {
    const RECT r = WindowRect(main);
    return r.left == work.left && r.top == work.top && r.right == work.right && r.bottom == work.bottom;
  }));
  Click(L"还原");
  EXPECT_TRUE(WaitUntil([&] {
    const RECT r = WindowRect(main);
    return r.left == normal.left && r.top == normal.top && r.right == normal.right && r.bottom == normal.bottom;
  }));

  for (const wchar_t* menu_button : {L"换肤", L"菜单"}) {
    Click(menu_button);
    EXPECT_TRUE(ShownWindowOf(*app, L"#32768")) << "no menu from " << (menu_button[0] == L'换' ? "skin" : "menu");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] {
      const HWND menu = FindWindowW(L"#32768", nullptr);
      return !menu || !IsWindowVisible(menu);
    }));
  }

  // The player view brings the compact mode's link; the catalogue takes it away.
  Click(L"正在播放");
  EXPECT_TRUE(Shows(L"⊙精简模式"));
  Click(L"影视大全");
  EXPECT_TRUE(WaitUntil([&] { return !Shown(main, L"⊙精简模式"); }));

  // The side panel: its list tabs, its banner strip and its grip.
  Click(L"本地列表");
  EXPECT_TRUE(Shows(L"∴ 清空列表"));
  Click(L"网络任务");
  EXPECT_TRUE(Shows(L"∴ 清空任务"));
  // The strip's button shares the tab bar's row with the tabs (the header's 关闭 is another).
  const std::optional<DrawnControl> tab = Shown(main, L"网络任务");
  ASSERT_TRUE(tab);
  const auto in_tab_row = [&](const std::wstring& name) -> std::optional<DrawnControl> {
    for (const DrawnControl& c : ShownDrawnControlsNamed(main, name)) {
      if (c.screen.top < tab->screen.bottom && c.screen.bottom > tab->screen.top) return c;
    }
    return std::nullopt;
  };
  const std::wstring strip = in_tab_row(L"打开") ? L"打开" : L"关闭";
  const std::optional<DrawnControl> toggle = in_tab_row(strip);
  ASSERT_TRUE(toggle);
  ClickWithMouse(*toggle);
  EXPECT_TRUE(WaitUntil([&] { return !in_tab_row(strip); })) << "the banner strip's button did not answer";
  Click(L"关闭侧栏");
  EXPECT_TRUE(Shows(L"显示侧栏"));
  Click(L"显示侧栏");
  EXPECT_TRUE(Shows(L"关闭侧栏"));

  Click(L"最小化");
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }));
  ShowWindow(main, SW_RESTORE);  // as the task bar's button does
  ASSERT_TRUE(WaitUntil([&] { return !IsIconic(main); }));
  std::this_thread::sleep_for(500ms);
  FocusWindow(main);

  // Closing means exit here (quit = 1 after the first question).
  WritePrivateProfileStringW(L"S_q", L"ts", L"1", (folder.path() / "config.ini").c_str());
  WritePrivateProfileStringW(L"S_q", L"quit", L"1", (folder.path() / "config.ini").c_str());
  Click(L"关闭");
  EXPECT_EQ(app->WaitExit(15s), 0u);
  main = nullptr;
}

TEST_F(PlayMouse, TheFirstCloseAsksAndAnswerNoEnds) {
  Start(L"", "[S_q]\r\nts=3\r\n");
  if (HasFatalFailure()) return;
  Click(L"关闭");
  HWND question = ShownWindowOf(*app, L"#32770");
  ASSERT_TRUE(question) << "no question";
  FocusWindow(question);
  PressKey('N');  // 否(&N)
  EXPECT_EQ(app->WaitExit(15s), 0u);
  main = nullptr;
}

TEST_F(PlayMouse, EveryPlayerButtonAnswersTheMouse) {
  Start(L"vexo://t/a.rmvb?standin=connect:0,buffer:0,duration:120,download:1");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(Shows(L"暂停")) << "the item does not play";
  Click(L"暂停");
  EXPECT_TRUE(Logged("\r\nPause"));
  Click(L"播放");
  EXPECT_TRUE(Shows(L"暂停"));

  // A control without a balloon of its own shows the system's tool tip while the pointer rests
  // on it, and the tip stays while the played time (a tool tip of its own) ticks on.
  MoveMouseTo(main, POINT{120, 12});
  const std::optional<DrawnControl> grip = Shown(main, L"关闭侧栏");
  ASSERT_TRUE(grip);
  MoveMouseToScreen(POINT{(grip->screen.left + grip->screen.right) / 2, (grip->screen.top + grip->screen.bottom) / 2});
  EXPECT_TRUE(ShowsToolTip(*app, 5s)) << "no tool tip over 关闭侧栏";
  std::this_thread::sleep_for(2500ms);
  EXPECT_TRUE(ShowsToolTip(*app, 0ms)) << "the tool tip went as the time went on";

  Click(L"静音");
  EXPECT_TRUE(Logged("Mute on"));
  Click(L"取消静音");
  EXPECT_TRUE(Logged("Mute off"));

  std::this_thread::sleep_for(1500ms);  // playing (state 3) by now
  Click(L"视频调节");
  EXPECT_TRUE(Logged("ShowVideoAdjust 3"));
  Click(L"全屏");
  EXPECT_TRUE(Logged("FullScreen"));

  Click(L"计划关机");
  EXPECT_TRUE(ShownWindowOf(*app, L"#32768")) << "no shutdown menu";
  PressKey(VK_ESCAPE);
  std::this_thread::sleep_for(300ms);

  Click(L"打开文件");
  HWND dialog = ShownWindowOf(*app, L"#32770");
  EXPECT_TRUE(dialog) << "no open-file dialog";
  if (dialog) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  std::this_thread::sleep_for(500ms);

  Click(L"停止");
  EXPECT_TRUE(Logged("\r\nStop"));
}

}  // namespace
