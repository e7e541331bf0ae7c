// The built-in link-list pane against the content site and local files.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "common/text/utf.h"
#include "play/model/ba1_names.h"
#include "play/win32/link_list_pane_win32.h"
#include "play/win32/pane_set_win32.h"
#include "tests/shared/test_folder.h"
#include "tests/win/child_process.h"
#include "tests/win/message_pump.h"
#include "tests/win/site_client.h"

namespace {

using namespace std::chrono_literals;

class Recorder final : public BrowserPaneEvents {
 public:
  void BeforeNavigate(ControlName pane, std::u16string_view address, bool& cancel) override {
    events.push_back("before " + Utf16ToUtf8(address));
    cancel = address.find(u"eebovod://") != std::u16string_view::npos;
  }
  void DownloadBegin(ControlName) override { events.push_back("begin"); }
  void DownloadComplete(ControlName) override {
    events.push_back("complete");
    ++completed;
  }
  void NavigateError(ControlName, std::u16string_view address, long status) override {
    events.push_back("error " + std::to_string(status) + " " + Utf16ToUtf8(address));
  }
  void ContextMenu(ControlName, std::u16string_view link) override { events.push_back("menu " + Utf16ToUtf8(link)); }
  std::vector<std::string> events;
  int completed = 0;
};

class LinkListPaneTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"PaneTestWindow";
    RegisterClassW(&wc);
    window = CreateWindowExW(0, L"PaneTestWindow", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 400, nullptr,
                             nullptr, nullptr, nullptr);
    pane = std::make_unique<LinkListPane>(window, ba1::Web1, events);
    MoveWindow(pane->hwnd(), 0, 0, 280, 380, TRUE);
    ShowWindow(pane->hwnd(), SW_SHOW);
  }
  void TearDown() override {
    pane.reset();
    DestroyWindow(window);
  }
  // Pumps messages until `count` loads have completed.
  bool WaitLoads(int count, std::chrono::seconds limit = 10s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (events.completed < count && std::chrono::steady_clock::now() < end) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      std::this_thread::sleep_for(5ms);
    }
    return events.completed >= count;
  }

  SiteClient site;
  Recorder events;
  HWND window = nullptr;
  std::unique_ptr<LinkListPane> pane;
};

TEST_F(LinkListPaneTest, ListsAPagesLinksAndFollowsThemWithHistory) {
  site.Put("/soft/index.htm",
           "<html><title>\xE7\x89\x87\xE5\xBA\x93</title><a href='eebovod://12-1-1-x'>\xE6\x98\x9F\xE6\xB2\xB3</a>"
           "<a href=list/tv.htm>TV</a></html>");
  site.Put("/soft/list/tv.htm", "<a href=../index.htm>home</a>");
  // An empty page is the pane's own ground: the list comes with the first links, at the pane's size.
  pane->Navigate(u"about:blank");
  ASSERT_TRUE(WaitLoads(1));
  EXPECT_EQ(GetWindow(pane->hwnd(), GW_CHILD), nullptr);
  pane->Navigate(Utf8ToUtf16(site.Url("/soft/index.htm")));
  ASSERT_TRUE(WaitLoads(2));
  RECT list_size{};
  GetClientRect(GetWindow(pane->hwnd(), GW_CHILD), &list_size);
  EXPECT_EQ(list_size.bottom, 380);
  EXPECT_EQ(pane->page().title, u"片库");
  ASSERT_EQ(pane->page().links.size(), 2u);
  EXPECT_EQ(pane->page().links[0].text, u"星河");
  EXPECT_EQ(pane->page().links[1].href, Utf8ToUtf16(site.Url("/soft/list/tv.htm")));
  EXPECT_EQ(SendMessageW(GetWindow(pane->hwnd(), GW_CHILD), LB_GETCOUNT, 0, 0), 2);
  // Each row's text is there for screen readers, as the system's list reports it.
  wchar_t row_text[64] = {};
  SendMessageW(GetWindow(pane->hwnd(), GW_CHILD), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(row_text));
  EXPECT_STREQ(row_text, L"星河");

  // A click on a row: the host sees the address first and may keep the pane where it is.
  HWND list = GetWindow(pane->hwnd(), GW_CHILD);
  ClickListRow(list, 0);
  ASSERT_TRUE(PumpUntil([&] { return events.events.back() == "before eebovod://12-1-1-x"; }, 5s));
  EXPECT_EQ(pane->LocationUrl(), Utf8ToUtf16(site.Url("/soft/index.htm")));

  ClickListRow(list, 1);
  ASSERT_TRUE(WaitLoads(3));
  EXPECT_EQ(pane->LocationUrl(), Utf8ToUtf16(site.Url("/soft/list/tv.htm")));
  pane->GoBack();
  ASSERT_TRUE(WaitLoads(4));
  EXPECT_EQ(pane->LocationUrl(), Utf8ToUtf16(site.Url("/soft/index.htm")));
  pane->GoForward();
  ASSERT_TRUE(WaitLoads(5));
  EXPECT_EQ(pane->LocationUrl(), Utf8ToUtf16(site.Url("/soft/list/tv.htm")));
}

TEST_F(LinkListPaneTest, ErrorsAreReportedAndFilesLoadDirectly) {
  pane->Navigate(Utf8ToUtf16(site.Url("/soft/missing.htm")));
  ASSERT_TRUE(WaitLoads(1));
  EXPECT_EQ(events.events[2], "error 404 " + site.Url("/soft/missing.htm"));

  pane->Navigate(u"http://127.0.0.1:1/soft/");
  ASSERT_TRUE(WaitLoads(2));
  EXPECT_EQ(events.events[6].rfind("error ", 0), 0u) << events.events[6];

  TestFolder folder;
  folder.Write(u"c.htm",
               "<a href=open://1>\xB5\xDA"
               "1</a>");  // a list page in code page 936
  pane->Navigate(folder.File(u"c.htm"));
  ASSERT_TRUE(WaitLoads(3));
  ASSERT_EQ(pane->page().links.size(), 1u);
  EXPECT_EQ(pane->page().links[0].text, u"第1");

  pane->Navigate(u"ftp://example.invalid/");
  ASSERT_TRUE(WaitLoads(4));
  EXPECT_EQ(events.events.at(events.events.size() - 2), "error -2146697203 ftp://example.invalid/");
}

// As the system's browser keeps its zones apart: a page of the web cannot open this
// computer's files or a share; and a local page is read as a page (bounded, never a device),
// away from the window's thread.
TEST_F(LinkListPaneTest, AWebPageOpensNoLocalFileAndLocalPagesAreReadAsPages) {
  const char* local[] = {"file:///Z:/dev/zero", "C:\\windows\\win.ini", "file://///127.0.0.1/share/x",
                         "\\\\127.0.0.1\\share\\x", "FILE:///C:/windows/win.ini"};
  std::string page = "<html>";
  for (const char* href : local) page += std::string("<a href='") + href + "'>x</a>";
  page += "<a href='eebovod://1-1-1-x'>play</a></html>";
  site.Put("/soft/zone.htm", page);
  pane->Navigate(Utf8ToUtf16(site.Url("/soft/zone.htm")));
  ASSERT_TRUE(WaitLoads(1));
  HWND list = GetWindow(pane->hwnd(), GW_CHILD);
  ASSERT_EQ(pane->page().links.size(), std::size(local) + 1);
  for (int row = 0; row < static_cast<int>(std::size(local)); ++row) ClickListRow(list, row);
  ClickListRow(list, static_cast<int>(std::size(local)));  // the last row: a private link, seen
  // The last web link clicked may still finish loading after it: the private link is looked
  // for among all the events.
  ASSERT_TRUE(PumpUntil(
      [&] {
        return std::find(events.events.begin(), events.events.end(), "before eebovod://1-1-1-x") != events.events.end();
      },
      5s));
  // What the pane went to is the web (a "\\\\host" link of a web page is the web's too), or the
  // private link the host cancels.
  for (const std::string& event : events.events) {
    if (event.rfind("before ", 0) == 0) {
      EXPECT_TRUE(event.rfind("before http://", 0) == 0 || event.rfind("before eebovod://", 0) == 0) << event;
    }
  }

  // The program itself may open a local page, but a device or a folder is no page. A blank
  // page first: the last web link clicked may still be loading, and is given up by it, so that
  // each load counted below is the one just asked for.
  pane->Navigate(u"about:blank");
  int loads = events.completed;
  TestFolder folder;
  for (const std::u16string& address :
       {std::u16string(u"Z:\\dev\\zero"), std::u16string(u"\\\\.\\NUL"), folder.Text() + u"\\CON", folder.Text()}) {
    const auto started = std::chrono::steady_clock::now();
    pane->Navigate(address);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 500ms) << Utf16ToUtf8(address);  // the window goes on
    ASSERT_TRUE(WaitLoads(++loads, 5s)) << Utf16ToUtf8(address);
    EXPECT_EQ(events.events.at(events.events.size() - 2).rfind("error ", 0), 0u) << events.events.back();
  }
}

// A server that accepts and never answers: the pane gives up after its time-out and says so,
// instead of waiting for as long as the server holds the connection.
TEST_F(LinkListPaneTest, AServerThatNeverAnswersEndsInAnError) {
  const std::string silent = site.Url("/bad/silent/soft/index.htm");
  pane->Navigate(Utf8ToUtf16(silent));
  ASSERT_TRUE(WaitLoads(1, 25s));
  // Windows says ERROR_INTERNET_TIMEOUT, Wine ERROR_INTERNET_CONNECTION_ABORTED.
  const std::string& error = events.events.at(events.events.size() - 2);
  EXPECT_TRUE(error == "error 12002 " + silent || error == "error 12030 " + silent) << error;
}

}  // namespace

// While the window starts, a pane that is not showing keeps the last address it is sent to and
// loads it once released, or as soon as it shows or is refreshed; a showing pane loads at once,
// and nothing is held after the release.
TEST(PaneSetHold, HiddenPanesAreMadeAndLoadOnlyTheirLastAddressOnceReleasedShownOrRefreshed) {
  struct Names final : BrowserPaneEvents {
    void BeforeNavigate(ControlName pane, std::u16string_view address, bool&) override {
      loads.push_back(Utf16ToUtf8(pane.text()) + " " + Utf16ToUtf8(address));
    }
    void DownloadBegin(ControlName) override {}
    void DownloadComplete(ControlName) override {}
    void NavigateError(ControlName, std::u16string_view, long) override {}
    void ContextMenu(ControlName, std::u16string_view) override {}
    std::vector<std::string> loads;
  } events;
  const HWND window =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
  {
    PaneSet panes(PaneKind::kLinkList, events);
    // A pane in a hidden container is visible itself but does not show.
    const auto place = [&](ControlName name, bool showing) {
      Control control;
      control.id.name = name;
      control.kind = ControlKind::kWebBrowser;
      control.width = control.height = 100;
      control.visible = true;
      panes.Place(control, window, showing);
    };
    const auto made = [&] {
      std::string names;
      for (ControlName name : {ba1::Web1, ba1::Web3, ba1::Web4, ba1::Web5, ba1::Web6}) {
        if (panes.Find(name.text())) names += Utf16ToUtf8(name.text()) + " ";
      }
      return names;
    };
    panes.HoldHiddenNavigations();
    place(ba1::Web1, true);
    for (ControlName hidden : {ba1::Web3, ba1::Web4, ba1::Web5, ba1::Web6}) place(hidden, false);
    EXPECT_EQ(made(), "Web1 ");
    panes.Navigate(ba1::Web1, u"about:blank");
    panes.Navigate(ba1::Web3, u"x-first:");
    panes.Navigate(ba1::Web3, u"x-last:");
    panes.Navigate(ba1::Web4, u"x-four:");
    panes.Navigate(ba1::Web5, u"x-five:");
    EXPECT_EQ(events.loads, std::vector<std::string>{"Web1 about:blank"});

    place(ba1::Web4, true);
    panes.LoadHeldShowing();
    panes.Refresh(ba1::Web5);
    EXPECT_EQ(made(), "Web1 Web4 Web5 ");
    panes.ReleaseHeldNavigations();
    EXPECT_EQ(made(), "Web1 Web3 Web4 Web5 Web6 ") << "every pane is made at the release, sent somewhere or not";
    panes.Navigate(ba1::Web3, u"x-after:");
    EXPECT_EQ(events.loads, (std::vector<std::string>{
                                "Web1 about:blank", "Web4 x-four:", "Web5 x-five:", "Web3 x-last:", "Web3 x-after:"}));
    EXPECT_EQ(panes.addresses().at(u"Web3"), u"x-after:");
    RECT place_of_six{};
    GetWindowRect(panes.Find(ba1::Web6.text())->hwnd(), &place_of_six);
    EXPECT_EQ(place_of_six.right - place_of_six.left, 100) << "a pane made late takes its last place";

    // A made pane that does not show keeps its window where it was until it shows; one that
    // is itself made invisible goes at once.
    const auto width_of = [&](ControlName name) {
      RECT r{};
      GetWindowRect(panes.Find(name.text())->hwnd(), &r);
      return r.right - r.left;
    };
    Control wider;
    wider.id.name = ba1::Web6;
    wider.kind = ControlKind::kWebBrowser;
    wider.width = 150;
    wider.height = 100;
    panes.Place(wider, window, false);
    EXPECT_EQ(width_of(ba1::Web6), 100);
    panes.Place(wider, window, true);
    EXPECT_EQ(width_of(ba1::Web6), 150);
    wider.visible = false;
    panes.Place(wider, window, false);
    EXPECT_FALSE(IsWindowVisible(panes.Find(ba1::Web6.text())->hwnd()));
  }
  DestroyWindow(window);
}
