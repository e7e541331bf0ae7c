// play.exe's program menu on the tray icon and the windows it opens: the settings window
// (both tabs, a setting applied), and the tips window. Pictures of each go to the folder
// VEXO_ARTIFACTS names.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "tests/shared/test_folder.h"
#include "tests/win/child_process.h"
#include "tests/win/drawn_controls.h"
#include "tests/win/real_input.h"
#include "tests/win/screen_capture.h"
#include "tests/win/site_client.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr UINT kTrayMessage = WM_APP + 1;

template <typename Find>
HWND Wait(Find find) {
  for (int i = 0; i < 100; ++i) {
    if (HWND found = find()) return found;
    std::this_thread::sleep_for(50ms);
  }
  return nullptr;
}

class PlayWindows : public testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(fs::path(TestProgramFolder()) / "play.exe", folder.path() / "play.exe");
    if (const char* artifacts = std::getenv("VEXO_ARTIFACTS")) {
      artifacts_ = artifacts;
      fs::create_directories(artifacts_);
    }
    const std::string base = site.Url("/soft/");
    app = std::make_unique<ChildProcess>((folder.path() / "play.exe").wstring(), L"", folder.path().wstring(),
                                         std::vector<std::pair<std::wstring, std::wstring>>{
                                             {L"PLAY_CONTENT_BASE", std::wstring(base.begin(), base.end())}});
    main = app->WaitWindow(L"VexoPlayMainWindow", 30s);
    ASSERT_TRUE(main);
    for (int i = 0; i < 400 && !FindPaneList(main, L"Web1"); ++i) std::this_thread::sleep_for(50ms);
  }
  void TearDown() override {
    if (main) PostMessageW(main, WM_CLOSE, 0, 0);
    if (app) {
      EXPECT_EQ(app->WaitExit(15s), 0u);
    }
  }
  void Shoot(HWND window, const std::string& name) {
    std::this_thread::sleep_for(800ms);
    if (!artifacts_.empty()) ScreenShot(WindowRect(window)).Save(artifacts_ / (name + ".bmp"));
  }
  // Opens the tray icon's menu and picks the entry `downs` steps down.
  void TrayMenu(int downs, const std::string& picture = "") {
    PostMessageW(main, kTrayMessage, 0, WM_RBUTTONUP);
    if (!picture.empty()) {
      HWND menu = app->WaitShownWindow(L"#32768", 10s);
      ASSERT_TRUE(menu);
      Shoot(menu, picture);
    }
    ASSERT_TRUE(app->ChooseFromMenu(downs));
  }
  HWND Secondary(const wchar_t* caption) {
    return Wait([caption]() -> HWND {
      HWND found = FindWindowW(L"VexoPlaySecondaryWindow", caption);
      return found && IsWindowVisible(found) ? found : nullptr;
    });
  }
  static void Click(const std::optional<DrawnControl>& control) {
    ASSERT_TRUE(control);
    ClickWithMouse(*control, POINT{3, 3});
    std::this_thread::sleep_for(300ms);
  }
  static bool Shows(HWND window, const std::wstring& start) {
    const std::optional<DrawnControl> control = DrawnControlStartingWith(window, start);
    return control && control->shown;
  }
  std::string Config() {
    std::ifstream in(folder.path() / "config.ini", std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  SiteClient site;
  TestFolder folder;
  fs::path artifacts_;
  std::unique_ptr<ChildProcess> app;
  HWND main = nullptr;
};

TEST_F(PlayWindows, TheSettingsWindowOpensFromTheTrayAndAppliesASetting) {
  PostMessageW(main, kTrayMessage, 0, WM_LBUTTONUP);  // hidden to the tray
  for (int i = 0; i < 40 && IsWindowVisible(main); ++i) std::this_thread::sleep_for(50ms);
  ASSERT_FALSE(IsWindowVisible(main));
  TrayMenu(2, "tray-menu");  // 关于我们
  HWND settings = Secondary(L"软件设置");
  ASSERT_TRUE(settings);
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(GetWindow(settings, GW_OWNER), main);
  Shoot(settings, "settings-about");

  Click(DrawnControlStartingWith(settings, L"\r\n软件设置"));
  const std::optional<DrawnControl> balloons = DrawnControlStartingWith(settings, L"托盘显示气泡提示");
  ASSERT_TRUE(balloons);
  ASSERT_TRUE(balloons->shown);
  Shoot(settings, "settings-options");
  Click(balloons);
  Click(DrawnControlStartingWith(settings, L"应用"));
  EXPECT_NE(Config().find("s_pao=1"), std::string::npos) << Config();
  EXPECT_NE(Config().find("quit=2"), std::string::npos) << Config();
  Click(DrawnControlStartingWith(settings, L"确定"));
  EXPECT_FALSE(IsWindowVisible(settings));
}

TEST_F(PlayWindows, TheTipsWindowStepsThroughItsPages) {
  TrayMenu(4);  // 帮助提示
  HWND tips = Secondary(L"帮助提示");
  ASSERT_TRUE(tips);
  Shoot(tips, "tips");
  EXPECT_TRUE(Shows(tips, L"绮映盒影视可以播放本机影音文件了"));
  Click(DrawnControlStartingWith(tips, L"下一条"));
  EXPECT_FALSE(Shows(tips, L"绮映盒影视可以播放本机影音文件了"));
  EXPECT_TRUE(Shows(tips, L"影片播放时，可以用键盘方向键"));
  // Its keys: N for the next page, Esc to close.
  PostMessageW(tips, WM_KEYDOWN, 'N', 0);
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(Shows(tips, L"鼠标放到软件边框上"));
  PostMessageW(tips, WM_KEYDOWN, VK_ESCAPE, 0);
  std::this_thread::sleep_for(300ms);
  EXPECT_FALSE(IsWindowVisible(tips));
}

TEST_F(PlayWindows, TheCatalogueGetsTheProgramsMenuAndTheLocalListNone) {
  HWND catalogue = FindPaneList(main, L"Web1");
  ASSERT_TRUE(catalogue);
  RECT row{};
  SendMessageW(catalogue, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  POINT at{row.left + 5, row.top + 5};
  ClientToScreen(catalogue, &at);
  PostMessageW(GetParent(catalogue), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(catalogue), MAKELPARAM(at.x, at.y));
  HWND menu = app->WaitShownWindow(L"#32768", 10s);
  ASSERT_TRUE(menu);
  Shoot(menu, "catalogue-menu");
  PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  for (int i = 0; i < 40 && IsWindowVisible(menu); ++i) std::this_thread::sleep_for(50ms);

  HWND local = FindPaneList(main, L"Web4");
  if (!local) return;  // the local list's pane is made when first shown
  PostMessageW(GetParent(local), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(local), MAKELPARAM(at.x, at.y));
  EXPECT_FALSE(app->WaitShownWindow(L"#32768", 1s));
}

}  // namespace
