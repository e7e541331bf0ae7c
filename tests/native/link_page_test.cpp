// What the link-list pane reads of a page.
#include "play/panes/link_page.h"

#include <gtest/gtest.h>

#include "common/codepage.h"
#include "play/lists/list_page.h"
#include "play/panes/pane_history.h"

namespace {

TEST(LinkPage, ListPagesGiveTheirRowsAsLinks) {
  const std::u16string page =
      BuildListPage({u"1|%u7B2C1%u96C6|l|m|1|1|0", u"junk", u"3|a%20%22b%22|l|m|1|1|0"}, 1, SystemCodePage());
  const LinkPage links = ParseLinkPage(page, u"C:\\play\\c.htm");
  ASSERT_EQ(links.links.size(), 4u);
  EXPECT_EQ(links.links[0], (PageLink{u"open://1", u"·第1集", u"第1集"}));
  EXPECT_EQ(links.links[1], (PageLink{u"delk://1", u"删除", u""}));  // the icon's alt text
  EXPECT_EQ(links.links[2].text, u"·a \"b\"");
  EXPECT_EQ(links.links[3].href, u"delk://3");
}

TEST(LinkPage, CatalogueLinksTitlesEntitiesAndScripts) {
  const std::u16string html =
      u"<html><head><TITLE> 影视 &amp; 电影 </TITLE><script>var s='<a href=\"x\">no</a>';</script></head>"
      u"<body><!-- <a href=no>comment</a> -->"
      u"<A HREF='eebovod://12-3-1-%u661F'>星河&nbsp;彼岸</A>"
      u"<a href=pp.htm?1-2>第2集 &#x4E0A; &#26222;</a>"
      u"<a href=\"../list/tvlist.html\"><img src=a.gif alt=\"电视剧\"></a>"
      u"<a name=anchor>not a link</a>"
      u"<a href=\"http://other.example/x\" title=\"外链\"></a>"
      u"<a href=\"//cdn.example/y.htm\">cdn</a>"
      u"<a href=open://5>unclosed";
  const LinkPage page = ParseLinkPage(html, u"http://127.0.0.1:8000/soft/index.htm?x=1");
  EXPECT_EQ(page.title, u"影视 & 电影");
  ASSERT_EQ(page.links.size(), 6u);
  EXPECT_EQ(page.links[0], (PageLink{u"eebovod://12-3-1-%u661F", u"星河 彼岸", u""}));
  EXPECT_EQ(page.links[1].href, u"http://127.0.0.1:8000/soft/pp.htm?1-2");
  EXPECT_EQ(page.links[1].text, u"第2集 上 普");
  EXPECT_EQ(page.links[2], (PageLink{u"http://127.0.0.1:8000/list/tvlist.html", u"电视剧", u""}));
  EXPECT_EQ(page.links[3].text, u"外链");
  EXPECT_EQ(page.links[4].href, u"http://cdn.example/y.htm");
  EXPECT_EQ(page.links[5], (PageLink{u"open://5", u"unclosed", u""}));
}

TEST(LinkPage, AddressesResolveAgainstHttpAndWindowsPaths) {
  EXPECT_EQ(ResolveAddress(u"http://h/a/b/c.htm", u"d.htm"), u"http://h/a/b/d.htm");
  EXPECT_EQ(ResolveAddress(u"http://h/a/b/c.htm", u"/d.htm?x=1#y"), u"http://h/d.htm?x=1#y");
  EXPECT_EQ(ResolveAddress(u"http://h/a/b/", u"../../../d.htm"), u"http://h/d.htm");
  EXPECT_EQ(ResolveAddress(u"http://h", u"d.htm"), u"http://h/d.htm");
  EXPECT_EQ(ResolveAddress(u"http://h/a.htm?q=/x/y", u"b.htm"), u"http://h/b.htm");
  EXPECT_EQ(ResolveAddress(u"http://h/a.htm", u"#top"), u"http://h/a.htm#top");
  EXPECT_EQ(ResolveAddress(u"C:\\play\\c.htm", u"i.gif"), u"C:\\play\\i.gif");
  EXPECT_EQ(ResolveAddress(u"C:\\play\\c.htm", u"../x/f.htm"), u"C:\\x\\f.htm");
  EXPECT_EQ(ResolveAddress(u"C:\\play\\c.htm", u"D:\\v\\a.avi"), u"D:\\v\\a.avi");
  EXPECT_EQ(ResolveAddress(u"C:\\play\\c.htm", u"delk://2"), u"delk://2");
  EXPECT_EQ(ResolveAddress(u"about:blank", u"x.htm"), u"x.htm");
  // A resolved address is final, even against a base with blanks around it or no real scheme.
  EXPECT_EQ(ResolveAddress(u" http://h/a/ \r\n", u""), u"http://h/a/");
  EXPECT_EQ(ResolveAddress(u"://h/a/", u"x.htm"), u"x.htm");
  EXPECT_EQ(ResolveAddress(u"ht\u00F6tp://h/a/", u"x.htm"), u"x.htm");
}

TEST(LinkPage, PageBytesAreUtf8OrTheCodePage) {
  EXPECT_EQ(DecodePageBytes("\xE7\xAC\xAC"
                            "1"),
            u"第1");
  EXPECT_EQ(DecodePageBytes("\xB5\xDA"
                            "1"),
            u"第1");  // code page 936
  EXPECT_EQ(DecodePageBytes("\xEF\xBB\xBF"
                            "ok"),
            u"ok");
}

TEST(PaneHistory, BackAndForward) {
  PaneHistory h;
  EXPECT_FALSE(h.Back());
  h.Visit(u"a");
  h.Visit(u"b");
  h.Visit(u"b");
  h.Visit(u"c");
  EXPECT_EQ(h.Back(), u"b");
  EXPECT_EQ(h.Back(), u"a");
  EXPECT_FALSE(h.Back());
  EXPECT_EQ(h.Forward(), u"b");
  h.Visit(u"d");
  EXPECT_FALSE(h.Forward());
  EXPECT_EQ(h.Back(), u"b");
}

}  // namespace
