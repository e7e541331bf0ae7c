// The system's web control as a pane, as far as Wine here has it: it is created, raises the
// before-navigate event (and the cancel holds), and reports that pages do not render, which
// makes the program choose the link-list pane.
#include <windows.h>
#include <ole2.h>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "common/text/utf.h"
#include "play/model/ba1_names.h"
#include "play/win32/web_browser_pane_win32.h"
#include "tests/win/message_pump.h"

namespace {

using namespace std::chrono_literals;

class Recorder final : public BrowserPaneEvents {
 public:
  void BeforeNavigate(ControlName, std::u16string_view address, bool& cancel) override {
    events.push_back("before " + Utf16ToUtf8(address));
    cancel = address.find(u"eebovod://") != std::u16string_view::npos;
  }
  void DownloadBegin(ControlName) override {}
  void DownloadComplete(ControlName) override {}
  void NavigateError(ControlName, std::u16string_view address, long) override {
    events.push_back("error " + Utf16ToUtf8(address));
  }
  void ContextMenu(ControlName, std::u16string_view) override {}
  std::vector<std::string> events;
};

class WebBrowserPaneTest : public testing::Test {
 protected:
  void SetUp() override {
    OleInitialize(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"WebPaneTestWindow";
    RegisterClassW(&wc);
    window = CreateWindowExW(0, L"WebPaneTestWindow", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                             400, 300, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    DestroyWindow(window);
    OleUninitialize();
  }
  HWND window = nullptr;
};

TEST_F(WebBrowserPaneTest, BeforeNavigateFiresAndItsCancelHolds) {
  Recorder events;
  auto pane = WebBrowserPane::Create(window, ba1::Web1, events);
  ASSERT_TRUE(pane);
  MoveWindow(pane->hwnd(), 0, 0, 380, 280, TRUE);
  pane->Navigate(u"eebovod://12-3-4-abc");
  Pump(1500ms);
  ASSERT_FALSE(events.events.empty());
  EXPECT_EQ(events.events.front(), "before eebovod://12-3-4-abc");
  for (const std::string& e : events.events) EXPECT_EQ(e.find("error eebovod"), std::string::npos) << e;
}

TEST_F(WebBrowserPaneTest, PagesDoNotRenderHereSoTheLinkListPaneIsChosen) {
  const auto t0 = std::chrono::steady_clock::now();
  EXPECT_FALSE(WebBrowserRendersPages(kPaneProbeMs));
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(kPaneProbeMs + 2000));
}

}  // namespace
