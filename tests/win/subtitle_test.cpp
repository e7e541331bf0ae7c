// Subtitles as a user meets them: files beside a film, in GBK, Big5 and UTF-16 (made by
// iconv in scripts/make-test-clips.sh), shown on the picture at their times, through a seek
// and an offset, and chosen from the picture's own menu with the mouse and the keys.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/win/media_player_fixture.h"
#include "tests/win/picture_menu.h"
#include "tests/win/real_input.h"
#include "tests/win/screen_capture.h"

namespace {

using SubtitleTest = MediaPlayerTest;

// Pixels of the text's white and of its dark outline in rows [top, bottom) of the picture,
// which is one flat blue-grey colour of its own.
struct Ink {
  int white = 0, dark = 0;
};
Ink InkIn(long top, long bottom, const char* keep_as = nullptr) {
  const ScreenShot shot(RECT{0, 0, 320, 240});
  if (const char* artifacts = std::getenv("VEXO_ARTIFACTS"); artifacts && keep_as) {
    std::filesystem::create_directories(artifacts);
    shot.Save(std::filesystem::path(artifacts) / keep_as);
  }
  Ink ink;
  for (long y = top; y < bottom; ++y) {
    for (long x = 0; x < 320; ++x) {
      const COLORREF c = shot.At(x, y);
      if (GetRValue(c) > 220 && GetGValue(c) > 220 && GetBValue(c) > 220) ++ink.white;
      if (GetRValue(c) < 24 && GetGValue(c) < 24 && GetBValue(c) < 24) ++ink.dark;
    }
  }
  return ink;
}

TEST_F(SubtitleTest, FilesBesideAFilmShowAtTheirTimesAndAreChosenFromThePicturesMenu) {
  player->SetMediaUrl(ClipUrl("subtitles/Film.mp4"));
  player->Play();
  ASSERT_TRUE(ReachesState(player::kPlaying)) << Log();
  auto shows = [&](const std::string& line) {
    return PumpUntil([&] { return Log().find("Subtitle " + line + "\n") != std::string::npos; }, 5s);
  };
  // The first file by name is the GBK one; its first line shows while it plays.
  ASSERT_TRUE(shows("我们现在就去")) << Log();
  EXPECT_NE(Log().find("Subtitles found 3"), std::string::npos) << Log();
  player->Pause();
  player->SetPosition(1);
  Pump(800ms);
  const Ink bottom = InkIn(160, 240, "subtitle-gbk.bmp"), top = InkIn(0, 80);
  EXPECT_GT(bottom.white, 150) << "the text, white";
  EXPECT_GT(bottom.dark, bottom.white / 2)
      << "its outline, around the text: " << bottom.white << " white, " << bottom.dark << " dark";
  EXPECT_EQ(top.white, 0);

  // A seek moves the subtitle with the picture; an offset moves it against the picture.
  player->SetPosition(3);
  EXPECT_TRUE(shows("你在这里等我")) << Log();
  const HWND screen = FindScreen(window);
  ASSERT_NE(screen, nullptr);
  ClickWithMouse(screen);
  PressKey('X');  // half a second later: at 3.0 s the first line (to 2.6 s) is still up
  EXPECT_TRUE(PumpUntil([&] { return Log().find("Subtitle offset -500") != std::string::npos; }, 3s)) << Log();
  EXPECT_NE(Log().rfind("Subtitle 我们现在就去\n"), Log().find("Subtitle 我们现在就去\n")) << Log();

  // The menu, by the mouse and its access keys: the second file, the Big5 one.
  {
    const KeysToTheMenu keys({'S', VK_DOWN, VK_RETURN});
    RightClickWithMouse(screen);
    EXPECT_TRUE(shows("我們現在就去")) << Log();
  }
  EXPECT_NE(Log().find("Menu\n"), std::string::npos) << Log();
  EXPECT_NE(Log().find("Subtitle track Film.cht.srt"), std::string::npos) << Log();

  // S goes on to the next track: the ASS one, in UTF-16, at the top, in two lines.
  PressKey('S');
  EXPECT_TRUE(shows("字幕在上面 / 第二行")) << Log();
  Pump(500ms);
  EXPECT_GT(InkIn(0, 100, "subtitle-ass-top.bmp").white, 150) << "at the top of the picture";
  EXPECT_EQ(InkIn(170, 240).white, 0);

  // 关闭字幕 clears the picture.
  {
    const KeysToTheMenu keys({'S', 'C'});
    RightClickWithMouse(screen);
    EXPECT_TRUE(PumpUntil([&] { return Log().find("Subtitle track none") != std::string::npos; }, 5s)) << Log();
  }
  Pump(500ms);
  EXPECT_EQ(InkIn(0, 240).white, 0);
}

}  // namespace
