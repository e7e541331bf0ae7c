#pragma once
// The product's own player control, registered in the test prefix and hosted in place in a
// window of the test as play.exe hosts it, with its log in a folder of the test's own; and
// the clips scripts/make-test-clips.sh made (VEXO_TEST_CLIPS).
#include <windows.h>
#include <shlobj.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "common/win32/com.h"
#include "media_player/media_player_class.h"
#include "play/win32/player_host_win32.h"
#include "tests/shared/test_folder.h"
#include "tests/win/message_pump.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

inline std::filesystem::path Clips() {
  const char* folder = std::getenv("VEXO_TEST_CLIPS");
  return folder ? std::filesystem::path(folder) : std::filesystem::path();
}

inline std::u16string ClipUrl(const char* name) {
  const std::wstring path = (Clips() / name).wstring();
  return std::u16string(path.begin(), path.end());
}

class MediaPlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(Clips() / "clip.mp4")) << "VEXO_TEST_CLIPS names no clip folder";
    // Every test starts with nothing the control remembers of its items (a track chosen, a
    // subtitle closed) from an earlier test or an earlier run in the same prefix.
    wchar_t folder[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    choices_file = std::filesystem::path(folder) / L"VexoMedia" / L"choices.txt";
    std::filesystem::remove(choices_file);
    const std::u16string path = log.File(u"player.log");
    SetEnvironmentVariableW(L"VEXO_PLAYER_LOG", reinterpret_cast<const wchar_t*>(path.c_str()));
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"MediaPlayerTestWindow";
    RegisterClassW(&wc);
    window = CreateWindowExW(WS_EX_TOPMOST, L"MediaPlayerTestWindow", L"test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                             0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    player = Win32PlayerHost::Create(window, RECT{0, 0, 320, 240}, kMediaPlayerClass);
    ASSERT_TRUE(player) << "the control is not registered or does not activate";
  }
  void TearDown() override {
    player.reset();
    DestroyWindow(window);
    SetEnvironmentVariableW(L"VEXO_PLAYER_LOG", nullptr);
  }

  bool ReachesState(int state, std::chrono::milliseconds limit = 10s) {
    return PumpUntil([&] { return player->PlayState() == state; }, limit);
  }
  std::string Log() {
    std::ifstream in(std::filesystem::path(reinterpret_cast<const wchar_t*>(log.File(u"player.log").c_str())));
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path choices_file;
  ComApartment com;
  TestFolder log;
  HWND window = nullptr;
  std::unique_ptr<Win32PlayerHost> player;
};
