// The main window's design table: what the behaviour relies on being there.
#include "play/model/ba1_design.h"

#include <gtest/gtest.h>

#include "common/text/utf.h"

namespace {

TEST(MainWindowDesign, HoldsEveryControlTheBehaviourNames) {
  WindowModel w = MakeMainWindowDesign();
  for (ControlName name :
       {ba1::Pic1,  ba1::Pic2,   ba1::Pic3,    ba1::Pic4, ba1::Pic5, ba1::vexo, ba1::bo_ad,   ba1::zhun,    ba1::times,
        ba1::gunt,  ba1::gunt1,  ba1::huan,    ba1::yin,  ba1::bo_v, ba1::bo_y, ba1::bo_name, ba1::qk,      ba1::shan,
        ba1::l1,    ba1::l2,     ba1::l3,      ba1::u_k,  ba1::zz,   ba1::jian, ba1::jbi,     ba1::ni_name, ba1::ni_bo1,
        ba1::P1,    ba1::bo_tip, ba1::wait,    ba1::jia,  ba1::webe, ba1::adp,  ba1::ad_huan, ba1::next_s,  ba1::hzhuo,
        ba1::VexoC, ba1::bo_zt,  ba1::bo_foot, ba1::Web1, ba1::Web2, ba1::Web3, ba1::Web4,    ba1::Web5,    ba1::Web6,
        ba1::Web7,  ba1::Weby,   ba1::dde,     ba1::Line1}) {
    EXPECT_TRUE(w.Find({name})) << Utf16ToUtf8(name.text());
  }
  EXPECT_EQ(w.Array(ba1::npc).size(), 13u);
  EXPECT_EQ(w.Array(ba1::bo_but).size(), 7u);
  EXPECT_EQ(w.Array(ba1::Lab2).size(), 4u);
  EXPECT_EQ(w.Array(ba1::Te).size(), 4u);
  EXPECT_EQ(w.Array(ba1::ppt).size(), 13u);
  EXPECT_EQ(w.Array(ba1::but).size(), 18u);
  EXPECT_TRUE(w.Find({ba1::Lab, 5}));
  EXPECT_EQ(w(ba1::Lab, 5).caption, u"0");
}

TEST(MainWindowDesign, ContainersComeFirstAndNamesAreUnique) {
  WindowModel w = MakeMainWindowDesign();
  const auto& controls = w.controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const Control& c = controls[i];
    for (std::size_t j = i + 1; j < controls.size(); ++j)
      EXPECT_FALSE(controls[j].id == c.id) << Utf16ToUtf8(ControlText(c.id));
    if (c.parent.name.empty()) continue;
    bool parent_earlier = false;
    for (std::size_t j = 0; j < i; ++j) parent_earlier = parent_earlier || controls[j].id == c.parent;
    EXPECT_TRUE(parent_earlier) << Utf16ToUtf8(ControlText(c.id));
  }
}

TEST(MainWindowDesign, TipsCaptionsAndTimersAsDesigned) {
  WindowModel w = MakeMainWindowDesign();
  const char16_t* caption_tips[] = {u"最小化", u"最大化", u"关闭", u"换肤", u"置顶", u"菜单"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(w(ba1::npc, i).tool_tip, caption_tips[i]);
  EXPECT_EQ(w(ba1::npc, 6).tool_tip, u"关闭侧栏");
  EXPECT_EQ(w(ba1::npc, 7).tool_tip, u"打开");
  EXPECT_EQ(w(ba1::npc, 7).parent, (ControlId{ba1::npc, 10}));
  const char16_t* button_tips[] = {u"播放", u"停止", u"静音", u"全屏", u"打开文件", u"视频调节", u"计划关机"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(w(ba1::bo_but, i).tool_tip, button_tips[i]);
  EXPECT_EQ(w(ba1::gunt).tool_tip, u"播放进度条");
  EXPECT_EQ(w(ba1::jbi).tool_tip, u"还原");
  EXPECT_EQ(w(ba1::qk).caption, u"∴ 清空任务");
  EXPECT_EQ(w(ba1::zhun).caption, u"准备就绪");
  EXPECT_EQ(w(ba1::times).caption, u"00:00 /00:00");
  EXPECT_EQ(w(ba1::jian).caption, u"⊙精简模式");
  EXPECT_EQ(w(ba1::ni_name).caption, u"绮映影视盒 3.3");
  EXPECT_EQ(w(ba1::next_s).caption, u"正准备播放下一集，请稍后...");
  EXPECT_EQ(w.width_twips, 13170);
  EXPECT_EQ(w.height_twips, 8280);

  const std::pair<TimerName, std::pair<int, bool>> timers[] = {
      {ba1::Timer1, {1000, true}},   {ba1::Timer2, {2000, false}}, {ba1::Timer3, {10, true}},
      {ba1::Timer4, {60000, false}}, {ba1::Timer5, {6000, true}},  {ba1::Timer6, {2000, false}},
      {ba1::Timer7, {4000, false}}};
  for (const auto& [name, spec] : timers) {
    EXPECT_EQ(w.Timer(name).interval_ms, spec.first) << Utf16ToUtf8(name.text());
    EXPECT_EQ(w.Timer(name).enabled, spec.second) << Utf16ToUtf8(name.text());
  }
}

TEST(WindowModel, MoveKeepsTheSizeUnlessGivenAndUnknownNamesThrow) {
  WindowModel w = MakeMainWindowDesign();
  Control& npc8 = w(ba1::npc, 8);
  npc8.Move(10, 20);
  EXPECT_EQ(npc8.width, 120);
  npc8.Move(1, 2, 30, -5);
  EXPECT_EQ(npc8.width, 30);
  EXPECT_EQ(npc8.height, 0);
  EXPECT_THROW(w(ba1::npc, 13), std::out_of_range);
  EXPECT_THROW(w.Timer(TimerName(u"Timer8")), std::out_of_range);
  EXPECT_EQ(ControlText({ba1::npc, 4}), u"npc(4)");
}

}  // namespace
