// The skin document: loading, layout and hit tests.
#include <gtest/gtest.h>

#include <map>

#include "common/xml/xml_doc_pugi.h"
#include "tests/native/fake_tip_environment.h"
#include "tests/shared/fixed_size_image.h"
#include "tests/shared/test_folder.h"
#include "tip_popup/skin/skin_loader.h"

namespace {

// Images by file name; any other file is missing.
struct FixedSizeImages final : SkinImageLoader {
  std::map<std::u16string, std::pair<long, long>> sizes;
  std::vector<std::u16string> asked;
  std::shared_ptr<SkinImage> Load(const std::u16string& path) override {
    asked.push_back(path);
    const auto name = path.substr(path.rfind(u'\\') + 1);
    auto it = sizes.find(name);
    if (it == sizes.end()) return nullptr;
    return std::make_shared<FixedSizeImage>(it->second.first, it->second.second);
  }
};

const SkinTextMeasure kSixPerChar = [](const std::u16string& text) { return static_cast<long>(text.size()) * 6; };

class SkinTest : public testing::Test {
 protected:
  std::unique_ptr<SkinElement> Load(const std::string& subview_children,
                                    const std::string& skin_attributes = "path=\"img\"") {
    folder.Write(u"PopMessage.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<skin " + skin_attributes +
                                        ">\n<!-- card -->\n<subview id=\"root\" offsetx=\"0\" offsety=\"0\" "
                                        "stretchx=\"0\" stretchy=\"0\" image=\"bg.bmp\">\n" +
                                        subview_children + "</subview>\n</skin>\n");
    auto doc = CreatePugiXmlDoc();
    auto root = LoadSkin(*doc, FakeTipEnvironment::WindowsFolder(folder), images, u"今日推荐", u"正文");
    if (root) root->Layout(0, 0, 256, 183);
    return root;
  }

  TestFolder folder;
  FixedSizeImages images;
};

TEST_F(SkinTest, KindsAttributesTablesAndFilledTexts) {
  images.sizes = {
      {u"bg.bmp", {256, 183}}, {u"close.bmp", {64, 16}}, {u"view.bmp", {320, 24}}, {u"title.bmp", {200, 20}}};
  auto root = Load(
      "<Button id=\"close\" image=\"close.bmp\" horizontal=\"right\" offsetx=\"6\" offsety=\"6\" zorder=\"2\" "
      "cursor=\"hand\"/>\n"
      "<button id=\"VIEW\" image=\"view.bmp\" text=\"true\" textleft=\"10\" texttop=\"2\" textcolor=\"#ff8000\" "
      "horizontal=\"center\" vertical=\"bottom\" offsetx=\"10\" offsety=\"8\" zorder=\"2\"/>\n"
      "<subtext id=\"maintext\" image=\"title.bmp\" offsetx=\"12\" offsety=\"30\" overcolor=\"#0000FF\" "
      "textcolor=\"oops\" zorder=\"1\"/>\n"
      "<window id=\"RICHEDIT_1\" offsetx=\"12\" offsety=\"56\" stretchx=\"12\" stretchy=\"40\" zorder=\"1\"/>\n"
      "<popwindow id=\"nolayer\" image=\"missing.bmp\"/>\n");
  ASSERT_TRUE(root);
  EXPECT_EQ(images.asked.front(), FakeTipEnvironment::WindowsFolder(folder) + u"img\\bg.bmp");
  ASSERT_EQ(root->children().size(), 5u);  // the comment is no element

  SkinElement* close = root->Find(u"CLOSE");
  ASSERT_TRUE(close);
  EXPECT_EQ(close->kind(), SkinKind::kButton);
  EXPECT_EQ(close->rect, (SkinRect{234, 6, 250, 22}));  // a quarter of the image wide, 6 from the right
  EXPECT_EQ(close->tooltip_string, kStringCloseTip);
  EXPECT_EQ(close->caption_string, 0);
  EXPECT_TRUE(close->hand_cursor);

  SkinElement* view = root->Find(u"view");
  EXPECT_EQ(view->caption_string, kStringViewCaption);
  EXPECT_EQ(view->tooltip_string, kStringViewTip);
  EXPECT_EQ(view->text_left, 10);
  EXPECT_EQ(view->text_color, 0x0080FFu);
  EXPECT_EQ(view->rect, (SkinRect{166, 151, 246, 175}));  // "center" anchors right and bottom

  SkinElement* title = root->Find(u"maintext");
  EXPECT_EQ(title->kind(), SkinKind::kTextLine);
  EXPECT_EQ(title->text, u"今日推荐");
  EXPECT_EQ(title->over_color, 0xFF0000u);
  EXPECT_EQ(title->text_color, 0u);  // does not parse: black

  SkinElement* rich = root->Find(u"RICHEDIT_1");
  EXPECT_EQ(rich->kind(), SkinKind::kWindowHolder);
  EXPECT_EQ(rich->text, u"正文");
  EXPECT_EQ(rich->rect, (SkinRect{12, 56, 244, 143}));  // stretched with the card

  SkinElement* unlayered = root->Find(u"nolayer");
  EXPECT_FALSE(unlayered->image);
  EXPECT_EQ(unlayered->rect, SkinRect{});  // never laid out
  EXPECT_EQ(root->LayeredChildren().size(), 4u);
}

TEST_F(SkinTest, StretchBeyondTheParentGivesZeroWidth) {
  images.sizes = {{u"bg.bmp", {256, 183}}};
  auto root = Load(
      "<plain id=\"a\" offsetx=\"20\" offsety=\"0\" stretchx=\"400\" stretchy=\"0\" zorder=\"0\"/>\n"
      "<plain id=\"b\" horizontal=\"right\" offsetx=\"20\" offsety=\"0\" stretchx=\"400\" zorder=\"0\"/>\n");
  EXPECT_EQ(root->Find(u"a")->rect, (SkinRect{20, 0, 20, 183}));
  EXPECT_EQ(root->Find(u"b")->rect, (SkinRect{236, 0, 236, 0}));
}

TEST_F(SkinTest, HitTestsTopLayerFirstThenDocumentOrder) {
  images.sizes = {{u"bg.bmp", {256, 183}}, {u"box.bmp", {100, 100}}, {u"title.bmp", {200, 20}}};
  auto root = Load(
      "<plain id=\"low\" image=\"box.bmp\" offsetx=\"0\" offsety=\"0\" zorder=\"0\"/>\n"
      "<plain id=\"first\" image=\"box.bmp\" offsetx=\"10\" offsety=\"0\" zorder=\"1000000000\"/>\n"
      "<plain id=\"second\" image=\"box.bmp\" offsetx=\"20\" offsety=\"0\" zorder=\"1000000000\"/>\n"
      "<plain id=\"hidden\" image=\"box.bmp\" offsetx=\"0\" offsety=\"0\"/>\n"
      "<subtext id=\"maintext\" image=\"title.bmp\" offsetx=\"20\" offsety=\"150\" zorder=\"0\"/>\n"
      "<controlwindow id=\"cw\" image=\"box.bmp\" offsetx=\"150\" offsety=\"0\" zorder=\"0\"/>\n"
      "<popwindow id=\"pw\" image=\"box.bmp\" offsetx=\"150\" offsety=\"100\" zorder=\"0\"/>\n");
  auto hit = [&](SkinHit kind, long x, long y) {
    SkinElement* e = root->HitTest(kind, x, y, kSixPerChar);
    return e ? e->id : std::u16string(u"<none>");
  };
  EXPECT_EQ(hit(SkinHit::kMouseMove, 50, 50), u"first");
  EXPECT_EQ(hit(SkinHit::kMouseMove, 5, 50), u"low");
  EXPECT_EQ(hit(SkinHit::kMouseMove, 250, 5), u"<none>");  // the subview root never takes hits
  // The title is four characters of 6 pixels, centred in its 200 pixels: 88 to 112 within it.
  EXPECT_EQ(hit(SkinHit::kMouseMove, 20 + 97, 160), u"maintext");
  EXPECT_EQ(hit(SkinHit::kMouseMove, 20 + 85, 160), u"<none>");
  EXPECT_EQ(hit(SkinHit::kMouseMove, 160, 50), u"<none>");
  EXPECT_EQ(hit(SkinHit::kButtonDown, 160, 50), u"cw");
  EXPECT_EQ(hit(SkinHit::kButtonUp, 160, 50), u"<none>");
  EXPECT_EQ(hit(SkinHit::kButtonDown, 160, 150), u"<none>");
  EXPECT_EQ(hit(SkinHit::kButtonUp, 160, 150), u"pw");

  SkinElement* first = root->Find(u"first");
  first->over = first->pressed = false;
  root->HitTest(SkinHit::kButtonDown, 50, 50, kSixPerChar);
  EXPECT_TRUE(first->over && first->pressed);
  root->HitTest(SkinHit::kButtonUp, 50, 50, kSixPerChar);
  EXPECT_FALSE(first->pressed);
  first->MouseLeft();
  EXPECT_FALSE(first->over);
}

TEST_F(SkinTest, BrokenSkinsLoadNothingOrSomethingHarmless) {
  EXPECT_FALSE(Load("", "path=\"\"") == nullptr);
  folder.Write(u"PopMessage.xml", "<skin><other/></skin>");
  auto doc = CreatePugiXmlDoc();
  EXPECT_FALSE(LoadSkin(*doc, FakeTipEnvironment::WindowsFolder(folder), images, u"", u""));
  folder.Write(u"PopMessage.xml", "<notskin><subview/></notskin>");
  EXPECT_FALSE(LoadSkin(*CreatePugiXmlDoc(), FakeTipEnvironment::WindowsFolder(folder), images, u"", u""));
  folder.Write(u"PopMessage.xml", "<skin><subview><button id=\"close\"");
  EXPECT_FALSE(LoadSkin(*CreatePugiXmlDoc(), FakeTipEnvironment::WindowsFolder(folder), images, u"", u""));

  // Deep nesting is cut off; huge and negative numbers stay within bounds.
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "<plain zorder=\"0\" offsetx=\"-99999999999\" stretchx=\"99999999999999\">";
  for (int i = 0; i < 5000; ++i) deep += "</plain>";
  auto root = Load(deep);
  ASSERT_TRUE(root);
  int depth = 0;
  for (const SkinElement* e = root.get(); !e->children().empty(); e = e->children().front().get()) ++depth;
  EXPECT_EQ(depth, kMaxSkinDepth);
  EXPECT_EQ(root->HitTest(SkinHit::kMouseMove, 10, 10, kSixPerChar), nullptr);

  // Offsets at the ends of the number range lay out without overflowing.
  images.sizes = {{u"bg.bmp", {256, 183}}, {u"close.bmp", {64, 16}}};
  root = Load(
      "<button id=\"close\" image=\"close.bmp\" zorder=\"1\" horizontal=\"right\" "
      "offsetx=\"-9223372036854775807\" offsety=\"9223372036854775807\" stretchx=\"-9223372036854775807\"/>");
  ASSERT_TRUE(root);
  const SkinRect close = root->Find(u"close")->rect;
  EXPECT_LE(close.right, kSkinCoordinateLimit);
  EXPECT_GE(close.left, -kSkinCoordinateLimit);
  EXPECT_EQ(close.top, kSkinCoordinateLimit);
}

TEST(SkinColor, ParsesHashAndThreeHexPairs) {
  EXPECT_EQ(ParseSkinColor(u"#102030"), 0x302010u);
  EXPECT_EQ(ParseSkinColor(u"#fFfFfF"), 0xFFFFFFu);
  EXPECT_EQ(ParseSkinColor(u"#1 2 3"), 0x030201u);
  EXPECT_FALSE(ParseSkinColor(u"102030"));
  EXPECT_FALSE(ParseSkinColor(u"#1020"));
  EXPECT_FALSE(ParseSkinColor(u"#zz0000"));
}

}  // namespace
