#include "tests/shared/tip_item_suite.h"

#include "common/text/utf.h"
#include "tip_popup/tip_item.h"

namespace {

std::string Document(const std::string& items) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<vexotips enable=\"1\" updatetime=\"2026-12-07\">\r\n" + items +
         "</vexotips>\r\n";
}

std::string TextItem(const std::string& id, const std::string& more) {
  return "<tip id=\"" + id + "\" tiptype=\"1\" " + more +
         " mtitle=\"\xE6\x96\xB0\xE7\x89\x87\xE4\xB8\x8A\xE7\xBA\xBF\" mcontent=\"body &amp; more\" "
         "clickurl=\"http://x.invalid/a b\"/>\r\n";
}

class Popup {
 public:
  explicit Popup(const TipBackend& backend) : env_(backend.make()), folder_text_(backend.folder_text(folder_)) {
    SetProgramPath(app, folder_text_ + u"VexoTip.exe");
  }
  bool Read(std::u16string_view argument) { return ReadTipItem(*env_, app, argument); }
  void Write(const std::string& bytes, std::u16string_view name = u"VexoTips.xml") { folder_.Write(name, bytes); }
  std::string Bytes(std::u16string_view name = u"VexoTips.xml") const { return folder_.Read(name); }
  bool Has(std::u16string_view name) const { return folder_.Has(name); }
  // The sticktime of the item with this id (the n-th of that id), as the document now holds it.
  std::string StickTime(const std::string& id, int nth = 0) const {
    const std::string doc = Bytes();
    std::size_t at = 0;
    for (int i = 0; i <= nth; ++i) {
      at = doc.find("id=\"" + id + "\"", at);
      if (at == std::string::npos) return "<no item>";
      at += id.size();
    }
    const auto start = doc.rfind('<', at);
    const auto end = doc.find('>', at);
    const std::string item = doc.substr(start, end - start);
    const auto stick = item.find("sticktime=\"");
    if (stick == std::string::npos) return "<none>";
    return item.substr(stick + 11, item.find('"', stick + 11) - stick - 11);
  }
  const std::u16string& folder_text() const { return folder_text_; }
  TipEnvironment* env() const { return env_.get(); }

  TipApp app;

 private:
  TestFolder folder_;
  std::unique_ptr<TipEnvironment> env_;
  std::u16string folder_text_;
};

}  // namespace

TEST_P(TipItemSuite, EachShowingCountsDownToZero) {
  Popup popup(GetParam());
  popup.Write(Document(TextItem("7", "ver=\"1\" sticktime=\"2\"")));
  EXPECT_TRUE(popup.Read(u"7"));
  EXPECT_EQ(popup.StickTime("7"), "1");
  EXPECT_EQ(popup.app.tip_type, 1);
  EXPECT_EQ(popup.app.title, u"新片上线");
  EXPECT_EQ(popup.app.content, u"body & more");
  EXPECT_EQ(popup.app.click_url, u"http://x.invalid/a b");
  EXPECT_TRUE(popup.Read(u"7"));
  EXPECT_EQ(popup.StickTime("7"), "0");
  const std::string exhausted = popup.Bytes();
  EXPECT_FALSE(popup.Read(u"7"));
  EXPECT_EQ(popup.Bytes(), exhausted);
  EXPECT_TRUE(popup.Has(u"VexoTips.xml"));
}

TEST_P(TipItemSuite, TheFirstItemOfAnIdDecidesAndIdsIgnoreCase) {
  Popup popup(GetParam());
  popup.Write(Document(TextItem("dup", "ver=\"0\" sticktime=\"0\"") + TextItem("dup", "ver=\"0\" sticktime=\"5\"") +
                       TextItem("MiXeD", "ver=\"0\" sticktime=\"3\"")));
  EXPECT_FALSE(popup.Read(u"dup"));
  EXPECT_EQ(popup.StickTime("dup", 1), "5");
  EXPECT_TRUE(popup.Read(u"mixed"));
  EXPECT_EQ(popup.StickTime("MiXeD"), "2");
  EXPECT_FALSE(popup.Read(u"nobody"));  // no item: saved unchanged, still there
  EXPECT_EQ(popup.StickTime("MiXeD"), "2");
}

TEST_P(TipItemSuite, VersionAndTypeMustBeKnown) {
  Popup popup(GetParam());
  popup.Write(Document(TextItem("v0", "ver=\"0\" sticktime=\"1\"") + TextItem("v1", "ver=\"1\" sticktime=\"1\"") +
                       TextItem("v2", "ver=\"2\" sticktime=\"1\"") + TextItem("none", "sticktime=\"1\"") +
                       "<tip id=\"notype\" ver=\"1\" sticktime=\"1\"/>\r\n"
                       "<tip id=\"type2\" tiptype=\"2\" ver=\"1\" sticktime=\"1\"/>\r\n"));
  EXPECT_TRUE(popup.Read(u"v0"));
  EXPECT_TRUE(popup.Read(u"v1"));
  const std::string before = popup.Bytes();
  for (const char16_t* id : {u"v2", u"none", u"notype", u"type2"}) {
    EXPECT_FALSE(popup.Read(id));
    EXPECT_EQ(popup.Bytes(), before);  // a refused item leaves the file as it was
  }
}

TEST_P(TipItemSuite, FlashItemsBringSizeMovieAndPlacement) {
  Popup popup(GetParam());
  popup.Write(
      Document("<tip id=\"f\" tiptype=\"0\" ver=\"1\" sticktime=\" 4 \" width=\"300\" height=\"200\" pos=\"3\" "
               "localpath=\"C:\\m\\a.swf\"/>\r\n"
               "<tip id=\"g\" tiptype=\"0\" ver=\"1\" sticktime=\"1\" width=\"x\"/>\r\n"
               "<tip id=\"h\" tiptype=\"0\" ver=\"1\" sticktime=\"1\" pos=\"-7\"/>\r\n"));
  ASSERT_TRUE(popup.Read(u"f"));
  EXPECT_EQ(popup.app.tip_type, 0);
  EXPECT_EQ(popup.app.width, 300);
  EXPECT_EQ(popup.app.height, 200);
  EXPECT_EQ(popup.app.placement, 3);
  EXPECT_EQ(popup.app.local_path, u"C:\\m\\a.swf");
  EXPECT_EQ(popup.StickTime("f"), "3");

  Popup g(GetParam());
  g.Write(popup.Bytes());
  ASSERT_TRUE(g.Read(u"g"));
  EXPECT_EQ(g.app.width, 0);    // no digits
  EXPECT_EQ(g.app.height, -1);  // absent
  EXPECT_EQ(g.app.placement, 2);
  ASSERT_TRUE(g.Read(u"h"));
  EXPECT_EQ(g.app.placement, 2);
}

TEST_P(TipItemSuite, OnlyAMovieInTheProgramsOwnFolderMayPlay) {
  Popup popup(GetParam());
  popup.Write("movie", u"a.swf");
  popup.Write("skin", u"PopMessage.xml");
  const std::u16string own = popup.folder_text();
  struct Case {
    std::u16string path;
    bool usable;
  };
  const Case cases[] = {
      {own + u"a.swf", true},
      {own + u"gone.swf", false},
      {own + u"PopMessage.xml", false},
      {own + u"VexoTip.exe", false},
      {own + u"sub\\a.swf", false},
      {own + u"..\\a.swf", false},
      {u"\\\\evilhost\\share\\x.swf", false},
      {u"C:\\elsewhere\\a.swf", false},
      {u"", false},
  };
  for (const Case& c : cases) {
    popup.app.local_path = c.path;
    EXPECT_EQ(FlashMovieUsable(*popup.env(), popup.app), c.usable) << Utf16ToUtf8(c.path);
  }
}

TEST_P(TipItemSuite, ADocumentGivenByPathIsDeletedOnlyOnceRead) {
  Popup popup(GetParam());
  const std::string doc = Document(TextItem("1", "ver=\"1\" sticktime=\"1\""));
  const std::u16string path = popup.folder_text() + u"handed.xml";
  popup.Write(doc, u"handed.xml");
  EXPECT_TRUE(popup.Read(path));
  EXPECT_FALSE(popup.Has(u"handed.xml"));

  popup.Write(Document(TextItem("1", "ver=\"1\" sticktime=\"0\"")), u"handed.xml");
  EXPECT_FALSE(popup.Read(path));
  EXPECT_TRUE(popup.Has(u"handed.xml"));  // exhausted: left on disk

  popup.Write(Document(TextItem("2", "ver=\"1\" sticktime=\"3\"")), u"handed.xml");
  EXPECT_FALSE(popup.Read(path));
  EXPECT_FALSE(popup.Has(u"handed.xml"));  // no item "1": deleted all the same
  EXPECT_FALSE(popup.Has(u"VexoTips.xml"));
}

TEST_P(TipItemSuite, NothingToReadWritesNothing) {
  Popup popup(GetParam());
  EXPECT_FALSE(popup.Read(u""));
  EXPECT_FALSE(popup.Read(u"1"));  // no document
  EXPECT_FALSE(popup.Has(u"VexoTips.xml"));
  for (const std::string& bad :
       {std::string("<tips><tip id=\"1\" ver=\"1\" tiptype=\"1\" sticktime=\"1\"/></tips>"),
        Document(TextItem("1", "ver=\"1\" sticktime=\"1\"")).substr(0, 80), std::string("\xFF\xFE\x00<")}) {
    popup.Write(bad);
    EXPECT_FALSE(popup.Read(u"1"));
    EXPECT_EQ(popup.Bytes(), bad);
  }
}
