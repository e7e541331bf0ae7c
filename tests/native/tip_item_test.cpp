#include "tip_popup/tip_item.h"

#include "tests/native/fake_tip_environment.h"
#include "tests/shared/tip_item_suite.h"
#include "tip_popup/browser_command.h"

INSTANTIATE_TEST_SUITE_P(Pugixml, TipItemSuite,
                         testing::Values(TipBackend{"Pugixml", [] { return std::make_unique<FakeTipEnvironment>(); },
                                                    &FakeTipEnvironment::WindowsFolder}),
                         TipBackendName);

namespace {

TEST(TipArgument, PathsIdsAndNothing) {
  EXPECT_FALSE(ChooseTipDocument(u"", u"C:\\Tip\\"));
  auto id = ChooseTipDocument(u"12", u"C:\\Tip\\");
  ASSERT_TRUE(id);
  EXPECT_EQ(id->path, u"C:\\Tip\\VexoTips.xml");
  EXPECT_EQ(id->id, u"12");
  EXPECT_FALSE(id->delete_after);
  auto path = ChooseTipDocument(u"D:\\tips\\today.xml", u"C:\\Tip\\");
  ASSERT_TRUE(path);
  EXPECT_EQ(path->path, u"D:\\tips\\today.xml");
  EXPECT_EQ(path->id, u"1");
  EXPECT_TRUE(path->delete_after);
  // Two characters or fewer are always an id; ":\" at the very start is no path.
  EXPECT_EQ(ChooseTipDocument(u":\\", u"C:\\Tip\\")->id, u":\\");
  EXPECT_EQ(ChooseTipDocument(u":\\abc", u"C:\\Tip\\")->id, u":\\abc");
  EXPECT_EQ(ChooseTipDocument(u"\"C:\\a b.xml\"", u"C:\\Tip\\")->path, u"\"C:\\a b.xml\"");  // taken unchanged
}

TEST(TipNumber, TrimSignDigitsAndAbsence) {
  EXPECT_EQ(ReadTipNumber(std::nullopt), -1);
  EXPECT_EQ(ReadTipNumber(u" 12 \t"), 12);
  EXPECT_EQ(ReadTipNumber(u"+5"), 5);
  EXPECT_EQ(ReadTipNumber(u"-3"), -3);
  EXPECT_EQ(ReadTipNumber(u"12abc"), 12);
  EXPECT_EQ(ReadTipNumber(u"abc"), 0);
  EXPECT_EQ(ReadTipNumber(u""), 0);
  EXPECT_EQ(ReadTipNumber(u"- 3"), 0);
  EXPECT_EQ(ReadTipNumber(u"12345678901234567890123"), 1234567890123456789);  // first 19 characters
  EXPECT_EQ(ReadTipNumber(u"9999999999999999999"), 9223372036854775807);      // held at the largest
  EXPECT_EQ(ReadTipNumber(u"十2"), 0);
}

TEST(TipProgramPath, FolderKeepsItsBackslash) {
  TipApp app;
  SetProgramPath(app, u"C:\\Program Files\\Vexo\\VexoTip.exe");
  EXPECT_EQ(app.folder, u"C:\\Program Files\\Vexo\\");
  EXPECT_EQ(app.program_name, u"VexoTip.exe");
}

TEST(TipLink, OnlyPlainWebAddressesGoToTheBrowser) {
  for (const char16_t* address : {u"http://x.invalid/?a=1&b=2", u"HTTPS://x.invalid/%20", u"http://新闻.invalid/页"}) {
    EXPECT_TRUE(IsOpenableWebAddress(address)) << Utf16ToUtf8(address);
  }
  for (const char16_t* address :
       {u"http://x.invalid/a b", u"http://x -new-window", u"http://x\"\" --load-extension=evil", u"http://x/\r\n",
        u"file:///C:/Windows/notepad.exe", u"C:\\Windows\\calc.exe", u"javascript:alert(1)", u"http://", u"",
        u"http://x/\u3000y"}) {
    EXPECT_FALSE(IsOpenableWebAddress(address)) << Utf16ToUtf8(address);
  }
}

}  // namespace
