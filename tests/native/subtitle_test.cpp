// The subtitles' pure parts: which encoding a file is in, what is drawn of an event, how its
// lines wrap, and which files go with a video.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "common/text/utf.h"
#include "media_player/core/embedded_subtitles.h"
#include "media_player/core/subtitle_encoding.h"
#include "media_player/core/subtitle_files.h"
#include "media_player/core/subtitle_text.h"

namespace {

// UTF-8 text in another encoding, as iconv (not our code) writes it.
std::string Encode(const std::string& utf8, const char* encoding) {
  iconv_t cd = iconv_open(encoding, "UTF-8");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << encoding;
  std::string out(utf8.size() * 4 + 8, '\0');
  char* in = const_cast<char*>(utf8.data());
  char* to = out.data();
  std::size_t in_left = utf8.size(), out_left = out.size();
  EXPECT_NE(iconv(cd, &in, &in_left, &to, &out_left), static_cast<std::size_t>(-1)) << encoding;
  iconv_close(cd);
  out.resize(out.size() - out_left);
  return out;
}

const std::string kSimplified =
    "1\n00:00:01,000 --> 00:00:03,000\n我们现在就去，你在这里等我。\n\n2\n00:00:04,000 --> 00:00:05,000\n"
    "他说这个时候没有人会来的！\n";
const std::string kTraditional =
    "1\n00:00:01,000 --> 00:00:03,000\n我們現在就去，你在這裡等我。\n\n2\n00:00:04,000 --> 00:00:05,000\n"
    "他說這個時候沒有人會來的！\n";

TEST(SubtitleEncoding, EveryEncodingIsFoundAndReadBackAsTheSameText) {
  struct Case {
    const char* what;
    std::string bytes;
    TextEncoding want;
    std::string text;  // what it reads as
  };
  const std::string western =
      "1\n00:00:01,000 --> 00:00:02,000\nCaf\xC3\xA9 d\xC3\xA9j\xC3\xA0 vu, \xE2\x82\xAC"
      "5\n";
  const Case cases[] = {
      {"UTF-8", kSimplified, TextEncoding::kUtf8, kSimplified},
      {"UTF-8 with a BOM", "\xEF\xBB\xBF" + kTraditional, TextEncoding::kUtf8, kTraditional},
      {"UTF-16 LE", Encode("\xEF\xBB\xBF" + kSimplified, "UTF-16LE"), TextEncoding::kUtf16Le, kSimplified},
      {"UTF-16 BE", Encode("\xEF\xBB\xBF" + kTraditional, "UTF-16BE"), TextEncoding::kUtf16Be, kTraditional},
      {"UTF-16 LE of Latin text, no BOM", Encode("1\n00:00:01,000 --> 00:00:02,000\nHello there\n", "UTF-16LE"),
       TextEncoding::kUtf16Le, "1\n00:00:01,000 --> 00:00:02,000\nHello there\n"},
      {"GBK", Encode(kSimplified, "GBK"), TextEncoding::kGbk, kSimplified},
      {"Big5", Encode(kTraditional, "BIG5"), TextEncoding::kBig5, kTraditional},
      {"GBK of traditional characters", Encode(kTraditional, "GBK"), TextEncoding::kGbk, kTraditional},
      {"a short Big5 line", Encode("好的，謝謝。", "BIG5"), TextEncoding::kBig5, "好的，謝謝。"},
      {"a short GBK line", Encode("好的，谢谢。", "GBK"), TextEncoding::kGbk, "好的，谢谢。"},
      {"Windows line ends", Encode("你好\r\n再见\r\n", "GBK"), TextEncoding::kGbk, "你好\n再见\n"},
      {"Western", Encode(western, "CP1252"), TextEncoding::kWestern, western},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DetectTextEncoding(c.bytes).encoding, c.want);
    EXPECT_EQ(SubtitleTextToUtf8(c.bytes), c.text);
  }
  // Whatever the bytes, something readable comes out, in valid UTF-8, without NULs.
  for (const std::string& bytes : {std::string("\xFF\xFF\x80\x81\x00\x00\x01", 7), std::string(300, '\x9F'),
                                   std::string("\xC3", 1), std::string("\xFE\xFF\xD8\x00", 4)}) {
    const std::string text = SubtitleTextToUtf8(bytes);
    EXPECT_EQ(text.find('\0'), std::string::npos);
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
  }
}

// A cue written out: "^" for the top, lines between "|", runs marked <b> <i> <u>.
std::string Show(const SubtitleCue& cue) {
  std::string out = cue.top ? "^" : "";
  for (std::size_t k = 0; k < cue.lines.size(); ++k) {
    if (k > 0) out += "|";
    for (const SubtitleRun& run : cue.lines[k]) {
      std::string marks = std::string(run.bold ? "b" : "") + (run.italic ? "i" : "") + (run.underline ? "u" : "");
      out += marks.empty() ? Utf16ToUtf8(run.text) : "<" + marks + ">" + Utf16ToUtf8(run.text);
    }
  }
  return out;
}

constexpr char kHeader[] =
    "[Script Info]\nScriptType: v4.00+\nPlayResX: 1920\nPlayResY: 1080\n\n[V4+ Styles]\n"
    "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, Bold, Italic, "
    "Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, "
    "MarginV, Encoding\n"
    "Style: Default,Arial,54,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,100,0,0,1,2,1,2,10,10,10,1\n"
    "Style: Sign,Arial,108,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,-1,0,0,0,100,100,0,0,1,2,1,8,10,10,10,1\n"
    "Style: Broken,Arial\n\n[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, "
    "Text\n";

TEST(SubtitleText, EventsDrawTheirTextBreaksStylesAndPlaceAndNothingElse) {
  const SubtitleScript script = ParseSubtitleHeader(kHeader);
  ASSERT_EQ(script.play_res_y, 1080);
  ASSERT_EQ(script.styles.size(), 2u);  // the broken style is left out
  struct Case {
    const char* event;
    const char* shown;
  };
  const Case cases[] = {
      {"0,0,Default,,0,0,0,,Hello, world", "Hello, world"},  // commas in the text stay
      {"0,0,Default,,0,0,0,,第一行\\N第二行\\n第三行", "第一行|第二行|第三行"},
      {"0,0,Default,,0,0,0,,{\\i1}slanted{\\i0} plain {\\b1}bold{\\b0} {\\u1}under",
       "<i>slanted plain <b>bold <u>under"},
      {"0,0,Default,,0,0,0,,{\\an8}在上面", "^在上面"},
      {"0,0,Sign,,0,0,0,,a sign", "^<b>a sign"},  // the style's own place and weight
      {"0,0,Sign,,0,0,0,,{\\an2\\b0}moved down", "moved down"},
      {"0,0,Default,,0,0,0,,{\\pos(10,20)\\t(0,500,\\i1\\fs80)\\c&H00FF00&\\blur3\\bord2}colours", "colours"},
      {"0,0,Default,,0,0,0,,{\\p1}m 0 0 l 100 0 100 100 0 100{\\p0}after the drawing", "after the drawing"},
      {"0,0,Default,,0,0,0,,{\\i1}a{\\r}b{\\rSign}c", "<i>ab<b>c"},
      {"0,0,Default,,0,0,0,,keep\\hthis {a comment} together", "keep\xC2\xA0this  together"},
      {"0,0,Default,,0,0,0,,an { unclosed brace", "an { unclosed brace"},
      {"0,0,Nobody,,0,0,0,,{\\a6}old top", "^old top"},  // an unknown style is the default one
      {"0,0,Default,,0,0,0,,\\N\\N  \\N", "  "},
      {"0,0,Default,,0,0,0,,{\\an8}", "^"},
      {"just text, no fields", "just text, no fields"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Show(ParseSubtitleEvent(c.event, script)), c.shown) << c.event;
  }
  EXPECT_NEAR(ParseSubtitleEvent("0,0,Default,,0,0,0,,x", script).line_height, 0.05, 0.001);
  EXPECT_NEAR(ParseSubtitleEvent("0,0,Sign,,0,0,0,,x", script).line_height, 0.1, 0.001);
  // Without a header (a decoder's plain default), about a twentieth of the picture per line.
  EXPECT_NEAR(ParseSubtitleEvent("0,0,Default,,0,0,0,,x", SubtitleScript{}).line_height, 0.055, 0.001);
  // Hostile events stay bounded: a megabyte of breaks and text keeps a few lines of it.
  std::string flood = "0,0,Default,,0,0,0,,";
  for (int i = 0; i < 100000; ++i) flood += "abc\\N{\\i1";
  const SubtitleCue big = ParseSubtitleEvent(flood, script);
  EXPECT_LE(big.lines.size(), 16u);
}

TEST(SubtitleText, LinesWrapAtBlanksAndBetweenChineseCharactersToAtMostFour) {
  const RunMeasure ten_each = [](const SubtitleRun& run) { return static_cast<int>(run.text.size()) * 10; };
  auto wrap = [&](const char* event, int width) {
    SubtitleCue cue = ParseSubtitleEvent(event, SubtitleScript{});
    cue.lines = WrapSubtitleLines(cue.lines, width, ten_each);
    return Show(cue);
  };
  EXPECT_EQ(wrap("the quick brown fox", 100), "the quick |brown fox");
  EXPECT_EQ(wrap("我们现在就去你在这里等我", 50), "我们现在就|去你在这里|等我");
  EXPECT_EQ(wrap("我们 go{\\i1}now{\\i0}好", 60), "我们 |go<i>now好");  // one word across the style
  EXPECT_EQ(wrap("unbreakablewordlongerthanthewidth next", 100), "unbreakablewordlongerthanthewidth |next");
  EXPECT_EQ(wrap("一二三四五六七八九十", 20), "一二|三四|五六|七八");  // four lines at most
  EXPECT_EQ(wrap("a\\Nb\\Nc\\Nd\\Ne\\Nf", 100), "a|b|c|d");
}

TEST(SubtitleFiles, FilesBesideAVideoAndAddressesBesideAWebItem) {
  const std::vector<std::u16string> folder = {
      u"Film.mkv",  u"Film.zh-CN.ass", u"film.SRT", u"Film.简体.srt", u"Film.chs.srt",     u"Film 2.srt",   u"Film.nfo",
      u"Films.srt", u"Film..srt",      u"Film.vtt", u"Other.srt",     u"Film.chs.srt.bak", u"Film.cht.SSA",
  };
  EXPECT_EQ(SubtitleFilesFor(u"Film.mkv", folder),
            (std::vector<std::u16string>{u"Film.chs.srt", u"Film.cht.SSA", u"film.SRT", u"Film.vtt", u"Film.zh-CN.ass",
                                         u"Film.简体.srt"}));
  EXPECT_EQ(SubtitleFileLabel(u"Film.mkv", u"Film.chs.srt"), u"chs");
  EXPECT_EQ(SubtitleFileLabel(u"Film.mkv", u"Film.简体.srt"), u"简体");
  EXPECT_EQ(SubtitleFileLabel(u"Film.mkv", u"film.SRT"), u"SRT");
  EXPECT_TRUE(SubtitleFilesFor(u"", folder).empty());
  EXPECT_TRUE(IsSubtitleFileFor(u"My.Film.2020.mp4", u"My.Film.2020.en.srt"));
  EXPECT_FALSE(IsSubtitleFileFor(u"My.Film.2020.mp4", u"My.Film.srt"));

  EXPECT_EQ(SubtitleAddressesFor("http://site/media/ep1.mp4?k=1#t"),
            (std::vector<std::string>{"http://site/media/ep1.srt", "http://site/media/ep1.ass",
                                      "http://site/media/ep1.ssa", "http://site/media/ep1.vtt"}));
  EXPECT_EQ(SubtitleAddressesFor("https://site/v/noextension").front(), "https://site/v/noextension.srt");
  EXPECT_TRUE(SubtitleAddressesFor("http://site/").empty());
  EXPECT_TRUE(SubtitleAddressesFor("http://site").empty());
  EXPECT_TRUE(SubtitleAddressesFor("C:\\Media\\a.mp4").empty());
}

TEST(EmbeddedSubtitles, TracksGrowAsTheyAreReadWithoutRepeatsAndWhatWasTakenStaysAsItWas) {
  EmbeddedSubtitles embedded;
  SubtitleScript script;
  script.styles.push_back(SubtitleStyle{"Top", 20, false, false, false, true});
  embedded.SetScript(1, script);
  EXPECT_EQ(embedded.Track(1), nullptr) << "no track before its first event";
  embedded.Add(1, 3000, 4000, "1,0,Top,,0,0,0,,second");
  const auto first = embedded.Track(1);
  ASSERT_NE(first, nullptr);
  // Read again after a seek back, and an earlier one read after it.
  embedded.Add(1, 3000, 4000, "1,0,Top,,0,0,0,,second");
  embedded.Add(1, 1000, 2000, "0,0,Top,,0,0,0,,first");
  embedded.Add(1, 5000, 5000, "2,0,Top,,0,0,0,,no length");
  embedded.Add(1, 6000, 7000, "3,0,Top,,0,0,0,,{\\p1}m 0 0 l 10 10");  // a drawing only
  embedded.Add(99, 0, 1000, "0,0,Default,,0,0,0,,a track past the bound");
  const auto now = embedded.Track(1);
  EXPECT_EQ(first->size(), 1u) << "what the window thread holds does not change under it";
  ASSERT_EQ(now->size(), 2u);
  EXPECT_EQ(now->ShowingAt(1500), std::vector<std::size_t>{0});
  EXPECT_TRUE(now->at(0).cue.top) << "the script of the track is its own";
  EXPECT_EQ(embedded.Track(0), nullptr);
  EXPECT_EQ(embedded.Track(99), nullptr);
}

}  // namespace
