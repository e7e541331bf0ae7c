// VexoTip.exe as its users meet it, on the virtual display; and the item selection suite over
// the platform DOM.
#include <windows.h>

#include <thread>

#include <gtest/gtest.h>

#include "common/win32/com.h"
#include "common/xml/xml_doc_msxml.h"
#include "tests/shared/tip_item_suite.h"
#include "tests/win/real_input.h"
#include "tests/win/tip_process.h"
#include "tip_popup/placement.h"
#include "tip_popup/skin/skin_loader.h"
#include "tip_popup/text_tip_fade.h"
#include "tip_popup/win32/skin_image_win32.h"
#include "tip_popup/win32/tip_environment_win32.h"

// The suite's documents go through MSXML on this (the main) thread for the whole run.
const ComApartment g_com_for_the_suite;

INSTANTIATE_TEST_SUITE_P(Msxml, TipItemSuite,
                         testing::Values(TipBackend{"Msxml", [] { return std::make_unique<Win32TipEnvironment>(); },
                                                    [](const TestFolder& folder) { return folder.Text() + u"\\"; }}),
                         TipBackendName);

namespace {

using namespace std::chrono_literals;

std::string TextTip(const std::string& id, int stick_time = 5) {
  return "<tip id=\"" + id + "\" tiptype=\"1\" ver=\"1\" sticktime=\"" + std::to_string(stick_time) +
         "\" mtitle=\"\xE6\x96\xB0\xE7\x89\x87\xE4\xB8\x8A\xE7\xBA\xBF\" "
         "mcontent=\"\xE4\xBB\x8A\xE6\x99\x9A\xE5\x85\xAB\xE7\x82\xB9\" "
         "clickurl=\"http://example.invalid/\"/>\r\n";
}

std::string Tips(const std::string& items) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<vexotips enable=\"1\">\r\n" + items + "</vexotips>\r\n";
}

TipRect AsTipRect(const RECT& r) { return TipRect{r.left, r.top, r.right, r.bottom}; }

class PopupTest : public testing::Test {
 protected:
  void SetUp() override { TipProcess::Install(folder); }
  // The tip is up once its first fade step has made it visible.
  static bool WaitVisible(HWND hwnd) {
    for (int i = 0; i < 1000 && IsWindow(hwnd); ++i) {
      if (WindowAlpha(hwnd) > 0) return true;
      std::this_thread::sleep_for(5ms);
    }
    return false;
  }
  // Where the shipped skin puts an element, as the popup itself lays it out.
  POINT CentreOf(const std::u16string& id) {
    ComApartment com;
    auto doc = CreateMsxmlDoc(DomProbe::kFourClassesFallback);
    Win32SkinImageLoader images;
    auto skin = LoadSkin(*doc, folder.Text() + u"\\", images, u"", u"");
    if (!skin) return POINT{-1, -1};
    skin->Layout(0, 0, kTextTipWidth, kTextTipHeight);
    const SkinElement* element = skin->Find(id);
    if (!element) return POINT{-1, -1};
    return POINT{(element->rect.left + element->rect.right) / 2, (element->rect.top + element->rect.bottom) / 2};
  }
  static void Click(HWND hwnd, POINT at) { ClickWithMouse(hwnd, at); }
  // The opacities a window goes through until it is gone or `limit` has passed.
  static std::vector<int> AlphaSteps(HWND hwnd, std::chrono::milliseconds limit) {
    std::vector<int> steps;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (IsWindow(hwnd) && std::chrono::steady_clock::now() < end) {
      const int alpha = WindowAlpha(hwnd);
      if (alpha >= 0 && (steps.empty() || steps.back() != alpha)) steps.push_back(alpha);
      std::this_thread::sleep_for(3ms);
    }
    return steps;
  }

  TestFolder folder;
};

TEST_F(PopupTest, TextTipsTakeTheCornerAndStackUpward) {
  folder.Write(u"VexoTips.xml", Tips(TextTip("a") + TextTip("b")));
  TipProcess first(folder, L"a");
  HWND one = first.WaitWindow(L"VexoTipClass", 10s);
  ASSERT_TRUE(one);
  ASSERT_TRUE(WaitVisible(one));
  const TipRect work = AsTipRect(WorkArea());
  EXPECT_EQ(AsTipRect(WindowRect(one)), TextTipRect(work, std::nullopt));
  wchar_t title[64] = {};
  GetWindowTextW(one, title, 64);
  EXPECT_STREQ(title, L"VexoTipWindow");
  EXPECT_TRUE(GetWindowLongW(one, GWL_EXSTYLE) & WS_EX_TOPMOST) << std::hex << GetWindowLongW(one, GWL_EXSTYLE);
  EXPECT_TRUE(GetWindowLongW(one, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

  TipProcess second(folder, L"B");
  HWND two = second.WaitWindow(L"VexoTipClass", 10s);
  ASSERT_TRUE(two);
  ASSERT_TRUE(WaitVisible(two));
  EXPECT_EQ(AsTipRect(WindowRect(two)), TextTipRect(work, WindowRect(one).top));

  PostMessageW(two, WM_CLOSE, 0, 0);
  PostMessageW(one, WM_CLOSE, 0, 0);
  EXPECT_EQ(second.WaitExit(5s), 0u);
  EXPECT_EQ(first.WaitExit(5s), 0u);
}

TEST_F(PopupTest, FadesInThenClosesWhenItsLifeIsOver) {
  folder.Write(u"VexoTips.xml", Tips(TextTip("7")));
  constexpr int kPeriod = 400;  // seven periods: 2.8 s
  TipProcess tip(folder, L"7", kPeriod);
  HWND hwnd = tip.WaitWindow(L"VexoTipClass", 10s);
  ASSERT_TRUE(hwnd);
  const auto shown = std::chrono::steady_clock::now();
  const std::vector<int> steps = AlphaSteps(hwnd, 10s);
  const auto gone = std::chrono::steady_clock::now();
  ASSERT_FALSE(steps.empty());
  // Every value seen is a step of 25 or the final 255, rising, and the tip did not fade out.
  for (std::size_t i = 0; i < steps.size(); ++i) {
    EXPECT_TRUE(steps[i] % 25 == 0 || steps[i] == 255) << steps[i];
    if (i > 0) {
      EXPECT_GT(steps[i], steps[i - 1]);
    }
  }
  EXPECT_EQ(steps.back(), 255);
  EXPECT_GE(steps.size(), 6u);  // 100 ms apart, so most of the eleven steps are seen
  EXPECT_GT(gone - shown, std::chrono::milliseconds(7 * kPeriod - 300));
  EXPECT_EQ(tip.WaitExit(5s), 0u);
  EXPECT_NE(folder.Read(u"VexoTips.xml").find("sticktime=\"4\""), std::string::npos);
}

TEST_F(PopupTest, CloseFadesOutAndEnds) {
  folder.Write(u"VexoTips.xml", Tips(TextTip("7")));
  TipProcess tip(folder, L"7");
  HWND hwnd = tip.WaitWindow(L"VexoTipClass", 10s);
  ASSERT_TRUE(hwnd);
  while (IsWindow(hwnd) && WindowAlpha(hwnd) < 255) std::this_thread::sleep_for(10ms);
  const POINT close = CentreOf(u"close");
  ASSERT_GE(close.x, 0);
  Click(hwnd, close);
  const std::vector<int> steps = AlphaSteps(hwnd, 5s);
  ASSERT_FALSE(steps.empty());
  EXPECT_LT(steps.back(), 255);  // it went down before it went away
  for (std::size_t i = 1; i < steps.size(); ++i) EXPECT_LT(steps[i], steps[i - 1]);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(tip.WaitExit(5s), 0u);
}

// Points the http scheme's open command at a recorder for the life of the object.
class FakeBrowser {
 public:
  explicit FakeBrowser(const TestFolder& folder) : folder_(folder) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring recorder(path);
    recorder = recorder.substr(0, recorder.rfind(L'\\') + 1) + L"browser_recorder.exe";
    CopyFileW(recorder.c_str(), (folder.path() / "browser_recorder.exe").wstring().c_str(), FALSE);
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    wchar_t old[1024] = {};
    DWORD size = sizeof old;
    if (RegQueryValueExW(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS) {
      old_ = old;
      had_old_ = true;
    }
    const std::wstring command = L"\"" + (folder.path() / "browser_recorder.exe").wstring() + L"\" -registered \"%1\"";
    RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  }
  ~FakeBrowser() {
    if (had_old_) {
      RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(old_.c_str()),
                     static_cast<DWORD>((old_.size() + 1) * sizeof(wchar_t)));
    } else {
      RegDeleteValueW(key_, nullptr);
    }
    RegCloseKey(key_);
  }
  // What the browser was started with, once it was.
  std::string Opened(std::chrono::milliseconds limit) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!folder_.Has(u"opened.txt") && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(20ms);
    std::this_thread::sleep_for(100ms);
    return folder_.Has(u"opened.txt") ? folder_.Read(u"opened.txt") : "<not started>";
  }

 private:
  static constexpr const wchar_t* kKey = L"Software\\Classes\\http\\shell\\open\\command";
  const TestFolder& folder_;
  HKEY key_ = nullptr;
  std::wstring old_;
  bool had_old_ = false;
};

TEST_F(PopupTest, ViewOpensTheLinkAloneInTheRegisteredBrowserAndFadesOut) {
  folder.Write(u"VexoTips.xml",
               Tips("<tip id=\"7\" tiptype=\"1\" ver=\"1\" sticktime=\"5\" mtitle=\"t\" mcontent=\"c\" "
                    "clickurl=\"http://example.invalid/play?id=7&amp;from=tip\"/>\r\n"));
  FakeBrowser browser(folder);
  TipProcess tip(folder, L"7");
  HWND hwnd = tip.WaitWindow(L"VexoTipClass", 10s);
  ASSERT_TRUE(hwnd);
  ASSERT_TRUE(WaitVisible(hwnd));
  const POINT view = CentreOf(u"view");
  ASSERT_GE(view.x, 0);
  Click(hwnd, view);
  // The registered arguments are dropped: the address alone, as it stands.
  EXPECT_EQ(browser.Opened(10s), "http://example.invalid/play?id=7&from=tip");
  EXPECT_EQ(tip.WaitExit(5s), 0u);
}

TEST_F(PopupTest, WithoutAFlashControlAFlashTipEndsAtOnce) {
  folder.Write(u"VexoTips.xml",
               Tips("<tip id=\"f\" tiptype=\"0\" ver=\"1\" sticktime=\"2\" width=\"300\" height=\"200\" "
                    "pos=\"3\" localpath=\"C:\\nowhere\\movie.swf\"/>\r\n"));
  TipProcess tip(folder, L"f");
  EXPECT_EQ(tip.WaitExit(10s), 0u);
  EXPECT_TRUE(WindowsOfClass(L"TipClassSwf").empty());
  EXPECT_NE(folder.Read(u"VexoTips.xml").find("sticktime=\"1\""), std::string::npos);  // the showing counted
}

TEST_F(PopupTest, NothingToShowEndsAtOnce) {
  folder.Write(u"VexoTips.xml", Tips(TextTip("7", 0)));
  for (const wchar_t* argument : {L"", L"7", L"unknown", L"C:\\no\\such\\file.xml"}) {
    TipProcess tip(folder, argument);
    EXPECT_EQ(tip.WaitExit(10s), 0u) << argument;
  }
}

TEST_F(PopupTest, HostileSkinsNeverCrashOrLinger) {
  folder.Write(u"VexoTips.xml", Tips(TextTip("7", 50)));
  std::string deep = "<skin path=\"skin\"><subview image=\"card.bmp\" offsetx=\"0\" offsety=\"0\">";
  for (int i = 0; i < 3000; ++i)
    deep += "<button zorder=\"2147483647\" offsetx=\"-99999999999999\" stretchx=\"1e99\" image=\"close.bmp\">";
  for (int i = 0; i < 3000; ++i) deep += "</button>";
  deep +=
      "<subtext id=\"maintext\" zorder=\"1\" image=\"missing.bmp\"/><window id=\"RICHEDIT_1\" zorder=\"1\" "
      "offsetx=\"-5\" "
      "offsety=\"99999\" stretchx=\"-99999\"/></subview></skin>";
  const std::string cases[] = {"<skin path=\"skin\"><subview image=\"card.bmp\"", "not xml at all", "<skin/>", deep,
                               "<skin path=\"..\\..\\..\\..\\\"><subview image=\"win.ini\" zorder=\"0\"/></skin>"};
  for (const std::string& skin : cases) {
    folder.Write(u"PopMessage.xml", skin);
    TipProcess tip(folder, L"7", 100);
    EXPECT_EQ(tip.WaitExit(15s), 0u) << skin.substr(0, 60);
  }
}

}  // namespace
