// What a user chooses of an item's sound and subtitles and of its speed, from the picture's
// menu and keys: the tracks inside Matroska and MP4 files, the speed with the pitch kept,
// subtitles fetched beside a web item, and the choices kept for the next time.
#include <windows.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "media_player/core/pcm_volume.h"
#include "media_player/win32/sound_tempo_win32.h"
#include "tests/win/media_player_fixture.h"
#include "tests/win/picture_menu.h"
#include "tests/win/site_client.h"

namespace {

class TracksTest : public MediaPlayerTest {
 protected:
  bool Logged(const std::string& line, std::chrono::milliseconds limit = 5s) {
    return PumpUntil([&] { return Log().find(line + "\n") != std::string::npos; }, limit);
  }
  // The pitch of the sound the control queued last, as it logs it.
  int LastTone() {
    const std::string log = Log();
    const auto at = log.rfind("Tone ");
    return at == std::string::npos ? 0 : std::atoi(log.c_str() + at + 5);
  }
  bool ToneNear(int hz, std::chrono::milliseconds limit) {
    return PumpUntil([&] { return std::abs(LastTone() - hz) <= hz / 25; }, limit);
  }
};

TEST_F(TracksTest, SoundAndSubtitleTracksInsideAFileSwitchByMenuAndKeysAndAreKeptForTheItem) {
  // The Matroska file has a third subtitle track of pictures (PGS), which is listed and skipped.
  for (const auto& [clip, streams] : {std::pair{"tracks/Tracks.mkv", "Subtitle streams 2 unsupported 1"},
                                      std::pair{"tracks/Tracks.mp4", "Subtitle streams 2 unsupported 0"}}) {
    SCOPED_TRACE(clip);
    // Each clip's lines are looked for in the log from where it starts.
    std::size_t mark = Log().size();
    auto logged = [&](const std::string& line) {
      return PumpUntil([&] { return Log().find(line + "\n", mark) != std::string::npos; }, 5s);
    };
    player->SetMediaUrl(ClipUrl(clip));
    player->Play();
    ASSERT_TRUE(ReachesState(player::kPlaying)) << Log();
    EXPECT_TRUE(logged("Audio tracks 2 playing 1")) << Log();
    EXPECT_TRUE(logged(streams)) << Log();
    // The default ones: 国语 at 440 Hz, and the first subtitle track.
    EXPECT_TRUE(ToneNear(440, 3s)) << LastTone();
    EXPECT_TRUE(logged("Subtitle Track one speaks")) << Log();

    // A: the other sound track, from where the item is, within half a second of the key (the
    // log is written every half second: a second in all).
    const HWND screen = FindScreen(window);
    ASSERT_NE(screen, nullptr);
    ClickWithMouse(screen);
    const long before = player->Position();
    const auto pressed = Clock::now();
    PressKey('A');
    EXPECT_TRUE(ToneNear(880, 3s)) << LastTone() << "\n" << Log();
    EXPECT_LT(Clock::now() - pressed, 1200ms);
    EXPECT_TRUE(logged("Audio track 粤语")) << Log();
    EXPECT_LE(std::abs(player->Position() - before), 1) << "it went on from the same place";
    EXPECT_TRUE(ReachesState(player::kPlaying)) << Log();

    // S goes through the text tracks, and after the last to none.
    PressKey('S');
    EXPECT_TRUE(logged("Subtitle track 中文")) << Log();
    PressKey('S');
    EXPECT_TRUE(logged("Subtitle track none")) << Log();

    // The menu: 字幕, the second track inside; from the start its first cue shows.
    mark = Log().size();
    {
      const KeysToTheMenu keys({'S', VK_DOWN, VK_RETURN});
      RightClickWithMouse(screen);
      EXPECT_TRUE(logged("Subtitle track 中文")) << Log();
    }
    player->SetPosition(0);
    EXPECT_TRUE(logged("Subtitle 第二条字幕")) << Log();

    // The item again: the same sound and subtitle tracks.
    Pump(500ms);  // the choices are written on a thread of their own
    player->Stop();
    mark = Log().size();
    player->SetMediaUrl(ClipUrl(clip));
    player->Play();
    ASSERT_TRUE(ReachesState(player::kPlaying)) << Log();
    EXPECT_TRUE(logged("Audio tracks 2 playing 2")) << Log().substr(mark);
    EXPECT_TRUE(logged("Subtitle track 中文")) << Log().substr(mark);
    EXPECT_TRUE(ToneNear(880, 3s)) << LastTone();
    player->Stop();
  }
  std::ifstream kept(choices_file);
  const std::string file((std::istreambuf_iterator<char>(kept)), {});
  EXPECT_NE(file.find("Tracks.mp4\tstream:1\t0\t1\n"), std::string::npos) << file;
  EXPECT_NE(file.find("Tracks.mkv\tstream:1\t0\t1\n"), std::string::npos) << file;
}

TEST_F(TracksTest, TwiceTheSpeedHalvesTheTimeToTheEndWithThePitchKept) {
  player->SetMediaUrl(ClipUrl("clip.mp4"));
  player->Play();
  ASSERT_TRUE(ReachesState(player::kPlaying)) << Log();
  const HWND screen = FindScreen(window);
  ASSERT_NE(screen, nullptr);
  ClickWithMouse(screen);
  const auto started = Clock::now();
  for (int i = 0; i < 3; ++i) PressKey(VK_OEM_6);  // ] ] ]: 1.25, 1.5, 2.0
  ASSERT_TRUE(Logged("Speed 2000")) << Log();
  Pump(1s);
  EXPECT_TRUE(ToneNear(440, 1s)) << "the pitch is kept: " << LastTone();
  ASSERT_TRUE(ReachesState(player::kEnded, 10s)) << Log();
  const double wall = std::chrono::duration<double>(Clock::now() - started).count();
  // Six seconds of clip at twice the speed: three seconds, and the time the keys took.
  EXPECT_GT(wall, 2.4);
  EXPECT_LT(wall, 4.2);
  EXPECT_EQ(player->Duration(), 6) << "the item's length stays its own";

  // [ and the menu's access keys go back down: 播放速度, 0.5 倍.
  PressKey(VK_OEM_4);
  EXPECT_TRUE(Logged("Speed 1500")) << Log();
  {
    const KeysToTheMenu keys({'P', '1'});
    RightClickWithMouse(screen, POINT{60, 40});
    EXPECT_TRUE(Logged("Speed 500")) << Log();
  }
}

TEST(SoundTempo, KeepsThePitchAndScalesTheLength) {
  constexpr int kRate = 44100;
  std::vector<std::int16_t> sine(static_cast<std::size_t>(kRate) * 2 * 2);  // 2 s of stereo
  for (std::size_t i = 0; i < sine.size() / 2; ++i) {
    const auto value = static_cast<std::int16_t>(12000 * std::sin(2 * 3.14159265358979 * 440 * i / kRate));
    sine[2 * i] = sine[2 * i + 1] = value;
  }
  for (const int speed : {500, 750, 1500, 2000}) {
    SoundTempo tempo;
    ASSERT_TRUE(tempo.Set(speed, kRate)) << speed;
    std::vector<std::uint8_t> out;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(sine.data());
    // In the pieces the decoder hands over.
    for (std::size_t at = 0; at < sine.size() * 2; at += 4096) {
      ASSERT_TRUE(tempo.Process(bytes + at, std::min<std::size_t>(4096, sine.size() * 2 - at), out));
    }
    const auto* samples = reinterpret_cast<const std::int16_t*>(out.data());
    const int tone = ToneOfPcm16(samples, out.size() / 2, 2, kRate);
    EXPECT_NEAR(tone, 440, 4.4) << speed;
    // What the filter holds back at the end is less than a tenth of a second.
    const double seconds = static_cast<double>(out.size()) / 4 / kRate;
    EXPECT_NEAR(seconds, 2.0 * 1000 / speed, 0.1) << speed;
  }
}

TEST_F(TracksTest, AWebItemsSubtitlesAreFetchedBesideItAndNoneIsNoError) {
  const SiteClient site;
  auto web = [&](const std::string& name) {
    const std::string url = site.Url("/media/" + name);
    return std::u16string(url.begin(), url.end());
  };
  player->SetMediaUrl(web("web-subtitled.mp4"));
  player->Play();
  ASSERT_TRUE(ReachesState(player::kPlaying)) << Log();
  EXPECT_TRUE(Logged("Subtitles found 1")) << Log();
  EXPECT_TRUE(Logged("Subtitle 网上的字幕")) << Log();
  player->Stop();

  // No subtitles on the server: every extension answers 404, the item plays on.
  const std::size_t mark = Log().size();
  player->SetMediaUrl(web("clip-web.mp4"));
  player->Play();
  ASSERT_TRUE(ReachesState(player::kPlaying)) << Log();
  EXPECT_TRUE(PumpUntil([&] { return Log().find("Subtitles found 0", mark) != std::string::npos; }, 5s)) << Log();
  Pump(1s);
  EXPECT_EQ(player->PlayState(), player::kPlaying);
}

}  // namespace
