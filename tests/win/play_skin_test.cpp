// play.exe's skins on the screen: each skin applied at start from config.ini and switched from
// the skin menu, in normal mode, compact mode and maximised. Pictures of each are saved in the
// folder VEXO_ARTIFACTS names; the tests read pixels of the frame off the screen.
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

constexpr wchar_t kMainClass[] = L"VexoPlayMainWindow";

struct SkinColours {
  COLORREF content;  // zz
  COLORREF frame;    // l1
};
constexpr SkinColours kSkins[] = {
    {RGB(201, 235, 167), RGB(152, 217, 87)},
    {RGB(215, 234, 245), RGB(131, 191, 248)},
    {RGB(255, 228, 202), RGB(248, 167, 31)},
    {RGB(240, 191, 209), RGB(231, 100, 139)},
};

std::string Hex(COLORREF c) {
  char text[16];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

class PlaySkins : public testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(fs::path(TestProgramFolder()) / "play.exe", folder.path() / "play.exe");
    ASSERT_TRUE(WindowsOfClass(kMainClass).empty());
    if (const char* artifacts = std::getenv("VEXO_ARTIFACTS")) {
      artifacts_ = artifacts;
      fs::create_directories(artifacts_);
    }
  }
  void StartWithSkin(int skin) {
    std::ofstream(folder.path() / "config.ini", std::ios::binary)
        << "[Skin]\r\nNum=" << skin << "\r\n[S_q]\r\nts=1\r\nquit=1\r\n";
    const std::string base = site.Url("/soft/");
    app = std::make_unique<ChildProcess>((folder.path() / "play.exe").wstring(), L"", folder.path().wstring(),
                                         std::vector<std::pair<std::wstring, std::wstring>>{
                                             {L"PLAY_CONTENT_BASE", std::wstring(base.begin(), base.end())}});
    main = app->WaitWindow(kMainClass, 30s);
    ASSERT_TRUE(main);
    for (int i = 0; i < 400 && !FindPaneList(main, L"Web1"); ++i) std::this_thread::sleep_for(50ms);
    Settle();
  }
  // Lets the window paint what the last step changed.
  static void Settle() { std::this_thread::sleep_for(1500ms); }
  void Close() {
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(app->WaitExit(15s), 0u);
  }
  // A click on a drawn control of the window, found by its text or tool tip.
  void Click(const std::wstring& name) {
    // From the header's empty part, so that no balloon (which carries a button's name) is up.
    MoveMouseTo(main, POINT{120, 12});
    std::this_thread::sleep_for(200ms);
    const std::optional<DrawnControl> control = DrawnControlStartingWith(main, name);
    ASSERT_TRUE(control) << "no control " << std::string(name.begin(), name.end());
    ClickWithMouse(*control);
  }
  // The window on the screen, saved as `name` among the artifacts.
  ScreenShot Shoot(const std::string& name) {
    const RECT r = WindowRect(main);
    ScreenShot shot(r);
    if (!artifacts_.empty()) shot.Save(artifacts_ / (name + ".bmp"));
    return shot;
  }
  // The corner outside the rounded region shows what is behind the window.
  void ExpectRoundedCorners(const ScreenShot& shot, COLORREF frame_colour, long width, long height) {
    EXPECT_NE(shot.At(0, 0), frame_colour);
    EXPECT_NE(shot.At(width - 1, 0), frame_colour);
    EXPECT_EQ(shot.At(0, 0), shot.At(width - 1, height - 1));  // both the desktop
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(main, region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, width / 2, height / 2));
    DeleteObject(region);
  }
  // The content colour above the side panel's grip and the frame colour of the content stack.
  void ExpectSkinColours(const ScreenShot& shot, int skin, long width, long height) {
    const long zz_width = width - 8, zz_height = height - 90;
    const long grip_left = zz_width - 168, grip_top = (zz_height - 90) / 2;
    EXPECT_EQ(Hex(shot.At(4 + grip_left + 3, 64 + grip_top - 4)), Hex(kSkins[skin].content)) << "skin " << skin;
    EXPECT_EQ(Hex(shot.At(4, 64 + 100)), Hex(kSkins[skin].frame)) << "skin " << skin;
  }

  // Pure black is what a window's surface holds where nothing was painted: a resize leaves no
  // more of it than the window showed before.
  static int BlackPixels(const ScreenShot& shot, long width, long height) {
    int black = 0;
    for (long y = 0; y < height; ++y) {
      for (long x = 0; x < width; ++x) black += shot.At(x, y) == RGB(0, 0, 0);
    }
    return black;
  }
  // The catalogue's list below its rows is blank: what a resize uncovered was painted again,
  // and no edge of an earlier size is left behind in it.
  void ExpectCatalogueBlankBelowRows(const ScreenShot& shot) {
    const HWND list = FindPaneList(main, L"Web1");
    ASSERT_TRUE(list);
    RECT seen{};
    GetWindowRect(list, &seen);
    for (HWND up = GetParent(list); up && up != main; up = GetParent(up)) {
      RECT outer{};
      GetWindowRect(up, &outer);
      IntersectRect(&seen, &seen, &outer);
    }
    const RECT window = WindowRect(main);
    OffsetRect(&seen, -window.left, -window.top);
    const long rows_bottom = seen.top + 20 * static_cast<long>(SendMessageW(list, LB_GETCOUNT, 0, 0)) + 2;
    ASSERT_GT(seen.bottom - rows_bottom, 100) << "the list shows too little below its rows to judge";
    int stains = 0;
    for (long y = rows_bottom; y < seen.bottom; ++y) {
      for (long x = seen.left; x < seen.right; ++x) stains += shot.At(x, y) != RGB(255, 255, 255);
    }
    EXPECT_EQ(stains, 0) << "pixels that are not the list's white below its rows";
  }

  SiteClient site;
  TestFolder folder;
  fs::path artifacts_;
  std::unique_ptr<ChildProcess> app;
  HWND main = nullptr;
};

TEST_F(PlaySkins, EachSkinInNormalCompactAndMaximisedMode) {
  for (int skin = 0; skin < 4; ++skin) {
    SCOPED_TRACE("skin " + std::to_string(skin));
    StartWithSkin(skin);
    if (HasFatalFailure()) return;
    const std::string name = "skin-" + std::to_string(skin);

    RECT r = WindowRect(main);
    const long width = r.right - r.left, height = r.bottom - r.top;
    const ScreenShot normal = Shoot(name + "-normal");
    ExpectSkinColours(normal, skin, width, height);
    ExpectRoundedCorners(normal, kSkins[skin].frame, width, height);
    if (skin == 0) {
      // A border drag with the mouse: the window goes square while it follows the pointer, and
      // is rounded again, at its new size, once the button is up.
      DragWithMouse(main, POINT{width - 2, height - 2}, POINT{width + 58, height + 38});
      Settle();
      const RECT dragged = WindowRect(main);
      EXPECT_EQ(dragged.right - dragged.left, width + 60);
      EXPECT_EQ(dragged.bottom - dragged.top, height + 40);
      const ScreenShot bigger = Shoot(name + "-dragged");
      ExpectSkinColours(bigger, skin, width + 60, height + 40);
      ExpectRoundedCorners(bigger, kSkins[skin].frame, width + 60, height + 40);
      ExpectCatalogueBlankBelowRows(bigger);
      EXPECT_LE(BlackPixels(bigger, width + 60, height + 40), BlackPixels(normal, width, height));
    }

    Click(L"⊙精简模式");
    Settle();
    r = WindowRect(main);
    EXPECT_EQ(r.right - r.left, 5800 / 15);
    EXPECT_EQ(r.bottom - r.top, 4800 / 15);
    const ScreenShot compact = Shoot(name + "-compact");
    ExpectRoundedCorners(compact, kSkins[skin].frame, r.right - r.left, r.bottom - r.top);
    Click(L"x");
    Settle();

    Click(L"最大化");
    Settle();
    r = WindowRect(main);
    const RECT work = WorkArea();
    EXPECT_EQ(r.right - r.left, work.right - work.left);
    const ScreenShot maximised = Shoot(name + "-maximised");
    ExpectSkinColours(maximised, skin, r.right - r.left, r.bottom - r.top);
    Close();
  }
}

TEST_F(PlaySkins, TheSkinMenuSwitchesTheSkinAndStoresIt) {
  StartWithSkin(1);
  if (HasFatalFailure()) return;
  const RECT r = WindowRect(main);
  const long width = r.right - r.left, height = r.bottom - r.top;
  // The pointer over the close button: its hover face and the balloon under it. (Once the
  // banner strip has opened by itself: every command hides the balloon.)
  std::this_thread::sleep_for(2500ms);
  const std::optional<DrawnControl> close = ShownDrawnControlNamed(main, L"关闭");  // the caption's close button
  ASSERT_TRUE(close);
  EXPECT_EQ(close->screen.right - close->screen.left, 33);
  const COLORREF rest = ScreenShot(WindowRect(main)).At(width - 38 + 16, 10);
  // The pointer itself goes there too: the system reports its place again when the button
  // takes the mouse.
  const RECT button = close->screen;
  MoveMouseTo(*close, POINT{5, 5});
  Settle();
  const ScreenShot hover = Shoot("skin-hover");
  EXPECT_NE(hover.At(width - 38 + 16, 10), rest);
  EXPECT_EQ(Hex(hover.At(width - 38 - 5 + 2, 19 + 3 + 2)), Hex(RGB(255, 255, 225)));
  MoveMouseToScreen(POINT{button.left - 200, button.top + 200});  // away: captured, so still reported
  Settle();
  EXPECT_EQ(ScreenShot(WindowRect(main)).At(width - 38 + 16, 10), rest);

  // The menu opens at the skin button; the keyboard picks its fourth entry.
  Click(L"换肤");
  ASSERT_TRUE(app->ChooseFromMenu(4));
  Settle();
  ExpectSkinColours(Shoot("skin-menu-switch"), 3, width, height);
  std::ifstream config(folder.path() / "config.ini", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(config)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Num=3"), std::string::npos) << text;
  Close();
}

}  // namespace
