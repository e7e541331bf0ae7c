// The main window's design table: what the behaviour relies on being there.
#include "play/model/ba1_design.h"

#include <gtest/gtest.h>

#include "common/text/utf.h"

namespace {

TEST(MainWindowDesign, HoldsEveryControlTheBehaviourNames) {
  WindowModel w = MakeMainWindowDesign();
  for (const char16_t* name : {u"Pic1", u"Pic2", u"Pic3", u"Pic4", u"Pic5", u"vexo", u"bo_ad", u"zhun", u"times",
                               u"gunt", u"gunt1", u"huan", u"yin", u"bo_v", u"bo_y", u"bo_name", u"qk", u"shan", u"l1",
                               u"l2", u"l3", u"u_k", u"zz", u"jian", u"jbi", u"ni_name", u"ni_bo1", u"P1", u"bo_tip",
                               u"wait", u"jia", u"webe", u"adp", u"ad_huan", u"next_s", u"hzhuo", u"VexoC", u"bo_zt",
                               u"bo_foot", u"Web1", u"Web2", u"Web3", u"Web4", u"Web5", u"Web6", u"Web7", u"Weby",
                               u"dde", u"Line1"}) {
    EXPECT_TRUE(w.Find(name)) << Utf16ToUtf8(name);
  }
  EXPECT_EQ(w.Array(u"npc").size(), 13u);
  EXPECT_EQ(w.Array(u"bo_but").size(), 7u);
  EXPECT_EQ(w.Array(u"Lab2").size(), 4u);
  EXPECT_EQ(w.Array(u"Te").size(), 4u);
  EXPECT_EQ(w.Array(u"ppt").size(), 13u);
  EXPECT_EQ(w.Array(u"but").size(), 18u);
  EXPECT_TRUE(w.Find(u"Lab", 5));
  EXPECT_EQ(w(u"Lab", 5).caption, u"0");
}

TEST(MainWindowDesign, ContainersComeFirstAndNamesAreUnique) {
  WindowModel w = MakeMainWindowDesign();
  const auto& controls = w.controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const Control& c = controls[i];
    for (std::size_t j = i + 1; j < controls.size(); ++j) EXPECT_FALSE(controls[j].id == c.id) << Utf16ToUtf8(ControlText(c.id));
    if (c.parent.name.empty()) continue;
    bool parent_earlier = false;
    for (std::size_t j = 0; j < i; ++j) parent_earlier = parent_earlier || controls[j].id == c.parent;
    EXPECT_TRUE(parent_earlier) << Utf16ToUtf8(ControlText(c.id));
  }
}

TEST(MainWindowDesign, TipsCaptionsAndTimersAsDesigned) {
  WindowModel w = MakeMainWindowDesign();
  const char16_t* caption_tips[] = {u"最小化", u"最大化", u"关闭", u"换肤", u"置顶", u"菜单"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(w(u"npc", i).tool_tip, caption_tips[i]);
  EXPECT_EQ(w(u"npc", 6).tool_tip, u"关闭侧栏");
  EXPECT_EQ(w(u"npc", 7).tool_tip, u"打开");
  EXPECT_EQ(w(u"npc", 7).parent, (ControlId{u"npc", 10}));
  const char16_t* button_tips[] = {u"播放", u"停止", u"静音", u"全屏", u"打开文件", u"视频调节", u"计划关机"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(w(u"bo_but", i).tool_tip, button_tips[i]);
  EXPECT_EQ(w(u"gunt").tool_tip, u"播放进度条");
  EXPECT_EQ(w(u"jbi").tool_tip, u"还原");
  EXPECT_EQ(w(u"qk").caption, u"∴ 清空任务");
  EXPECT_EQ(w(u"zhun").caption, u"准备就绪");
  EXPECT_EQ(w(u"times").caption, u"00:00 /00:00");
  EXPECT_EQ(w(u"jian").caption, u"⊙精简模式");
  EXPECT_EQ(w(u"ni_name").caption, u"绮映影视盒 3.3");
  EXPECT_EQ(w(u"next_s").caption, u"正准备播放下一集，请稍后...");
  EXPECT_EQ(w.width_twips, 13170);
  EXPECT_EQ(w.height_twips, 8280);

  const std::pair<const char16_t*, std::pair<int, bool>> timers[] = {
      {u"Timer1", {1000, true}},  {u"Timer2", {2000, false}}, {u"Timer3", {10, true}},  {u"Timer4", {60000, false}},
      {u"Timer5", {6000, true}},  {u"Timer6", {2000, false}}, {u"Timer7", {4000, false}}};
  for (const auto& [name, spec] : timers) {
    EXPECT_EQ(w.Timer(name).interval_ms, spec.first) << Utf16ToUtf8(name);
    EXPECT_EQ(w.Timer(name).enabled, spec.second) << Utf16ToUtf8(name);
  }
}

TEST(WindowModel, MoveKeepsTheSizeUnlessGivenAndUnknownNamesThrow) {
  WindowModel w = MakeMainWindowDesign();
  Control& npc8 = w(u"npc", 8);
  npc8.Move(10, 20);
  EXPECT_EQ(npc8.width, 120);
  npc8.Move(1, 2, 30, -5);
  EXPECT_EQ(npc8.width, 30);
  EXPECT_EQ(npc8.height, 0);
  EXPECT_THROW(w(u"npc", 13), std::out_of_range);
  EXPECT_THROW(w.Timer(u"Timer8"), std::out_of_range);
  EXPECT_EQ(ControlText({u"npc", 4}), u"npc(4)");
}

}  // namespace
