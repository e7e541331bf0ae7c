// The player control hosted in place through late-bound calls, with the stand-in registered
// in the test prefix under the player's class id.
#include <windows.h>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "common/win32/com.h"
#include "play/win32/player_host_win32.h"
#include "tests/shared/test_folder.h"
#include "tests/win/message_pump.h"

namespace {

using namespace std::chrono_literals;

// Waits, pumping, until the player reports `state`; the states seen on the way.
std::vector<int> StatesUntil(PlayerControl& player, int state, std::chrono::milliseconds limit) {
  std::vector<int> seen;
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    const int now = player.PlayState();
    if (seen.empty() || seen.back() != now) seen.push_back(now);
    if (now == state) break;
    Pump(10ms);
  }
  return seen;
}

class PlayerHostTest : public testing::Test {
 protected:
  void SetUp() override {
    const std::u16string path = log.File(u"calls.log");
    SetEnvironmentVariableW(L"VEXO_STANDIN_LOG", reinterpret_cast<const wchar_t*>(path.c_str()));
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"PlayerHostTestWindow";
    RegisterClassW(&wc);
    window = CreateWindowExW(0, L"PlayerHostTestWindow", L"test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                             0, 640, 480, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    DestroyWindow(window);
    SetEnvironmentVariableW(L"VEXO_STANDIN_LOG", nullptr);
  }

  ComApartment com;
  TestFolder log;
  HWND window = nullptr;
};

TEST_F(PlayerHostTest, TheControlIsFoundByItsClassIdOnly) {
  EXPECT_TRUE(PlayerControlInstalled());
  const CLSID elsewhere = {0x12345678, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};
  EXPECT_FALSE(PlayerControlInstalled(elsewhere));
  EXPECT_FALSE(Win32PlayerHost::Create(window, RECT{0, 0, 320, 240}, elsewhere));
}

TEST_F(PlayerHostTest, PlaysThroughConnectingBufferingPlayingToTheEnd) {
  auto player = Win32PlayerHost::Create(window, RECT{10, 10, 330, 250});
  ASSERT_TRUE(player);
  EXPECT_EQ(player->MediaUrl(), u"");
  const std::u16string url = u"http://127.0.0.1/v/第1集.rmvb?standin=connect:150,buffer:150,duration:2,download:1";
  player->SetMediaUrl(url);
  EXPECT_EQ(player->MediaUrl(), url);
  EXPECT_EQ(player->PlayState(), player::kIdle);
  player->Play();
  const std::vector<int> states = StatesUntil(*player, player::kEnded, 5s);
  EXPECT_EQ(states, (std::vector<int>{player::kConnecting, player::kBuffering, player::kPlaying, player::kEnded}));
  EXPECT_EQ(player->Position(), 2);
  EXPECT_EQ(player->Duration(), 2);
  EXPECT_EQ(player->DownloadProgress(), 1000);
  EXPECT_EQ(player->DownloadRate(), 0);
}

TEST_F(PlayerHostTest, PauseSeekStopVolumeAndTheRecordedCalls) {
  auto player = Win32PlayerHost::Create(window, RECT{0, 0, 320, 240});
  ASSERT_TRUE(player);
  player->SetAdUrl(u"http://127.0.0.1/soft/js/ads/vexoad.html");
  player->SetMediaUrl(u"C:\\影视\\a.avi?standin=connect:0,buffer:0,duration:600,download:60");
  player->Play();
  Pump(100ms);
  EXPECT_EQ(player->PlayState(), player::kPlaying);
  EXPECT_GT(player->MediaRate(), 0);
  EXPECT_GT(player->DownloadRate(), 0);
  player->SetPosition(300);
  EXPECT_EQ(player->Position(), 300);
  player->Pause();
  EXPECT_EQ(player->PlayState(), player::kPaused);
  player->Play();
  EXPECT_EQ(player->PlayState(), player::kPlaying);
  player->SetVolume(70);
  EXPECT_EQ(player->Volume(), 70);
  player->SetMute(true);
  player->ShowVideoAdjust();
  player->Prebuffer(u"vexo://next|第2集.rmvb");
  player->Stop();
  EXPECT_EQ(player->PlayState(), player::kStopped);
  EXPECT_EQ(player->Position(), 0);

  const std::string calls = log.Read(u"calls.log");
  EXPECT_NE(calls.find("AdUrl http://127.0.0.1/soft/js/ads/vexoad.html\r\n"), std::string::npos) << calls;
  EXPECT_NE(calls.find("Position 300\r\n"), std::string::npos);
  EXPECT_NE(calls.find("Mute on\r\n"), std::string::npos);
  EXPECT_NE(calls.find("ShowVideoAdjust 3\r\n"), std::string::npos);
  EXPECT_NE(calls.find("Prebuffer vexo://next|\xE7\xAC\xAC"
                       "2\xE9\x9B\x86.rmvb\r\n"),
            std::string::npos)
      << calls;
}

TEST_F(PlayerHostTest, TheHostWindowIsTheControlsPlace) {
  auto player = Win32PlayerHost::Create(window, RECT{0, 0, 320, 240});
  ASSERT_TRUE(player);
  player->Move(20, 30, 400, 300);
  EXPECT_EQ(player->Width(), 400);
  EXPECT_EQ(player->Height(), 300);
  HWND view = GetWindow(player->host_window(), GW_CHILD);
  ASSERT_TRUE(view);  // the control's own window, in place inside the host
  RECT r{};
  GetClientRect(view, &r);
  EXPECT_EQ(r.right, 400);
  EXPECT_EQ(r.bottom, 300);
  player->SetVisible(false);
  EXPECT_FALSE(player->Visible());
  player->SetVisible(true);
  EXPECT_TRUE(player->Visible());
}

}  // namespace
