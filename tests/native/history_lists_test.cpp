// The history files and their pages, on real files in code page 936.
#include "play/lists/history_lists.h"

#include <gtest/gtest.h>

#include "common/codepage.h"
#include "common/text/utf.h"
#include "play/lists/list_page.h"
#include "play/native/files_std.h"
#include "tests/shared/test_folder.h"

namespace {

class HistoryListsTest : public testing::Test {
 protected:
  HistoryListsTest()
      : lists(files, code_page, folder.Text(), [this](std::u16string_view file, const std::u16string& page) {
          pages_written.push_back(Utf16ToUtf8(file) + " -> " + Utf16ToUtf8(page.substr(page.rfind(u'\\') + 1)));
        }) {
    folder.Write(u"date.dat", "\r\n");
    folder.Write(u"date_f.dat", "\r\n");
  }
  std::string Text(std::u16string_view name) { return Utf16ToUtf8(FromAnsi(folder.Read(name))); }

  TestFolder folder;
  StdFiles files;
  SystemCodePage code_page;
  std::vector<std::string> pages_written;
  HistoryLists lists;
};

TEST_F(HistoryListsTest, AddingAnItemAgainMovesItToTheTop) {
  lists.AddWebEntry(7, u"%u7B2C", u"1", u"vexo%3A//a", 3, 1, 0);
  lists.AddWebEntry(12, u"A", u"2", u"m12", 5, 2, 0);
  lists.AddWebEntry(7, u"B", u"9", u"m7", 3, 9, 61);
  EXPECT_EQ(Text(u"date.dat"), "7|B|9|m7|3|9|61\r\n12|A|2|m12|5|2|0\r\n");
  EXPECT_EQ(pages_written.back(), "date.dat -> c.htm");
  EXPECT_NE(Text(u"c.htm").find("href=open://1>·B<"), std::string::npos);
}

TEST_F(HistoryListsTest, SeparatorsAndLineBreaksInAFieldStayInsideIt) {
  folder.Write(u"date.dat", "5|old|l|m|1|1|0\r\n");
  lists.AddWebEntry(7, u"a|b\r\n6|x", u"l", u"m\n", 3, 1, 0);
  lists.AddLocalEntry(u"n|\r", u"C:\\v.avi", 4);
  EXPECT_EQ(Text(u"date.dat"), "7|a%7Cb%0D%0A6%7Cx|l|m%0A|3|1|0\r\n5|old|l|m|1|1|0\r\n");
  EXPECT_EQ(Text(u"date_f.dat"), "n%7C%0D|C:\\v.avi|4\r\n\r\n");
}

TEST_F(HistoryListsTest, AnAddKeepsTheFirstHundredOldLines) {
  std::string old;
  for (int i = 1; i <= 150; ++i) old += std::to_string(1000 + i) + "|n|l|m|1|1|0\r\n";
  folder.Write(u"date.dat", old);
  lists.AddWebEntry(1, u"new", u"l", u"m", 1, 1, 0);
  const std::string text = Text(u"date.dat");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 101);
  EXPECT_EQ(text.rfind("1100|n|l|m|1|1|0\r\n"), text.size() - 18);
}

TEST_F(HistoryListsTest, RemovingTheOnlyLineLeavesALineBreakAndTheEmptyPage) {
  lists.AddLocalEntry(u"a.avi", u"C:\\v\\a.avi", 0);
  folder.Write(u"date_f.dat", "a.avi|C:\\v\\a.avi|0\r\n");
  lists.RemoveEntry(kLocalListFile, 1);
  EXPECT_EQ(Text(u"date_f.dat"), "\r\n");
  EXPECT_NE(Text(u"f.htm").find("<tr><td colspan=2 align=center>暂无观看记录</td></tr>"), std::string::npos);

  folder.Write(u"date.dat", "1|a|l|m|1|1|0\r\nnot an entry\r\n3|c|l|m|1|1|0\r\n");
  lists.RemoveEntry(kWebListFile, 2);  // every line counts, entries or not
  EXPECT_EQ(Text(u"date.dat"), "1|a|l|m|1|1|0\r\n3|c|l|m|1|1|0\r\n");
}

TEST_F(HistoryListsTest, PositionsAreSavedInPlace) {
  folder.Write(u"date.dat", "5|a|l|m|1|1|0\r\njunk\r\nx|b|l|m|1|1|0\r\n6|c|l|m|1|2|9\r\n");
  lists.SaveWebPosition(6, 1234);
  EXPECT_EQ(Text(u"date.dat"), "5|a|l|m|1|1|0\r\nx|b|l|m|1|1|0\r\n6|c|l|m|1|2|1234\r\n");
  lists.SaveWebPosition(99, 1);  // unknown id: only the line without "|" went
  EXPECT_EQ(Text(u"date.dat"), "5|a|l|m|1|1|0\r\nx|b|l|m|1|1|0\r\n6|c|l|m|1|2|1234\r\n");

  lists.AddLocalEntry(u"a.avi", u"C:\\v\\a.avi", 0);
  lists.AddLocalEntry(u"b.avi", u"C:\\v\\b.avi", 0);
  lists.AddLocalEntry(u"a.avi", u"C:\\v\\a.avi", 0);  // opened twice: one entry, on top
  lists.SaveLocalPosition(u"C:\\v\\b.avi", 77);
  EXPECT_EQ(Text(u"date_f.dat"), "a.avi|C:\\v\\a.avi|0\r\nb.avi|C:\\v\\b.avi|77\r\n");
}

TEST_F(HistoryListsTest, PathsTheCodePageCannotHoldAreStoredInTheirShortForm) {
  HistoryLists with_short(files, code_page, folder.Text(), {}, [](const std::u16string& path) {
    return path == u"C:\\\u0e01\\a.avi" ? std::u16string(u"C:\\8A3F~1\\a.avi") : path;
  });
  with_short.AddLocalEntry(u"a.avi", u"C:\\\u0e01\\a.avi", 0);
  with_short.AddLocalEntry(u"b.avi", u"C:\\电影\\b.avi", 0);
  with_short.SaveLocalPosition(u"C:\\\u0e01\\a.avi", 5);
  EXPECT_EQ(Text(u"date_f.dat"), "b.avi|C:\\电影\\b.avi|0\r\na.avi|C:\\8A3F~1\\a.avi|5\r\n");

  // A volume without short names gives the path back as it is: there is nothing the list could
  // find again, so the file gets no entry (it would read "C:\?\c.avi") and the list is kept.
  with_short.AddLocalEntry(u"c.avi", u"C:\\\u0e02\\c.avi", 0);
  with_short.SaveLocalPosition(u"C:\\\u0e02\\c.avi", 9);
  EXPECT_EQ(Text(u"date_f.dat"), "b.avi|C:\\电影\\b.avi|0\r\na.avi|C:\\8A3F~1\\a.avi|5\r\n");
}

TEST_F(HistoryListsTest, LinesEndInCrLfCrOrLfAsTheSystemReadsThem) {
  folder.Write(u"date_f.dat", "a.avi|C:\\v\\a.avi|0\rb.avi|C:\\v\\b.avi|0\nc.avi|C:\\v\\c.avi|0\r\n");
  lists.SaveLocalPosition(u"C:\\v\\a.avi", 30);
  lists.SaveLocalPosition(u"C:\\v\\b.avi", 40);
  EXPECT_EQ(Text(u"date_f.dat"), "a.avi|C:\\v\\a.avi|30\r\nb.avi|C:\\v\\b.avi|40\r\nc.avi|C:\\v\\c.avi|0\r\n");
  EXPECT_EQ(lists.Line(kLocalListFile, 2), u"b.avi|C:\\v\\b.avi|40");
}

TEST_F(HistoryListsTest, PageRowsFollowLineNumbersAndEscapeTitles) {
  folder.Write(u"date.dat",
               ToAnsi(u"1|%u4E00%u4E8C%u4E09%u56DB%u4E94%u516D%u4E03%u516B%u4E5D%u5341%u58F9%u8D30|l|m|1|1|0\r\n"
                      u"no fields here\r\n"
                      u"3|a%20b%22%3E%3Cscript%3E|l|m|1|1|0\r\n"
                      u"4||l|m|1|1|0\r\n"));
  lists.WriteListPage(kWebListFile);
  const std::string page = Text(u"c.htm");
  EXPECT_NE(page.find("<a title=\"一二三四五六七八九十壹贰\" href=open://1>·一二三四五六七八九</a></td><td width=3%>"
                      "<a href=delk://1><img src=\"i.gif\" alt=\"删除\"></a></td></tr>"),
            std::string::npos);
  EXPECT_NE(page.find("<a title=\"a b&quot;&gt;&lt;script&gt;\" href=open://3>·a b&quot;&gt;&lt;script&gt;</a>"),
            std::string::npos);
  EXPECT_EQ(page.find("<script>"), std::string::npos);
  EXPECT_EQ(page.find("open://2"), std::string::npos);
  EXPECT_EQ(page.find("open://4"), std::string::npos);  // an empty title makes no row
  EXPECT_EQ(page.rfind("</script></body></html>\r\n\r\n"), page.size() - 27);
  EXPECT_EQ(page.find("<html><head><title></title><style type=\"text/css\">"), 0u);

  folder.Write(u"date_f.dat", "movie.avi|C:\\v\\movie.avi|0\r\n");
  lists.WriteListPage(kLocalListFile);
  EXPECT_NE(Text(u"f.htm").find("title=\"movie.avi\" href=open://1>·movie.avi<"), std::string::npos);
  EXPECT_EQ(pages_written.back(), "date_f.dat -> f.htm");
}

}  // namespace
