#include "common/text/utf.h"

#include <gtest/gtest.h>

#include "common/codepage.h"

namespace {

TEST(Utf, RoundTripsAndReplacesMalformedInput) {
  const std::string text = "a\xC3\xA9\xE7\xBB\xAE\xF0\x9F\x8E\xAC";  // a é 绮 🎬
  EXPECT_EQ(Utf8ToUtf16(text), u"a\u00e9\u7eee\U0001F3AC");
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
  EXPECT_EQ(Utf8ToUtf16("\xE7\xBB"), u"\uFFFD\uFFFD");  // cut short
  EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD");  // overlong
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t{0xDC00})), "\xEF\xBF\xBD");
}

TEST(CodePage, HostStandInSpeaksCodePage936) {
  EXPECT_EQ(ToAnsi(u"绮映影视盒 ok"), "\xE7\xB2\xD3\xB3\xD3\xB0\xCA\xD3\xBA\xD0 ok");
  EXPECT_EQ(FromAnsi("\xE7\xB2\xD3\xB3 ok"), u"绮映 ok");
  EXPECT_EQ(ToAnsi(u"\u0e01"), "?");
  EXPECT_TRUE(IsDoubleByteInAnsi(u'绮'));
  EXPECT_FALSE(IsDoubleByteInAnsi(u'a'));
}

TEST(Utf, FittingNeverCutsACharacterInTwo) {
  const std::u16string text = std::u16string(254, u'a') + u"\U0001F600" + u"b";
  EXPECT_EQ(FitUtf16(text, 255).size(), 254u);  // the emoji's first half would be the 255th unit
  EXPECT_EQ(FitUtf16(text, 256).size(), 256u);
  EXPECT_EQ(FitUtf16(std::u16string(300, u'中'), 255).size(), 255u);
  EXPECT_EQ(FitUtf16(u"short", 255), u"short");
}

}  // namespace
