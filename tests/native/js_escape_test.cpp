#include "play/text/js_escape.h"

#include <gtest/gtest.h>

namespace {

struct EscapeCase {
  std::u16string text;
  std::u16string escaped;
};

// Expected values are what the script function escape() answers for the same text.
const EscapeCase kCases[] = {
    {u"", u""},
    {u"AZaz09@*_+-./", u"AZaz09@*_+-./"},
    {u"a b&c=d?e#f%g", u"a%20b%26c%3Dd%3Fe%23f%25g"},
    {u"it's \"quoted\"\r\n", u"it%27s%20%22quoted%22%0D%0A"},
    {u"\u00e9\u00ff\u0100", u"%E9%FF%u0100"},
    {u"绮映影视盒", u"%u7EEE%u6620%u5F71%u89C6%u76D2"},
    {u"第1集", u"%u7B2C1%u96C6"},
    {u"\U0001F3AC", u"%uD83C%uDFAC"},  // outside the BMP: two surrogates
    {u"vexo://a|b|电影.rmvb", u"vexo%3A//a%7Cb%7C%u7535%u5F71.rmvb"},
};

TEST(JsEscape, MatchesTheScriptFunctionAndRoundTrips) {
  for (const auto& c : kCases) {
    EXPECT_EQ(JsEscape(c.text), c.escaped);
    EXPECT_EQ(JsUnescape(c.escaped), c.text);
  }
}

TEST(JsEscape, QuotesLineBreaksAndScriptAreJustText) {
  // Built as script source these would break the expression or run code; here they are data.
  const std::u16string injection = u"');WScript.Quit();('\n";
  EXPECT_EQ(JsEscape(injection), u"%27%29%3BWScript.Quit%28%29%3B%28%27%0A");
  EXPECT_EQ(JsUnescape(JsEscape(injection)), injection);
  EXPECT_EQ(JsUnescape(u"'\n\""), u"'\n\"");
}

TEST(JsUnescape, LeavesMalformedSequencesAsTheyAre) {
  EXPECT_EQ(JsUnescape(u"%"), u"%");
  EXPECT_EQ(JsUnescape(u"100%"), u"100%");
  EXPECT_EQ(JsUnescape(u"%4"), u"%4");
  EXPECT_EQ(JsUnescape(u"%zz%41"), u"%zzA");
  EXPECT_EQ(JsUnescape(u"%u12"), u"%u12");
  EXPECT_EQ(JsUnescape(u"%u12G4"), u"%u12G4");
  EXPECT_EQ(JsUnescape(u"%u004"), u"%u004");
  EXPECT_EQ(JsUnescape(u"%u0041%u00e9"), u"A\u00e9");  // lower-case hex digits are accepted
  EXPECT_EQ(JsUnescape(u"%%41"), u"%A");
  EXPECT_EQ(JsUnescape(u"%uD83C"), std::u16string(1, char16_t{0xD83C}));  // a lone surrogate is kept
}

}  // namespace
