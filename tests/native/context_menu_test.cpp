// The program's menus on the pages: which page and which link get one, and what its entries do.
#include <gtest/gtest.h>

#include "tests/native/main_window_fixture.h"

namespace {

class ContextMenuTest : public MainWindowFixture {
 protected:
  ContextMenuTest() : MainWindowFixture(u"http://site/soft/") {}
  std::vector<std::string> Menu(ControlName pane, std::u16string_view link, int answer) {
    host.menus.clear();
    host.navigations.clear();
    host.menu_answers = {answer};
    window.PageContextMenu(pane, link);
    host.menu_answers.clear();
    return host.menus;
  }
};

TEST_F(ContextMenuTest, HistoryRowsOfferPlayAndDeleteAndOtherLinksNothing) {
  EXPECT_TRUE(Menu(ba1::Web3, u"delk://4", 0).empty());  // the row's delete link
  EXPECT_TRUE(Menu(ba1::Web3, u"", 0).empty());          // empty space
  EXPECT_TRUE(Menu(ba1::Web4, u"open://4", 0).empty());  // the local list has none
  EXPECT_TRUE(Menu(ba1::Web2, u"open://4", 0).empty());
  EXPECT_TRUE(host.navigations.empty());

  EXPECT_EQ(Menu(ba1::Web3, u"open://4", 0), (std::vector<std::string>{"播放选定|删除任务||删除已下载文件|"}));
  EXPECT_EQ(host.navigations, (std::vector<std::string>{"Web3 open://4"}));
  Menu(ba1::Web5, u"open://7/", 1);
  EXPECT_EQ(host.navigations, (std::vector<std::string>{"Web3 delk://7/"}));
  Menu(ba1::Web5, u"open://7/", -1);  // dismissed
  EXPECT_TRUE(host.navigations.empty());
}

TEST_F(ContextMenuTest, TheCatalogueMenuNavigatesEditsAndGoesHome) {
  EXPECT_EQ(Menu(ba1::Web1, u"", 6), (std::vector<std::string>{"后退|前进|刷新||复制|粘贴|主页|"}));
  EXPECT_EQ(host.navigations, (std::vector<std::string>{"Web1 http://site/soft/"}));
  std::string done;
  for (int entry : {0, 1, 2, 4, 5}) {
    Menu(ba1::Web1, u"eebovod://1-2-3-x", entry);
    done += host.navigations.at(0) + "|";
  }
  EXPECT_EQ(done, "Web1 back|Web1 forward|Web1 refresh|Web1 copy|Web1 paste|");
}

}  // namespace
