// Layout of the main window in both modes, with exact rectangles for a window of
// 13560 x 8475 twips (904 x 565 pixels).
#include <gtest/gtest.h>

#include "common/text/utf.h"
#include "play/native/files_std.h"
#include "play/native/profile_strings_emulated.h"
#include "tests/native/fake_player.h"
#include "tests/native/fake_window_host.h"
#include "tests/native/main_window_fixture.h"
#include "tests/shared/test_folder.h"

namespace {

struct Box {
  long left, top, width, height;
  bool operator==(const Box&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "(" << b.left << ", " << b.top << ", " << b.width << ", " << b.height << ")";
}

class LayoutTest : public MainWindowFixture {
 protected:
  LayoutTest() : MainWindowFixture(u"http://h/soft/") {
    folder.Write(u"config.ini", "[S_q]\r\nh_w=13560\r\nh_h=8475\r\ns_jj=2\r\n");
    WindowModel& w = window.model();
    w.width_twips = 13560;
    w.height_twips = 8475;
    w.scale_width = 904;
    w.scale_height = 565;
  }
  Box At(ControlName name, int index = -1) {
    const Control& c = window.model()(name, index);
    return {c.left, c.top, c.width, c.height};
  }
};

TEST_F(LayoutTest, NormalModeHeaderContentSidePanelAndPlayer) {
  window.Form_Resize();
  EXPECT_EQ(At(ba1::npc, 2), (Box{866, 0, 33, 19}));
  EXPECT_EQ(At(ba1::npc, 1), (Box{842, 0, 24, 19}));
  EXPECT_EQ(At(ba1::npc, 0), (Box{818, 0, 24, 19}));
  EXPECT_EQ(At(ba1::npc, 5), (Box{794, 0, 24, 19}));
  EXPECT_EQ(At(ba1::npc, 3), (Box{770, 0, 21, 19}));
  EXPECT_EQ(At(ba1::npc, 4), (Box{748, 0, 21, 19}));
  EXPECT_EQ(At(ba1::npc, 8), (Box{262, 31, 120, 32}));
  EXPECT_EQ(At(ba1::npc, 9), (Box{397, 31, 120, 32}));
  EXPECT_EQ(At(ba1::zz), (Box{4, 64, 896, 475}));
  // Content stack up to the grip of the shown side panel.
  EXPECT_EQ(At(ba1::npc, 6), (Box{728, 192, 6, 83}));
  EXPECT_EQ(At(ba1::l1), (Box{0, 0, 728, 475}));
  EXPECT_EQ(At(ba1::Pic1), (Box{1, 1, 726, 473}));
  EXPECT_EQ(At(ba1::wait), (Box{1, 1, 726, 473}));
  EXPECT_EQ(At(ba1::jia), (Box{313, 167, 100, 100}));
  EXPECT_EQ(At(ba1::webe), (Box{353, 271, 260, 120}));
  EXPECT_EQ(At(ba1::Web1), (Box{-2, -2, 729, 477}));
  EXPECT_EQ(At(ba1::Web2), (Box{-2, -2, 730, 477}));
  // Side panel with the banner strip hidden: the tab bar at the top.
  EXPECT_EQ(At(ba1::l2), (Box{734, 0, 162, 475}));
  EXPECT_EQ(At(ba1::l3), (Box{1, 1, 160, 473}));
  EXPECT_FALSE(window.model()(ba1::u_k).visible);
  EXPECT_EQ(At(ba1::npc, 10), (Box{0, 0, 161, 25}));
  EXPECT_EQ(At(ba1::Pic3), (Box{0, 27, 160, 428}));
  EXPECT_EQ(At(ba1::Web5), (Box{-2, -2, 162, 432}));
  EXPECT_EQ(At(ba1::shan), (Box{0, 453, 160, 20}));
  EXPECT_EQ(At(ba1::qk), (Box{80, 6, 70, 12}));
  // Player panel: picture above the status strip, seek bar and control bar.
  EXPECT_EQ(At(ba1::vexo), (Box{1, 1, 726, 473}));
  EXPECT_EQ(At(ba1::bo_foot), (Box{0, 448, 726, 25}));
  EXPECT_EQ(At(ba1::gunt), (Box{0, 440, 726, 8}));
  EXPECT_EQ(At(ba1::bo_zt), (Box{0, 422, 726, 18}));
  EXPECT_EQ(At(ba1::VexoC), (Box{0, 0, 726, 422}));
  EXPECT_EQ(At(ba1::adp), (Box{303, 151, 120, 120}));
  EXPECT_EQ(At(ba1::ad_huan), (Box{138, 81, 450, 260}));
  EXPECT_EQ(At(ba1::next_s), (Box{303, 372, 220, 14}));
  EXPECT_EQ(At(ba1::times), (Box{633, 0, 80, 16}));
  EXPECT_EQ(At(ba1::bo_but, 4), (Box{700, 1, 26, 23}));
  EXPECT_EQ(At(ba1::bo_but, 3), (Box{674, 1, 26, 23}));
  EXPECT_EQ(At(ba1::yin), (Box{607, 5, 60, 15}));
  EXPECT_EQ(At(ba1::bo_but, 2), (Box{588, 5, 18, 15}));
  EXPECT_EQ(At(ba1::bo_but, 5), (Box{556, 1, 26, 23}));
  EXPECT_EQ(At(ba1::bo_but, 6), (Box{529, 1, 26, 23}));
  EXPECT_EQ(At(ba1::bo_v), (Box{26, 0, 8, 15}));  // volume 50
  EXPECT_EQ(At(ba1::bo_y), (Box{4, 5, 26, 5}));
  EXPECT_EQ(At(ba1::bo_name), (Box{79, 6, 484, 14}));
  EXPECT_EQ(At(ba1::jian), (Box{557, 50, 70, 12}));
  EXPECT_EQ(At(ba1::Lab2, 2), (Box{50, 545, 200, 14}));
  EXPECT_EQ(At(ba1::hzhuo), (Box{884, 545, 0, 12}));  // no partner text before the load: measured empty
}

TEST_F(LayoutTest, MinimumSizesHiddenPanelAndShownBanner) {
  WindowModel& w = window.model();
  w.width_twips = 9000;
  w.height_twips = 100;
  window.Form_Resize();
  EXPECT_EQ(w.width_twips, 13000);
  EXPECT_EQ(w.height_twips, 7000);
  w.state = WindowState::kMaximized;
  w.width_twips = 9000;
  window.Form_Resize();
  EXPECT_EQ(w.width_twips, 9000);  // a maximized window keeps what it gets

  w.state = WindowState::kNormal;
  w.width_twips = 13560;
  w.height_twips = 8475;
  w.scale_width = 904;
  w.scale_height = 565;
  window.npc_Click(6);  // hide the side panel
  window.npc_Click(7);  // show the banner strip
  window.Form_Resize();
  EXPECT_EQ(At(ba1::npc, 6), (Box{890, 192, 6, 83}));
  EXPECT_EQ(At(ba1::l1), (Box{0, 0, 890, 475}));
  EXPECT_TRUE(w(ba1::u_k).visible);
  EXPECT_EQ(At(ba1::npc, 10), (Box{0, 46, 161, 25}));
  EXPECT_EQ(At(ba1::Pic3), (Box{0, 73, 160, 382}));
}

TEST_F(LayoutTest, CompactModeAndBack) {
  WindowModel& w = window.model();
  w(ba1::bo_name).caption = u"第1集.rmvb";
  window.jian_Click();
  EXPECT_EQ(window.compact_mode(), 1);
  EXPECT_EQ(host.topmost, std::vector<bool>{true});
  EXPECT_EQ(w.width_twips, 5800);
  EXPECT_EQ(w.height_twips, 4800);
  EXPECT_FALSE(w(ba1::l2).visible);
  EXPECT_FALSE(w(ba1::npc, 8).visible);
  EXPECT_TRUE(w(ba1::jbi).visible);
  EXPECT_EQ(At(ba1::jbi), (Box{366, 0, 7, 12}));  // "x" measured in the test host's font
  EXPECT_EQ(w(ba1::ni_bo1).caption, u"第1集.rmvb");
  EXPECT_EQ(At(ba1::zz), (Box{3, 20, 380, 297}));
  EXPECT_EQ(At(ba1::Web2), (Box{-2, -20, 384, 317}));
  EXPECT_EQ(At(ba1::vexo), (Box{0, 0, 381, 298}));
  // s_jj = 2: the control bar goes and the seek bar is the bottom-most area.
  EXPECT_FALSE(w(ba1::bo_foot).visible);
  EXPECT_EQ(At(ba1::gunt), (Box{0, 290, 381, 8}));
  EXPECT_EQ(At(ba1::VexoC), (Box{0, 0, 381, 272}));

  w.width_twips = 1000;
  w.height_twips = 1000;
  window.Form_Resize();
  EXPECT_EQ(w.width_twips, 4100);
  EXPECT_EQ(w.height_twips, 3000);

  window.jbi_Click();
  EXPECT_EQ(window.compact_mode(), 0);
  EXPECT_EQ(host.topmost, (std::vector<bool>{true, false}));  // not pinned by the user
  EXPECT_EQ(w.width_twips, 13560);
  EXPECT_EQ(w.height_twips, 8475);
  EXPECT_EQ(w.left_twips, 2820);
  EXPECT_EQ(w.top_twips, 3442);
  EXPECT_EQ(w(ba1::ni_name).caption, u"绮映影视盒");
  EXPECT_TRUE(w(ba1::l2).visible);
  EXPECT_TRUE(w(ba1::npc, 8).visible);

  w(ba1::npc, 4).tool_tip = u"取消置顶";  // pinned: leaving compact mode keeps it on top
  window.jian_Click();
  window.jbi_Click();
  EXPECT_EQ(host.topmost, (std::vector<bool>{true, false, true}));
}

TEST_F(LayoutTest, ACompactTitleIsMeasuredAsItIsNowAndWrapsBeforeTheRestoreButton) {
  WindowModel& w = window.model();
  // The title line still holds the width of a short earlier title; the long one is measured.
  w(ba1::ni_bo1).width = 20;
  w(ba1::bo_name).caption = std::u16string(60, u'长');  // 420 px in the test host's font
  window.jian_Click();
  EXPECT_TRUE(w(ba1::ni_bo1).word_wrap);
  EXPECT_EQ(w(ba1::ni_bo1).width, 316);
  EXPECT_LT(w(ba1::ni_bo1).left + w(ba1::ni_bo1).width, w(ba1::jbi).left);

  window.jbi_Click();
  w(ba1::bo_name).caption = u"短";
  window.jian_Click();
  EXPECT_FALSE(w(ba1::ni_bo1).word_wrap);
  EXPECT_EQ(w(ba1::ni_bo1).width, 7);
}

TEST_F(LayoutTest, CompactModeFromAMaximizedWindowRestoresItFirst) {
  WindowModel& w = window.model();
  window.npc_Click(1);  // maximize
  ASSERT_EQ(w.state, WindowState::kMaximized);
  window.jian_Click();
  EXPECT_EQ(host.states, (std::vector<int>{2, 1}));
  EXPECT_EQ(w.state, WindowState::kNormal);
  EXPECT_EQ(w(ba1::npc, 1).tool_tip, u"最大化");
  EXPECT_EQ(w.width_twips, 5800);
  EXPECT_EQ(At(ba1::jbi), (Box{366, 0, 7, 12}));  // "x" measured in the test host's font
}

TEST_F(LayoutTest, BannerCheckShowsTheStripUnlessItsPageFailed) {
  WindowModel& w = window.model();
  w.Timer(ba1::Timer6).enabled = true;
  window.OnTimer(ba1::Timer6);
  EXPECT_FALSE(w.Timer(ba1::Timer6).enabled);
  EXPECT_EQ(w(ba1::npc, 7).tool_tip, u"关闭");
  EXPECT_TRUE(w(ba1::u_k).visible);

  window.npc_Click(7);
  window.banner_load_failed = 1;
  window.Timer6_Timer();
  EXPECT_FALSE(w(ba1::npc, 7).enabled);
  EXPECT_FALSE(w(ba1::u_k).visible);
}

}  // namespace
