// The product's own player control, registered in the test prefix, hosted in place as play.exe
// hosts it and driven through the player's dispatch ids, on clips ffmpeg made.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "common/win32/com.h"
#include "media_player/core/cache_plan.h"
#include "media_player/media_player_class.h"
#include "play/win32/player_host_win32.h"
#include "tests/shared/test_folder.h"
#include "tests/win/media_player_fixture.h"
#include "tests/win/message_pump.h"
#include "tests/win/screen_capture.h"
#include "tests/win/site_client.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST_F(MediaPlayerTest, EveryFormatOpensWithItsLengthAndPlays) {
  for (const char* name : {"clip.mp4", "clip.webm", "clip.mpg", "clip.wmv", "clip.mkv", "clip.avi"}) {
    SCOPED_TRACE(name);
    player->SetMediaUrl(ClipUrl(name));
    EXPECT_EQ(player->PlayState(), player::kIdle);
    player->Play();
    ASSERT_TRUE(ReachesState(player::kPlaying)) << "state " << player->PlayState();
    EXPECT_EQ(player->Duration(), 6);
    EXPECT_EQ(player->DownloadProgress(), 1000) << "a file here is all there";
    EXPECT_GT(player->MediaRate(), 0);
    ASSERT_TRUE(PumpUntil([&] { return player->Position() >= 1; }, 3s));
    player->Stop();
    EXPECT_EQ(player->PlayState(), player::kStopped);
  }
}

// The share of pixels of the player's window that differ clearly from a reference frame.
double DifferentShare(const ScreenShot& shot, const std::filesystem::path& reference) {
  std::ifstream in(reference, std::ios::binary);
  std::vector<unsigned char> bgrx((std::istreambuf_iterator<char>(in)), {});
  if (bgrx.size() != 320u * 240 * 4) return 1.0;
  int different = 0;
  for (int y = 0; y < 240; ++y) {
    for (int x = 0; x < 320; ++x) {
      const COLORREF seen = shot.At(x, y);
      const unsigned char* want = &bgrx[(y * 320 + x) * 4];
      const int error = std::abs(GetRValue(seen) - want[2]) + std::abs(GetGValue(seen) - want[1]) +
                        std::abs(GetBValue(seen) - want[0]);
      if (error > 60) ++different;
    }
  }
  return different / (320.0 * 240.0);
}

TEST_F(MediaPlayerTest, APictureSoughtWhilePausedIsFfmpegsPictureAtThatTime) {
  player->SetMediaUrl(ClipUrl("clip.mp4"));
  player->Play();
  ASSERT_TRUE(ReachesState(player::kPlaying));
  player->Pause();
  player->SetPosition(2);
  EXPECT_EQ(player->PlayState(), player::kPaused);
  Pump(1500ms);
  EXPECT_EQ(player->Position(), 2);
  const ScreenShot shot(RECT{0, 0, 320, 240});
  shot.Save(std::filesystem::path(reinterpret_cast<const wchar_t*>(log.File(u"frame.bmp").c_str())));
  const double right = DifferentShare(shot, Clips() / "frame-2.0.bgrx");
  const double wrong = DifferentShare(shot, Clips() / "frame-2.4.bgrx");
  EXPECT_LT(right, 0.01) << "the picture is not the one at 2.0 s";
  EXPECT_GT(wrong, right * 3 + 0.002) << "the comparison cannot tell two frames apart";
}

TEST_F(MediaPlayerTest, PausesResumesSeeksBothWaysEndsAndStartsOver) {
  player->SetMediaUrl(ClipUrl("clip.webm"));
  player->Play();
  ASSERT_TRUE(ReachesState(player::kPlaying));
  ASSERT_TRUE(PumpUntil([&] { return player->Position() >= 1; }, 3s));
  player->Pause();
  EXPECT_EQ(player->PlayState(), player::kPaused);
  const long paused_at = player->Position();
  Pump(1200ms);
  EXPECT_EQ(player->Position(), paused_at) << "a paused clip stays where it is";
  player->Play();
  EXPECT_EQ(player->PlayState(), player::kPlaying);

  player->SetPosition(4);
  ASSERT_TRUE(ReachesState(player::kPlaying, 3s));
  EXPECT_GE(player->Position(), 4);
  player->SetPosition(1);
  ASSERT_TRUE(ReachesState(player::kPlaying, 3s));
  EXPECT_LE(player->Position(), 2);

  ASSERT_TRUE(ReachesState(player::kEnded, 10s));
  EXPECT_EQ(player->Position(), player->Duration()) << "the program takes a position at the length as the end";
  // Seeking after the end plays on from there (the reader is opened again).
  player->SetPosition(3);
  ASSERT_TRUE(ReachesState(player::kPlaying, 5s)) << "state " << player->PlayState();
  EXPECT_GE(player->Position(), 3);
  EXPECT_LT(player->Position(), 5);

  player->Stop();
  EXPECT_EQ(player->PlayState(), player::kStopped);
  EXPECT_EQ(player->Position(), 0);
  player->Play();
  ASSERT_TRUE(ReachesState(player::kPlaying));
  EXPECT_LE(player->Position(), 1) << "after Stop, Play starts at the beginning";
}

TEST_F(MediaPlayerTest, VolumeAndMuteReachTheSound) {
  player->SetVolume(250);
  EXPECT_EQ(player->Volume(), 100);
  player->SetVolume(-4);
  EXPECT_EQ(player->Volume(), 0);
  player->SetVolume(80);
  player->SetMediaUrl(ClipUrl("clip.mp4"));
  player->Play();
  ASSERT_TRUE(ReachesState(player::kPlaying));
  Pump(1500ms);
  player->SetMute(true);
  Pump(1500ms);
  player->SetMute(false);
  Pump(1500ms);
  const std::string log_text = Log();
  const auto muted = log_text.find("Mute on");
  const auto unmuted = log_text.find("Mute off");
  ASSERT_NE(muted, std::string::npos);
  ASSERT_NE(unmuted, std::string::npos);
  auto peaks_between = [&](size_t from, size_t to) {
    std::vector<int> peaks;
    for (size_t at = log_text.find("Sound ", from); at < to; at = log_text.find("Sound ", at + 1)) {
      peaks.push_back(std::atoi(log_text.c_str() + at + 6));
    }
    return peaks;
  };
  const std::vector<int> loud = peaks_between(0, muted);
  const std::vector<int> silent = peaks_between(muted, unmuted);
  const std::vector<int> again = peaks_between(unmuted, log_text.size());
  ASSERT_FALSE(loud.empty()) << "no sound reached the device:\n" << log_text;
  // The test tone peaks at 4096; volume 80 passes 64% of it.
  EXPECT_NEAR(loud.back(), 2621, 60);
  ASSERT_GE(silent.size(), 2u);
  EXPECT_EQ(silent.back(), 0) << "muted sound is silence";
  ASSERT_FALSE(again.empty());
  EXPECT_NEAR(again.back(), 2621, 60);
}

TEST_F(MediaPlayerTest, FullScreenTakesTheWholeScreenUntilEsc) {
  player->SetMediaUrl(ClipUrl("clip.mp4"));
  player->Play();
  ASSERT_TRUE(ReachesState(player::kPlaying));
  player->SetFullScreen();
  HWND screen = FindWindowW(L"VexoMediaPlayerScreen", nullptr);
  ASSERT_TRUE(screen) << "the picture is not a window of its own on the screen";
  RECT r{};
  GetWindowRect(screen, &r);
  EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(player->PlayState(), player::kPlaying) << "playback goes on";
  SendMessageW(screen, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(GetParent(screen), player->host_window());
  GetWindowRect(screen, &r);
  EXPECT_EQ(r.right - r.left, 320);
  EXPECT_EQ(r.bottom - r.top, 240);
}

TEST_F(MediaPlayerTest, BrokenItemsEndInAStateTheProgramUnderstands) {
  // Not media at all, and a file that is not there: stopped, with nothing to show.
  for (const std::u16string& url : {ClipUrl("not-media.mp4"), ClipUrl("no-such-clip.mp4")}) {
    player->SetMediaUrl(url);
    player->Play();
    ASSERT_TRUE(ReachesState(player::kStopped)) << "state " << player->PlayState();
    EXPECT_EQ(player->Duration(), 0);
    EXPECT_EQ(player->Position(), 0);
  }
  // A clip cut short plays what there is and ends (or stops when nothing of it decodes).
  player->SetMediaUrl(ClipUrl("truncated.mp4"));
  player->Play();
  ASSERT_TRUE(PumpUntil(
      [&] {
        const int state = player->PlayState();
        return state == player::kEnded || state == player::kStopped;
      },
      15s))
      << "state " << player->PlayState();
  // And the control still plays a good clip afterwards.
  player->SetMediaUrl(ClipUrl("clip.mp4"));
  player->Play();
  EXPECT_TRUE(ReachesState(player::kPlaying));
}

// The share of the player's pixels that carry colour (not grey).
double ColouredShare() {
  const ScreenShot shot(RECT{0, 0, 320, 240});
  int coloured = 0;
  for (int y = 0; y < 240; y += 4) {
    for (int x = 0; x < 320; x += 4) {
      const COLORREF c = shot.At(x, y);
      const int spread =
          std::max({GetRValue(c), GetGValue(c), GetBValue(c)}) - std::min({GetRValue(c), GetGValue(c), GetBValue(c)});
      if (spread > 24) ++coloured;
    }
  }
  return coloured / (80.0 * 60.0);
}

TEST_F(MediaPlayerTest, TheVideoAdjustWindowChangesThePictureAtOnceEvenWhilePaused) {
  player->SetMediaUrl(ClipUrl("clip.mp4"));
  player->Play();
  ASSERT_TRUE(ReachesState(player::kPlaying));
  player->Pause();
  Pump(500ms);
  const double before = ColouredShare();
  EXPECT_GT(before, 0.5) << "the test picture is mostly colour bars";
  player->ShowVideoAdjust();
  HWND dialog = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (dialog = FindWindowW(L"VexoVideoAdjust", nullptr)) != nullptr; }, 2s));
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), window) << "it belongs to the player's window";
  SetWindowPos(dialog, nullptr, 600, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // off the picture
  // Saturation, the third slider, to nothing: a grey picture.
  std::vector<HWND> sliders;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (_wcsicmp(name, L"msctls_trackbar32") == 0) sliders.push_back(child);
  }
  ASSERT_EQ(sliders.size(), 3u);
  SendMessageW(sliders[2], TBM_SETPOS, TRUE, 0);
  SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(sliders[2]));
  Pump(800ms);
  EXPECT_EQ(player->PlayState(), player::kPaused);
  EXPECT_LT(ColouredShare(), 0.02) << "without saturation every pixel is grey";
  // "默认" puts the colour back.
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), 0);
  Pump(800ms);
  EXPECT_NEAR(ColouredShare(), before, 0.05);
  SendMessageW(dialog, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(dialog));
}

std::u16string WebClip(const SiteClient& site, const std::string& name) {
  const std::string url = site.Url("/media/" + name);
  return std::u16string(url.begin(), url.end());
}

TEST_F(MediaPlayerTest, AWebClipPlaysBeforeItsDownloadEndsAndReportsItsProgress) {
  const SiteClient site;
  // About 220 KB (37 KB a second of picture) at 80 KB/s: three seconds to fetch, and it plays
  // within the first.
  player->SetMediaUrl(WebClip(site, "clip-web.mp4?rate=80"));
  EXPECT_EQ(player->DownloadProgress(), 0);
  player->Play();
  ASSERT_TRUE(ReachesState(player::kPlaying, 6s)) << "state " << player->PlayState();
  const long share_when_playing = player->DownloadProgress();
  EXPECT_GT(share_when_playing, 0);
  EXPECT_LT(share_when_playing, 1000) << "it waited for the whole clip";
  bool saw_rate = false;
  long last_share = share_when_playing;
  ASSERT_TRUE(PumpUntil(
      [&] {
        saw_rate = saw_rate || player->DownloadRate() > 0;
        const long share = player->DownloadProgress();
        EXPECT_GE(share, last_share) << "the share never goes back";
        last_share = share;
        return share == 1000;
      },
      10s));
  EXPECT_TRUE(saw_rate);
  EXPECT_EQ(player->DownloadRate(), 0) << "nothing flows once it is all there";
  EXPECT_EQ(player->Duration(), 6);
  // A seek back reads from the cache.
  player->SetPosition(0);
  EXPECT_TRUE(ReachesState(player::kPlaying, 2s));
  EXPECT_TRUE(ReachesState(player::kEnded, 10s));
}

// Seconds from Play until the clip plays.
double SecondsToStart(Win32PlayerHost& player, const std::u16string& url) {
  player.SetMediaUrl(url);
  const auto started = Clock::now();
  player.Play();
  PumpUntil([&] { return player.PlayState() == player::kPlaying; }, 15s);
  return std::chrono::duration<double>(Clock::now() - started).count();
}

TEST_F(MediaPlayerTest, ANextClipFetchedAheadStartsAtOnce) {
  const SiteClient site;
  // With its index at the end, the clip plays only once its index and its start are there,
  // the index by range: seconds at 16 KB/s.
  const double cold = SecondsToStart(*player, WebClip(site, "clip-index-last.mp4?rate=16&cold"));
  EXPECT_GT(cold, 2.0);
  player->SetMediaUrl(WebClip(site, "clip.mp4"));
  player->Play();
  ASSERT_TRUE(ReachesState(player::kPlaying));
  const std::u16string next = WebClip(site, "clip-index-last.mp4?rate=40&ahead");
  player->Prebuffer(next);
  Pump(4500ms);  // all of it fetched ahead
  const double warm = SecondsToStart(*player, next);
  EXPECT_LT(warm, 1.5) << "cold start took " << cold << " s";
  EXPECT_EQ(player->PlayState(), player::kPlaying);
  EXPECT_EQ(player->DownloadProgress(), 1000);

  // The fetched items go with the control, as when the program ends.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::filesystem::path cache = std::filesystem::path(temp) / "VexoMedia";
  auto cached = [&] {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(cache)) files += entry.is_regular_file() ? 1 : 0;
    return files;
  };
  EXPECT_GE(cached(), 2);
  player.reset();
  EXPECT_TRUE(PumpUntil([&] { return cached() == 0; }, 5s)) << cached() << " files left";
}

TEST_F(MediaPlayerTest, AnErrorPageOrAPageOfTextOverTheWebStops) {
  const SiteClient site;
  for (const char* name : {"no-such-clip.mp4", "not-media.mp4"}) {
    player->SetMediaUrl(WebClip(site, name));
    player->Play();
    ASSERT_TRUE(ReachesState(player::kStopped)) << name << ": state " << player->PlayState();
    EXPECT_EQ(player->Duration(), 0);
  }
}

// A real web server (Debian's nginx through tools/nginx/with-nginx.sh), with gzip on and off:
// its ranges serve the index at the clip's end, and the clip plays to its end.
TEST_F(MediaPlayerTest, AClipFromNginxPlaysToItsEndWithGzipOnAndOff) {
  char root[MAX_PATH] = {}, gzip[16] = {}, plain[16] = {};
  GetEnvironmentVariableA("VEXO_NGINX_ROOT", root, MAX_PATH);
  GetEnvironmentVariableA("VEXO_NGINX_GZIP_PORT", gzip, 16);
  GetEnvironmentVariableA("VEXO_NGINX_PLAIN_PORT", plain, 16);
  ASSERT_TRUE(root[0] && gzip[0] && plain[0]) << "run through tools/nginx/with-nginx.sh";
  const std::filesystem::path served = std::filesystem::path("Z:" + std::string(root)) / "a.mp4";
  std::error_code ignored;
  std::filesystem::remove(served, ignored);
  std::filesystem::copy_file(Clips() / "clip-index-last.mp4", served);
  for (const char* port : {plain, gzip}) {
    SCOPED_TRACE(port);
    const std::string url = "http://127.0.0.1:" + std::string(port) + "/a.mp4";
    player->SetMediaUrl(std::u16string(url.begin(), url.end()));
    player->Play();
    ASSERT_TRUE(ReachesState(player::kPlaying)) << "state " << player->PlayState();
    EXPECT_EQ(player->Duration(), 6);
    player->SetPosition(4);
    ASSERT_TRUE(ReachesState(player::kEnded, 10s)) << "state " << player->PlayState();
    EXPECT_EQ(player->DownloadProgress(), 1000);
    player->Stop();
  }
}

// Servers that misbehave: the control ends or stops, and a good clip plays afterwards.
TEST_F(MediaPlayerTest, MisbehavingServersEndOrStop) {
  SiteClient site;
  std::ifstream clip(Clips() / "clip.mp4", std::ios::binary);
  site.Put("/clip.mp4", std::string(std::istreambuf_iterator<char>(clip), {}));
  auto web = [&](const std::string& path) {
    const std::string url = site.Url(path);
    return std::u16string(url.begin(), url.end());
  };
  // No length: the size is known once the body ends, and then it plays through.
  player->SetMediaUrl(web("/bad/no-length/clip.mp4"));
  player->Play();
  ASSERT_TRUE(ReachesState(player::kPlaying)) << "state " << player->PlayState();
  EXPECT_TRUE(ReachesState(player::kEnded, 10s)) << "state " << player->PlayState();

  // A body shorter than it promised, every time it is asked again: it ends or stops.
  player->SetMediaUrl(web("/bad/short/clip.mp4"));
  player->Play();
  EXPECT_TRUE(PumpUntil(
      [&] {
        const int state = player->PlayState();
        return state == player::kEnded || state == player::kStopped;
      },
      30s))
      << "state " << player->PlayState();
  player->SetMediaUrl(ClipUrl("clip.mp4"));
  player->Play();
  EXPECT_TRUE(ReachesState(player::kPlaying)) << "a good clip plays afterwards";
}

// A server that never answers holds its fetch, never the control: neither the window nor the
// decoding thread, as it lets go of the item, waits for that fetch to end.
TEST_F(MediaPlayerTest, ASilentServerIsLeftAtOnceAndTheNextItemPlays) {
  SiteClient site;
  std::ifstream clip(Clips() / "clip.mp4", std::ios::binary);
  site.Put("/clip.mp4", std::string(std::istreambuf_iterator<char>(clip), {}));
  const std::string silent = site.Url("/bad/silent/clip.mp4");
  // A server that never answers: connecting until the user stops, which takes no time.
  player->SetMediaUrl(std::u16string(silent.begin(), silent.end()));
  player->Play();
  Pump(1500ms);
  EXPECT_EQ(player->PlayState(), player::kConnecting);
  const auto asked = Clock::now();
  player->Stop();
  EXPECT_LT(Clock::now() - asked, 300ms);
  EXPECT_EQ(player->PlayState(), player::kStopped);
  const auto moved_on = Clock::now();
  player->SetMediaUrl(ClipUrl("clip.mp4"));
  EXPECT_LT(Clock::now() - moved_on, 300ms) << "letting the silent fetch go must not wait for it";
  player->Play();
  EXPECT_TRUE(ReachesState(player::kPlaying));
}

}  // namespace

namespace {

// The cache file of a web address, where the control fetches it to.
std::filesystem::path CacheFileOf(const std::u16string& url) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return std::filesystem::path(temp) / "VexoMedia" / CacheFileName(url);
}

std::uintmax_t SizeOf(const std::filesystem::path& file) {
  std::error_code error;
  const auto size = std::filesystem::file_size(file, error);
  return error ? 0 : size;
}

std::string Bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// One of the fetch's bounds for one test, in kilobytes.
class ScopedBound {
 public:
  ScopedBound(const wchar_t* name, long long kilobytes) : name_(name) {
    SetEnvironmentVariableW(name, std::to_wstring(kilobytes).c_str());
  }
  ~ScopedBound() { SetEnvironmentVariableW(name_, nullptr); }

 private:
  const wchar_t* name_;
};

bool Over(int state) { return state == player::kEnded || state == player::kStopped; }

// Every fetch is bounded: by what its server announced, by a cap without an announcement,
// by the disk's free space, and a fetch ahead by the cache's bound.
TEST_F(MediaPlayerTest, EveryFetchIsBoundedAndTheItemPlaysWhatItHas) {
  const SiteClient site;
  const auto clip_size = std::filesystem::file_size(Clips() / "clip.mp4");

  // More than announced: the rest is not listened to.
  const std::u16string overlong = WebClip(site, "clip.mp4?overlong");
  player->SetMediaUrl(overlong);
  player->Play();
  EXPECT_TRUE(ReachesState(player::kPlaying)) << "state " << player->PlayState();
  EXPECT_TRUE(PumpUntil([&] { return player->DownloadProgress() == 1000; }, 10s));
  EXPECT_EQ(SizeOf(CacheFileOf(overlong)), clip_size);
  player->Stop();

  {
    // No length and no end: it stops at the cap, and the item ends with what it has.
    const ScopedBound cap(L"VEXO_MEDIA_ITEM_CAP_KB", 512);
    const std::u16string endless = WebClip(site, "clip.mp4?endless");
    player->SetMediaUrl(endless);
    player->Play();
    EXPECT_TRUE(PumpUntil([&] { return Over(player->PlayState()); }, 20s)) << "state " << player->PlayState();
    EXPECT_EQ(player->DownloadProgress(), 1000);
    EXPECT_EQ(SizeOf(CacheFileOf(endless)), 512u * 1024);
    player->Stop();
  }
  {
    // A disk at its floor: nothing more is written; the item stops, and a file here plays.
    const ScopedBound floor(L"VEXO_MEDIA_FREE_FLOOR_KB", 1LL << 38);
    const std::u16string full = WebClip(site, "clip-web.mp4?full");
    player->SetMediaUrl(full);
    player->Play();
    EXPECT_TRUE(ReachesState(player::kStopped, 10s)) << "state " << player->PlayState();
    EXPECT_EQ(SizeOf(CacheFileOf(full)), 0u);
    player->SetMediaUrl(ClipUrl("clip.mp4"));
    player->Play();
    EXPECT_TRUE(ReachesState(player::kPlaying));
  }
  {
    // The cache's bound: a clip fetched ahead stops there, and goes on once it plays.
    const ScopedBound bound(L"VEXO_MEDIA_CACHE_KB", 64);
    const std::u16string ahead = WebClip(site, "clip-web.mp4?ahead-bounded");
    player->SetMediaUrl(WebClip(site, "clip.mp4?playing"));
    player->Play();
    ASSERT_TRUE(ReachesState(player::kPlaying));
    player->Prebuffer(ahead);
    Pump(3s);
    EXPECT_LE(SizeOf(CacheFileOf(ahead)), 64u * 1024);
    EXPECT_GT(SizeOf(CacheFileOf(ahead)), 0u);
    player->SetMediaUrl(ahead);
    player->Play();
    EXPECT_TRUE(ReachesState(player::kPlaying, 10s));
    EXPECT_TRUE(PumpUntil([&] { return player->DownloadProgress() == 1000; }, 10s));
    EXPECT_EQ(SizeOf(CacheFileOf(ahead)), std::filesystem::file_size(Clips() / "clip-web.mp4"));
  }
}

// Range answers that trickle a byte at a time: the far read gives up by its deadline and the
// clip plays from the fetch; a stop, another item and the control's release never wait.
TEST_F(MediaPlayerTest, ATricklingRangeAnswerHoldsUpNothing) {
  const SiteClient site;
  // Its index is at the end: the reader asks for it by range before the fetch is there.
  const std::u16string trickling = WebClip(site, "clip-index-last.mp4?rate=40&trickle-range");
  player->SetMediaUrl(trickling);
  player->Play();
  EXPECT_TRUE(ReachesState(player::kPlaying, 20s)) << "state " << player->PlayState();

  for (int round = 0; round < 2; ++round) {
    player->SetMediaUrl(WebClip(site, "clip-index-last.mp4?rate=2&trickle-range&round=" + std::to_string(round)));
    player->Play();
    Pump(2s);  // inside a far read now
    const auto asked = Clock::now();
    if (round == 0) {
      player->Stop();
      EXPECT_LT(Clock::now() - asked, 500ms) << "the stop waited";
      player->SetMediaUrl(ClipUrl("clip.mp4"));
      EXPECT_LT(Clock::now() - asked, 500ms) << "the next item waited";
      player->Play();
      EXPECT_TRUE(ReachesState(player::kPlaying)) << Log();
    } else {
      player.reset();
      EXPECT_LT(Clock::now() - asked, 500ms) << "letting the control go waited";
    }
  }
}

// A file that changed on the server between two fetches is fetched again, not spliced.
TEST_F(MediaPlayerTest, AResumedFetchOfAChangedFileStartsOver) {
  SiteClient site;
  const std::filesystem::path served = Clips() / "changing.mp4";
  std::string first = Bytes(Clips() / "clip-web.mp4");
  { std::ofstream(served, std::ios::binary) << first; }
  const std::u16string url = WebClip(site, "changing.mp4?rate=40");
  player->SetMediaUrl(url);
  player->Play();
  ASSERT_TRUE(PumpUntil([&] { return SizeOf(CacheFileOf(url)) > 40 * 1024; }, 10s));
  player->Stop();
  Pump(500ms);
  ASSERT_LT(SizeOf(CacheFileOf(url)), first.size());
  // The same size, other bytes: only the validator tells.
  std::string second = first;
  for (std::size_t i = second.size() / 2; i < second.size(); ++i) second[i] = static_cast<char>(second[i] ^ 0x5A);
  std::this_thread::sleep_for(20ms);
  { std::ofstream(served, std::ios::binary) << second; }
  site.TakeRequests();
  player->Play();
  EXPECT_TRUE(PumpUntil([&] { return Bytes(CacheFileOf(url)) == second; }, 15s)) << "the cache is not the new file";
  EXPECT_NE(site.TakeRequests().find("If-Range: "), std::string::npos);
  player->Stop();
  std::filesystem::remove(served);
}

// Going X, Y, X while X's first fetch is still let go of: the second X takes it over.
TEST_F(MediaPlayerTest, TheSameItemAgainPlays) {
  const SiteClient site;
  const std::u16string x = WebClip(site, "clip-web.mp4?rate=60&again");
  player->SetMediaUrl(x);
  player->Play();
  Pump(700ms);
  player->SetMediaUrl(ClipUrl("clip.mp4"));
  player->Play();
  player->SetMediaUrl(x);
  player->Play();
  EXPECT_TRUE(ReachesState(player::kPlaying, 10s)) << "state " << player->PlayState();
  EXPECT_TRUE(ReachesState(player::kEnded, 15s)) << "state " << player->PlayState();
}

}  // namespace
