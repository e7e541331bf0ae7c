// The test prefix runs with code page 936, as the target systems do; these prove it and that
// the width rule sees double-byte characters through the real conversion.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/codepage.h"
#include "play/text/text_procedures.h"

namespace {

TEST(SystemCodePage, Is936AndConvertsChineseToDoubleBytes) {
  EXPECT_EQ(GetACP(), 936u);
  EXPECT_EQ(ToAnsi(u"绮映影视盒 ok"), "\xE7\xB2\xD3\xB3\xD3\xB0\xCA\xD3\xBA\xD0 ok");
  EXPECT_EQ(FromAnsi("\xE7\xB2\xD3\xB3 ok"), u"绮映 ok");
  EXPECT_TRUE(IsDoubleByteInAnsi(u'绮'));
  EXPECT_FALSE(IsDoubleByteInAnsi(u'a'));
}

TEST(SystemCodePage, TruncateToByteWidthCountsChineseTwice) {
  SystemCodePage code_page;
  EXPECT_EQ(TruncateToByteWidth(u"绮映ab", 6, code_page), u"绮映ab");
  EXPECT_EQ(TruncateToByteWidth(u"绮映ab", 5, code_page), u"绮映a");
  EXPECT_EQ(TruncateToByteWidth(u"一二三四五六七八九十", 18, code_page), u"一二三四五六七八九");
}

}  // namespace
