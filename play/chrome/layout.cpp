// Layout of the main window: every area's place in normal and compact mode, the minimum
// sizes, the side panel and banner strip as their toggles say, and the mode switches.
#include <algorithm>

#include "play/chrome/skin_images.h"
#include "play/main_window.h"
#include "play/startup/config_store.h"
#include "play/startup/run_startup.h"

namespace {
constexpr long kNormalMinWidthTwips = 13000;
constexpr long kNormalMinHeightTwips = 7000;
constexpr long kCompactMinWidthTwips = 4100;
constexpr long kCompactMinHeightTwips = 3000;
constexpr long kCompactWidthTwips = 5800;
constexpr long kCompactHeightTwips = 4800;

// The window has no border: its inner size is its outer size.
void SetOuterSize(WindowModel& w, long width_twips, long height_twips) {
  w.width_twips = std::max(0L, width_twips);
  w.height_twips = std::max(0L, height_twips);
  w.scale_width = w.width_twips / kTwipsPerPixel;
  w.scale_height = w.height_twips / kTwipsPerPixel;
}
}  // namespace

void MainWindow::Form_Resize() {
  WindowModel& w = model_;
  if (w.state == WindowState::kMinimized) return;
  if (compact_mode_ == 1) {
    LayoutCompact();
    return;
  }
  if (w.state != WindowState::kMaximized) {
    SetOuterSize(w, std::max(w.width_twips, kNormalMinWidthTwips), std::max(w.height_twips, kNormalMinHeightTwips));
  }
  PaintNormalFrame();
  LayoutTitleButtons();
  LayoutContentArea();
  LayoutSidePanel();
  w(ba1::ni_name).Move(46, 30);
  Control& l2 = w(ba1::l2);
  Control& l3 = w(ba1::l3);
  l3.Move(1, 1, l2.width - 2, l2.height - 2);
  Control& shan = w(ba1::shan);
  shan.Move(0, l3.height - 20, l3.width, 20);
  w(ba1::Line1).width = shan.width;
  vexo_Resize();
  w(ba1::qk).Move(shan.width - 80, 6);
  w(ba1::jian).Move(w(ba1::npc, 9).left + 160, 50);
  PlaceFooter();
}

void MainWindow::PlaceFooter() {
  WindowModel& w = model_;
  for (int i = 0; i < 4; ++i) w(ba1::Lab2, i).Move(50, w.scale_height - 20);
  Control& partner = w(ba1::hzhuo);
  FitToCaption(partner);
  partner.Move(w.scale_width - partner.width - 20, w.scale_height - 20);
}

void MainWindow::LayoutTitleButtons() {
  WindowModel& w = model_;
  const long width = w.scale_width, height = w.scale_height;
  w(ba1::npc, 2).Move(width - 38, 0, 33, 19);
  w(ba1::npc, 1).Move(w(ba1::npc, 2).left - 24, 0, 24, 19);
  w(ba1::npc, 0).Move(w(ba1::npc, 1).left - 24, 0, 24, 19);
  w(ba1::npc, 5).Move(w(ba1::npc, 0).left - 24, 0, 24, 19);
  w(ba1::npc, 3).Move(w(ba1::npc, 5).left - 24, 0, 21, 19);
  w(ba1::npc, 4).Move(w(ba1::npc, 3).left - 22, 0, 21, 19);
  w(ba1::npc, 7).Move(147, 9, 10, 10);
  w(ba1::npc, 8).Move(width / 2 - 190, 31, 120, 32);
  w(ba1::npc, 9).Move(w(ba1::npc, 8).left + 135, 31, 120, 32);
  w(ba1::zz).Move(4, 64, width - 8, height - 90);
}

void MainWindow::LayoutContentArea() {
  WindowModel& w = model_;
  const Control& z = w(ba1::zz);
  Control& grip = w(ba1::npc, 6);
  grip.width = 6;
  grip.height = 83;
  w(ba1::l2).Move(z.width - 162, 0, 162, z.height);
  const bool panel_shown = grip.tool_tip == u"关闭侧栏";
  grip.left = panel_shown ? z.width - 168 : z.width - 6;
  grip.picture = SkinPicture(11, panel_shown ? 0 : 8, 6, 83);
  grip.Move(grip.left, (z.height - 90) / 2, 6, 83);
  Control& l1 = w(ba1::l1);
  l1.Move(0, 0, grip.left, z.height);
  Control& pic1 = w(ba1::Pic1);
  pic1.Move(1, 1, l1.width - 2, l1.height - 2);
  w(ba1::Pic2).Move(1, 1, pic1.width, pic1.height);
  Control& wait = w(ba1::wait);
  wait.Move(1, 1, pic1.width, pic1.height);
  Control& jia = w(ba1::jia);
  jia.Move((wait.width - jia.width) / 2, (z.height - jia.height) / 2 - 20);
  w(ba1::Web1).Move(-2, -2, pic1.width + 3, pic1.height + 4);
  w(ba1::Web2).Move(-2, -2, pic1.width + 4, pic1.height + 4);
  w(ba1::webe).Move(jia.left + 40, jia.top + jia.height + 4);
}

void MainWindow::LayoutSidePanel() {
  WindowModel& w = model_;
  Control& banner = w(ba1::u_k);
  banner.Move(0, 0, 161, 46);
  w(ba1::Weby).Move(-2, -2, banner.width + 4, banner.height + 4);
  Control& tabs = w(ba1::npc, 10);
  Control& toggle = w(ba1::npc, 7);
  if (toggle.tool_tip.find(u"打开") != std::u16string::npos) {
    banner.visible = false;
    tabs.Move(0, 0, 161, 25);
    toggle.picture = SkinPicture(4, 20, 10, 10);
  } else {
    banner.visible = true;
    tabs.Move(0, 46, 161, 25);
    toggle.picture = SkinPicture(4, 30, 10, 10);
  }
  w(ba1::npc, 11).Move(10, 5, 57, 20);
  w(ba1::npc, 12).Move(80, 5, 57, 20);
  const Control& z = w(ba1::zz);
  Control& l2 = w(ba1::l2);
  l2.Move(z.width - 162, 0, 162, z.height);
  Control& l3 = w(ba1::l3);
  l3.Move(1, 1, l2.width - 2, l2.height - 2);
  Control& pic3 = w(ba1::Pic3);
  pic3.Move(0, tabs.top + tabs.height + 2, l3.width, l3.height - tabs.height - tabs.top - w(ba1::shan).height);
  w(ba1::Pic4).Move(0, pic3.top, l3.width, pic3.height);
  Control& pic5 = w(ba1::Pic5);
  pic5.Move(0, pic3.top, l3.width, pic3.height);
  w(ba1::Web3).Move(-2, -2, pic3.width + 2, pic3.height + 4);
  w(ba1::Web4).Move(-2, -2, pic5.width + 2, pic5.height + 4);
  w(ba1::Web5).Move(-2, -2, pic5.width + 2, pic5.height + 4);
}

void MainWindow::vexo_Resize() {
  WindowModel& w = model_;
  if (w.state == WindowState::kMinimized) return;
  Control& v = w(ba1::vexo);
  const Control& pic2 = w(ba1::Pic2);
  Control& foot = w(ba1::bo_foot);
  Control& seek = w(ba1::gunt);
  if (compact_mode_ == 1) v.Move(0, 0, pic2.width + 1, pic2.height + 1);
  else {
    v.Move(1, 1, pic2.width, pic2.height);
    foot.visible = true;
  }
  const bool bar_hidden = compact_mode_ == 1 && ReadIniValue(ports_.profile, config_path_, config::kSJj) == config::kOn;
  if (bar_hidden) {
    seek.Move(0, v.height - seek.height, v.width);
    foot.visible = false;
  } else {
    foot.Move(0, v.height - foot.height, v.width);
    seek.Move(0, foot.top - seek.height, foot.width);
    if (compact_mode_ == 1) foot.visible = true;
  }
  Control& status = w(ba1::bo_zt);
  status.Move(0, seek.top - status.height, v.width);
  Control& picture = w(ba1::VexoC);
  picture.Move(0, 0, v.width, status.top);
  Control& cover = w(ba1::bo_ad);
  cover.Move(0, 0, picture.width, picture.height);
  Control& adp = w(ba1::adp);
  adp.Move((cover.width - adp.width) / 2, (cover.height - adp.height) / 2);
  Control& ad = w(ba1::ad_huan);
  ad.Move((cover.width - 450) / 2, (cover.height - 260) / 2);
  w(ba1::Web7).Move(-2, -2, ad.width + 4, ad.height + 4);
  w(ba1::next_s).Move(adp.left, cover.height - 50);
  Control& ready = w(ba1::zhun);
  ready.auto_size = compact_mode_ != 1;
  if (compact_mode_ == 1) ready.Move(13, 0, 100);
  else ready.Move(13, 0);
  Control& time = w(ba1::times);
  time.Move(v.width - time.width - 13, 0);

  Control& b0 = w(ba1::bo_but, 0);
  Control& b1 = w(ba1::bo_but, 1);
  Control& b2 = w(ba1::bo_but, 2);
  Control& b3 = w(ba1::bo_but, 3);
  Control& b4 = w(ba1::bo_but, 4);
  Control& b5 = w(ba1::bo_but, 5);
  Control& b6 = w(ba1::bo_but, 6);
  Control& volume = w(ba1::yin);
  b0.Move(2, 1);
  b1.Move(28, 1);
  b4.Move(v.width - b4.width, 1);
  b3.Move(b4.left - b3.width, 1);
  volume.Move(b3.left - volume.width - 7, 5);
  b2.Move(volume.left - b2.width - 1, 5);
  b5.Move(b2.left - b5.width - 6, 1);
  b6.Move(b5.left - b6.width - 1, 1);
  Control& knob = w(ba1::bo_v);
  const long level = std::clamp(ports_.player.Volume(), 0L, 100L);
  knob.Move((volume.width - knob.width) * level / 100, 0);
  w(ba1::bo_y).Move(4, 5, knob.left, 5);
  Control& name = w(ba1::bo_name);
  name.width = std::max(0L, b2.left - b1.left - b1.width - 50);
  name.Move((b2.left + b1.left + b1.width - name.width) / 2, 6);
  w(ba1::huan).Move(0, 0);
}

void MainWindow::LayoutCompact() {
  WindowModel& w = model_;
  SetOuterSize(w, std::max(w.width_twips, kCompactMinWidthTwips), std::max(w.height_twips, kCompactMinHeightTwips));
  PaintCompactFrame();
  const long width = w.scale_width, height = w.scale_height;
  Control& restore = w(ba1::jbi);
  FitToCaption(restore);
  restore.Move(width - restore.width - 13, 0);
  Control& title = w(ba1::ni_name);
  if (!w(ba1::bo_name).caption.empty()) title.caption = w(ba1::bo_name).caption;
  Control& line = w(ba1::ni_bo1);
  line.caption = title.caption;
  const TextExtent text = ports_.host.MeasureCaption(line.caption);
  if (restore.left - 50 < text.width) {
    line.auto_size = false;
    line.word_wrap = true;
    line.width = std::max(0L, restore.left - 50);
  } else {
    line.auto_size = true;
    line.word_wrap = false;
    FitToCaption(line);
  }
  line.Move(13, 5);
  Control& z = w(ba1::zz);
  z.Move(3, 20, width - 6, height - 23);
  Control& l1 = w(ba1::l1);
  l1.Move(0, 0, z.width, z.height);
  Control& pic2 = w(ba1::Pic2);
  pic2.Move(0, 0, l1.width, l1.height);
  w(ba1::Web2).Move(-2, -20, pic2.width + 4, pic2.height + 20);  // the page's top 20 pixels out of sight
  vexo_Resize();
}

void MainWindow::jian_Click() {
  WindowModel& w = model_;
  // A maximized window is restored first: the compact size applies to a normal window only.
  if (w.state == WindowState::kMaximized) {
    ports_.host.ShowState(1);
    w(ba1::npc, 1).tool_tip = u"最大化";
  }
  w.state = WindowState::kNormal;
  zhi_d(1);
  compact_mode_ = 1;
  for (ControlName name : {ba1::bo_name, ba1::ni_name, ba1::l2, ba1::jian}) w(name).visible = false;
  w(ba1::ni_bo1).visible = w(ba1::jbi).visible = true;
  for (Control* button : w.Array(ba1::npc)) button->visible = false;
  SetOuterSize(w, kCompactWidthTwips, kCompactHeightTwips);
  Form_Resize();
}

void MainWindow::jbi_Click() {
  WindowModel& w = model_;
  compact_mode_ = 0;
  if (w(ba1::npc, 4).tool_tip == u"置顶") zhi_d(0);
  w(ba1::ni_name).caption = u"绮映影视盒";
  w(ba1::bo_name).visible = w(ba1::ni_name).visible = true;
  w(ba1::ni_bo1).visible = w(ba1::jbi).visible = false;
  w(ba1::l2).visible = w(ba1::npc, 6).tool_tip == u"关闭侧栏";
  w(ba1::jian).visible = true;
  for (Control* button : w.Array(ba1::npc)) button->visible = true;
  // Back to the size the user gave the normal window, centred on the screen.
  const long width = static_cast<long>(IniNumber(ReadIniValue(ports_.profile, config_path_, config::kHW)));
  const long height = static_cast<long>(IniNumber(ReadIniValue(ports_.profile, config_path_, config::kHH)));
  SetOuterSize(w, width, height);
  const PixelRect screen = ports_.host.Screen();
  w.left_twips = (screen.width() * kTwipsPerPixel - w.width_twips) / 2;
  w.top_twips = (screen.height() * kTwipsPerPixel - w.height_twips) / 2;
  Form_Resize();
}

void MainWindow::zhi_d(int d_i) { ports_.host.SetTopmost(d_i == 1); }

void MainWindow::Timer6_Timer() {
  WindowModel& w = model_;
  w.Timer(ba1::Timer6).enabled = false;
  if (w(ba1::npc, 7).tool_tip != u"打开" || banner_load_failed == 1) {
    w(ba1::npc, 7).enabled = false;
  } else {
    npc_Click(7);
  }
}

void MainWindow::FitToCaption(Control& label) {
  if (!label.auto_size || label.word_wrap) return;
  const TextExtent extent = ports_.host.MeasureCaption(label.caption);
  label.width = extent.width;
  label.height = std::max(extent.height, 12L);
}
