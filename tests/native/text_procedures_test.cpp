#include "play/text/text_procedures.h"

#include "common/text/utf.h"
#include "common/text/web_address.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatPlayTime, MinutesAndSecondsWithHoursWhenThereAreAny) {
  EXPECT_EQ(FormatPlayTime(0), u"00:00");
  EXPECT_EQ(FormatPlayTime(65), u"01:05");
  EXPECT_EQ(FormatPlayTime(75), u"01:15");
  EXPECT_EQ(FormatPlayTime(3599), u"59:59");
  EXPECT_EQ(FormatPlayTime(3600), u"1:00:00");
  EXPECT_EQ(FormatPlayTime(3725), u"1:02:05");
  EXPECT_EQ(FormatPlayTime(36000 + 61), u"10:01:01");
  EXPECT_EQ(FormatPlayTime(-1), u"00:00");
}

TEST(PathText, FileNameAndExtension) {
  EXPECT_EQ(FileNameOfPath(u"C:\\影视\\第1集.rmvb"), u"第1集.rmvb");
  EXPECT_EQ(FileNameOfPath(u"movie.avi"), u"");
  EXPECT_EQ(FileNameOfPath(u"C:\\dir\\"), u"");
  EXPECT_EQ(StripExtension(u"a.b.rmvb"), u"a.b");
  EXPECT_EQ(StripExtension(u"noext"), u"");
  EXPECT_EQ(StripExtension(u".hidden"), u"");
}

TEST(TruncateToByteWidth, CountsDoubleByteCharactersTwiceUnderCodePage936) {
  SystemCodePage cp936;
  EXPECT_EQ(TruncateToByteWidth(u"绮映ab", 6, cp936), u"绮映ab");
  EXPECT_EQ(TruncateToByteWidth(u"绮映ab", 5, cp936), u"绮映a");
  EXPECT_EQ(TruncateToByteWidth(u"a绮b", 2, cp936), u"a");
  // Nine characters fit a width of 18 whatever they are; ten double-byte ones are cut to nine.
  EXPECT_EQ(TruncateToByteWidth(u"一二三四五六七八九", 18, cp936), u"一二三四五六七八九");
  EXPECT_EQ(TruncateToByteWidth(u"一二三四五六七八九十", 18, cp936), u"一二三四五六七八九");
  EXPECT_EQ(TruncateToByteWidth(u"abcdefghijklmnopqrstu", 18, cp936), u"abcdefghijklmnopqr");
  // A character the code page lacks becomes '?' there and counts 1.
  EXPECT_EQ(TruncateToByteWidth(u"\u0e01\u0e02\u0e03", 2, cp936), u"\u0e01\u0e02");
  EXPECT_EQ(TruncateToByteWidth(u"abc", 0, cp936), u"");
}

TEST(TextBetween, MarkersIncludedOrExcluded) {
  const std::u16string line = u"<Item Defaultsavepath=\"D:\\下载\\\" Other=\"x\"/>";
  EXPECT_EQ(TextBetween(line, u"Defaultsavepath=\"", u"\"", 2), u"D:\\下载\\");
  EXPECT_EQ(TextBetween(u"a[b]c", u"[", u"]", 1), u"[b]");
  EXPECT_EQ(TextBetween(u"a[b]c", u"[", u"]", 2), u"b");
  EXPECT_EQ(TextBetween(u"a[]c", u"[", u"]", 2), u"");
  EXPECT_EQ(TextBetween(u"a]b[c]", u"[", u"]", 2), u"c");  // the end marker is looked for after the start
}

TEST(TextBetween, NothingWhereThePositionsFail) {
  EXPECT_EQ(TextBetween(u"abc", u"[", u"]", 1), std::nullopt);   // missing start marker
  EXPECT_EQ(TextBetween(u"a[bc", u"[", u"]", 2), std::nullopt);  // missing end marker
  EXPECT_EQ(TextBetween(u"a[b]c", u"[", u"]", 3), std::nullopt);
  EXPECT_EQ(TextBetween(u"", u"[", u"]", 1), std::nullopt);
  // Mode 1 without an end marker: the length comes out negative once the start is far enough in.
  EXPECT_EQ(TextBetween(u"abcdef[g", u"[", u"]", 1), std::nullopt);
  // Mode 2 without the start marker starts searching at the marker's length.
  EXPECT_EQ(TextBetween(u"ab]cd]", u"[[", u"]", 2), u"b");
}

}  // namespace

// What may leave the program: addresses to the shell, media from the site to the player,
// folders to list and delete in. Each row is one address and the three answers.
TEST(AddressChecks, ShellPlayerAndFolderEachTakeOnlyTheirOwn) {
  struct Case {
    const char16_t* text;
    bool to_shell, from_site, full_path;
  };
  const Case cases[] = {
      {u"http://site/soft/a.mp4", true, true, false},
      {u"HTTPS://site/a?b=1&c=2", true, true, false},
      {u"vexo://m|9|ABCDEFG.rmvb|", false, true, false},
      {u"http://x/a b", false, true, false},
      {u"http://x/\"--flag", false, true, false},
      {u"http://x/\r\nHost: y", false, false, false},
      {u"file:///C:/Windows/win.ini", false, false, false},
      {u"FILE:///Z:/dev/zero", false, false, false},
      {u"C:\\Media\\a.avi", false, false, true},
      {u"C:/Media/a.avi", false, false, true},
      {u"C://x", false, false, true},
      {u"\\\\host\\share\\a.avi", false, false, true},
      {u"//host/share/a.avi", false, false, true},
      {u"\\\\.\\PhysicalDrive0", false, false, false},
      {u"\\\\?\\C:\\a", false, false, false},
      {u"\\Movies", false, false, false},
      {u"C:Movies", false, false, false},
      {u"Movies\\a.avi", false, false, false},
      {u"", false, false, false},
      {u"://x", false, false, false},
      {u"1a://x", false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.text));
    EXPECT_EQ(IsOpenableWebAddress(c.text), c.to_shell);
    EXPECT_EQ(IsSiteMediaAddress(c.text), c.from_site);
    EXPECT_EQ(IsFullWindowsPath(c.text), c.full_path);
  }
}
