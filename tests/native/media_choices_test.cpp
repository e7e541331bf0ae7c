// The names the picture's menu gives to an item's tracks, and the choices kept per item.
#include <gtest/gtest.h>

#include <string>

#include "common/text/utf.h"
#include "media_player/core/media_tracks.h"
#include "media_player/core/remembered_choices.h"

namespace {

TEST(MediaTracks, TracksAreNamedByLanguageAndTitleOrByTheirNumber) {
  struct Case {
    const char* language;
    const char* title;
    const char16_t* label;
  } cases[] = {
      {"chi", "", u"中文"},
      {"ENG", "", u"英语"},
      {"zh-CN", "", u"简体中文"},
      {"zh_TW", "", u"繁体中文"},
      {"en-US", "Commentary", u"英语 - Commentary"},
      {"yue", "粤语", u"粤语"},  // the title that only repeats the language
      {"und", "", u"音轨 3"},
      {"", "", u"音轨 3"},
      {"", "Director's cut", u"Director's cut"},
      {"xx", "", u"xx"},  // a code we do not know is shown as it is
      {"", "two\nlines", u"two lines"},
  };
  for (const Case& c : cases) {
    MediaTrack track;
    track.language = c.language;
    track.title = c.title;
    EXPECT_EQ(TrackLabel(track, u"音轨 3"), c.label) << c.language << " " << c.title;
  }
  EXPECT_EQ(AudioTrackLabel(MediaTrack{}, 1), u"音轨 2");
}

TEST(RememberedChoices, KeepsTheLatestChoicesOfABoundedNumberOfItemsAndSurvivesDamage) {
  RememberedChoices choices;
  choices.Put("C:\\Films\\A.mkv", {"stream:1", 1500, 1});
  choices.Put("http://site/b.mp4", {"file:b.chs.srt", -500, -1});
  choices.Put("C:\\Films\\A.mkv", {"off", 0, 0});  // chosen again: the new choice, first
  choices.Put("C:\\Films\\C.mp4", {});             // the usual choices are nothing to keep
  choices.Put("bad\titem", {"off", 0, 0});         // nor is what the file could not hold

  RememberedChoices read;
  read.Parse(choices.Serialize());
  EXPECT_EQ(read.size(), 2u);
  EXPECT_EQ(read.Find("C:\\Films\\A.mkv"), (ItemChoices{"off", 0, 0}));
  EXPECT_EQ(read.Find("http://site/b.mp4"), (ItemChoices{"file:b.chs.srt", -500, -1}));
  EXPECT_FALSE(read.Find("C:\\Films\\C.mp4"));
  EXPECT_EQ(read.Serialize().rfind("C:\\Films\\A.mkv", 0), 0u) << "the latest choice comes first";

  // A damaged file: broken and hostile lines are left out, the good ones kept.
  RememberedChoices damaged;
  damaged.Parse(
      "good\toff\t500\t2\r\n"
      "short\toff\n"
      "\toff\t0\t0\n"
      "nan\toff\tx\t0\n"
      "far\toff\t99999999999\t0\n"
      "what\tsomething\t0\t0\n"
      "neg\toff\t0\t-7\n"
      "good\tstream:0\t0\t0\n"           // an older line of an item already read
      "\xff\xfe\x01\tfile:\xc3\t0\t0");  // bytes that are no UTF-8 are only bytes
  EXPECT_EQ(damaged.Find("good"), (ItemChoices{"off", 500, 2}));
  EXPECT_EQ(damaged.size(), 2u);

  // The bound: the least recently chosen go.
  RememberedChoices many;
  for (int i = 0; i < 600; ++i) many.Put("item" + std::to_string(i), {"off", 0, -1});
  EXPECT_EQ(many.size(), RememberedChoices::kMaxItems);
  EXPECT_TRUE(many.Find("item599"));
  EXPECT_FALSE(many.Find("item99"));
}

}  // namespace
