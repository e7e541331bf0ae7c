#include "play/model/ba1_design.h"

#include "play/chrome/chrome_colours.h"
#include "play/model/design_row.h"

#include <initializer_list>
#include <string>

namespace {

using Row = DesignRow;

constexpr Color kHeaderBlue = Rgb(131, 191, 248);
constexpr Color kPanelBack = Rgb(215, 234, 245);
constexpr Color kBlack = Rgb(0, 0, 0);
constexpr Color kBarGrey = Rgb(40, 44, 52);
constexpr Color kText = Rgb(230, 234, 240);
constexpr Color kHeaderText = Rgb(255, 255, 255);  // on every skin's header picture
constexpr Color kBarText = Rgb(40, 44, 52);        // on the control bar, in the skin's light colour

std::vector<Row> DesignRows() {
  using K = ControlKind;
  // A table, one control a row.
  // clang-format off
  std::vector<Row> rows = {
      // Header: caption buttons, the two large buttons, the title and the mode labels.
      {.name = ba1::npc, .index = 0, .left = 775, .width = 24, .height = 19, .tip = u"最小化"},
      {.name = ba1::npc, .index = 1, .left = 799, .width = 24, .height = 19, .tip = u"最大化"},
      {.name = ba1::npc, .index = 2, .left = 823, .width = 33, .height = 19, .tip = u"关闭"},
      {.name = ba1::npc, .index = 3, .left = 730, .width = 21, .height = 19, .tip = u"换肤"},
      {.name = ba1::npc, .index = 4, .left = 708, .width = 21, .height = 19, .tip = u"置顶"},
      {.name = ba1::npc, .index = 5, .left = 751, .width = 24, .height = 19, .tip = u"菜单"},
      {.name = ba1::npc, .index = 8, .left = 249, .top = 31, .width = 120, .height = 32, .caption = u"影视大全"},
      {.name = ba1::npc, .index = 9, .left = 384, .top = 31, .width = 120, .height = 32, .caption = u"正在播放"},
      {.name = ba1::ni_name, .kind = K::kLabel, .left = 46, .top = 30, .width = 110, .height = 14,
       .caption = u"绮映影视盒 3.3", .back = kHeaderBlue, .fore = kHeaderText, .auto_size = true},
      {.name = ba1::jian, .kind = K::kLabel, .left = 544, .top = 50, .width = 70, .height = 12, .caption = u"⊙精简模式",
       .back = kHeaderBlue, .fore = kHeaderText, .auto_size = true},
      {.name = ba1::jbi, .kind = K::kLabel, .left = 840, .width = 9, .height = 14, .caption = u"x", .tip = u"还原",
       .visible = false, .back = kHeaderBlue, .fore = kJbiRest, .auto_size = true},
      {.name = ba1::ni_bo1, .kind = K::kLabel, .left = 13, .top = 5, .width = 100, .height = 12, .visible = false,
       .back = kHeaderBlue, .auto_size = true},
      // The area between header and footer.
      {.name = ba1::zz, .left = 4, .top = 64, .width = 870, .height = 462, .back = kPanelBack},
      {.name = ba1::npc, .index = 6, .parent = ba1::zz, .left = 702, .top = 186, .width = 6, .height = 83,
       .tip = u"关闭侧栏"},
      {.name = ba1::l1, .parent = ba1::zz, .width = 702, .height = 462, .back = kHeaderBlue},
      {.name = ba1::Pic1, .parent = ba1::l1, .left = 1, .top = 1, .width = 700, .height = 460},
      {.name = ba1::Web1, .kind = K::kWebBrowser, .parent = ba1::Pic1, .left = -2, .top = -2, .width = 703, .height = 464},
      {.name = ba1::Pic2, .parent = ba1::l1, .left = 1, .top = 1, .width = 700, .height = 460, .visible = false},
      {.name = ba1::Web2, .kind = K::kWebBrowser, .parent = ba1::Pic2, .left = -2, .top = -2, .width = 704, .height = 464},
      {.name = ba1::wait, .parent = ba1::l1, .left = 1, .top = 1, .width = 700, .height = 460, .visible = false},
      {.name = ba1::jia, .kind = K::kImage, .parent = ba1::wait, .left = 300, .top = 161, .width = 100, .height = 100,
       .caption = u"正在加载..."},
      {.name = ba1::webe, .kind = K::kLabel, .parent = ba1::wait, .left = 340, .top = 265, .width = 260, .height = 120},
      {.name = ba1::vexo, .parent = ba1::l1, .left = 1, .top = 1, .width = 700, .height = 460, .visible = false,
       .back = kBlack},
      // The player panel.
      {.name = ba1::VexoC, .kind = K::kPlayer, .parent = ba1::vexo, .width = 700, .height = 409, .back = kBlack},
      {.name = ba1::bo_ad, .parent = ba1::vexo, .width = 700, .height = 409, .visible = false, .back = kBlack},
      {.name = ba1::adp, .kind = K::kImage, .parent = ba1::bo_ad, .left = 290, .top = 145, .width = 120, .height = 120,
       .back = kBlack},
      {.name = ba1::ad_huan, .parent = ba1::bo_ad, .left = 125, .top = 74, .width = 450, .height = 260, .back = kBlack},
      {.name = ba1::Web7, .kind = K::kWebBrowser, .parent = ba1::ad_huan, .left = -2, .top = -2, .width = 454, .height = 264},
      {.name = ba1::next_s, .kind = K::kLabel, .parent = ba1::bo_ad, .left = 290, .top = 359, .width = 220, .height = 14,
       .caption = u"正准备播放下一集，请稍后...", .visible = false, .back = kBlack, .fore = kText, .auto_size = true},
      {.name = ba1::bo_zt, .parent = ba1::vexo, .top = 409, .width = 700, .height = 18, .back = kBarGrey},
      {.name = ba1::zhun, .kind = K::kLabel, .parent = ba1::bo_zt, .left = 13, .width = 60, .height = 16,
       .caption = u"准备就绪", .back = kBarGrey, .fore = kText, .auto_size = true},
      {.name = ba1::times, .kind = K::kLabel, .parent = ba1::bo_zt, .left = 607, .width = 80, .height = 16,
       .caption = u"00:00 /00:00", .back = kBarGrey, .fore = kText},
      {.name = ba1::gunt, .parent = ba1::vexo, .top = 427, .width = 700, .height = 8, .tip = u"播放进度条",
       .back = Rgb(70, 78, 92)},
      {.name = ba1::huan, .parent = ba1::gunt, .width = 0, .height = 8, .back = Rgb(120, 150, 190)},
      {.name = ba1::gunt1, .parent = ba1::gunt, .width = 10, .height = 8, .back = Rgb(43, 124, 240)},
      {.name = ba1::bo_foot, .parent = ba1::vexo, .top = 435, .width = 700, .height = 25, .back = kBarGrey},
      {.name = ba1::bo_but, .index = 0, .parent = ba1::bo_foot, .left = 2, .top = 1, .width = 26, .height = 23, .tip = u"播放",
       .back = kBarGrey},
      {.name = ba1::bo_but, .index = 1, .parent = ba1::bo_foot, .left = 28, .top = 1, .width = 26, .height = 23,
       .tip = u"停止", .back = kBarGrey},
      {.name = ba1::bo_but, .index = 2, .parent = ba1::bo_foot, .left = 563, .top = 5, .width = 18, .height = 15,
       .tip = u"静音", .back = kBarGrey},
      {.name = ba1::bo_but, .index = 3, .parent = ba1::bo_foot, .left = 648, .top = 1, .width = 26, .height = 23,
       .tip = u"全屏", .back = kBarGrey},
      {.name = ba1::bo_but, .index = 4, .parent = ba1::bo_foot, .left = 674, .top = 1, .width = 26, .height = 23,
       .tip = u"打开文件", .back = kBarGrey},
      {.name = ba1::bo_but, .index = 5, .parent = ba1::bo_foot, .left = 531, .top = 1, .width = 26, .height = 23,
       .tip = u"视频调节", .back = kBarGrey},
      {.name = ba1::bo_but, .index = 6, .parent = ba1::bo_foot, .left = 504, .top = 1, .width = 26, .height = 23,
       .tip = u"计划关机", .back = kBarGrey},
      {.name = ba1::yin, .parent = ba1::bo_foot, .left = 582, .top = 5, .width = 60, .height = 15, .back = Rgb(70, 78, 92)},
      {.name = ba1::bo_y, .parent = ba1::yin, .left = 4, .top = 5, .width = 26, .height = 5, .back = Rgb(43, 124, 240)},
      {.name = ba1::bo_v, .parent = ba1::yin, .left = 26, .width = 8, .height = 15, .back = Rgb(200, 210, 225)},
      {.name = ba1::bo_name, .kind = K::kLabel, .parent = ba1::bo_foot, .left = 104, .top = 6, .width = 409, .height = 14,
       .back = kBarGrey, .fore = kBarText},
      // The side panel.
      {.name = ba1::l2, .parent = ba1::zz, .left = 708, .width = 162, .height = 462, .back = kHeaderBlue},
      {.name = ba1::l3, .parent = ba1::l2, .left = 1, .top = 1, .width = 160, .height = 460, .back = kPanelBack},
      {.name = ba1::u_k, .parent = ba1::l3, .width = 161, .height = 46, .visible = false},
      {.name = ba1::Weby, .kind = K::kWebBrowser, .parent = ba1::u_k, .left = -2, .top = -2, .width = 165, .height = 50},
      {.name = ba1::npc, .index = 10, .parent = ba1::l3, .width = 161, .height = 25, .back = kPanelBack},
      {.name = ba1::npc, .index = 7, .parent = ba1::npc, .parent_index = 10, .left = 147, .top = 9, .width = 10,
       .height = 10, .tip = u"打开"},
      {.name = ba1::npc, .index = 11, .parent = ba1::npc, .parent_index = 10, .left = 10, .top = 5, .width = 57,
       .height = 20, .caption = u"网络任务"},
      {.name = ba1::npc, .index = 12, .parent = ba1::npc, .parent_index = 10, .left = 80, .top = 5, .width = 57,
       .height = 20, .caption = u"本地列表"},
      {.name = ba1::Pic3, .parent = ba1::l3, .top = 27, .width = 160, .height = 413},
      {.name = ba1::Web3, .kind = K::kWebBrowser, .parent = ba1::Pic3, .left = -2, .top = -2, .width = 162, .height = 417},
      {.name = ba1::Pic4, .parent = ba1::l3, .top = 27, .width = 160, .height = 413, .visible = false},
      {.name = ba1::Web4, .kind = K::kWebBrowser, .parent = ba1::Pic4, .left = -2, .top = -2, .width = 162, .height = 417},
      {.name = ba1::Pic5, .parent = ba1::l3, .top = 27, .width = 160, .height = 413, .visible = false},
      {.name = ba1::Web5, .kind = K::kWebBrowser, .parent = ba1::Pic5, .left = -2, .top = -2, .width = 162, .height = 417},
      {.name = ba1::shan, .parent = ba1::l3, .top = 440, .width = 160, .height = 20, .back = kPanelBack},
      {.name = ba1::qk, .kind = K::kLabel, .parent = ba1::shan, .left = 80, .top = 6, .width = 70, .height = 12,
       .caption = u"∴ 清空任务", .back = kPanelBack, .fore = kQkRest, .auto_size = true},
      {.name = ba1::Line1, .kind = K::kLine, .parent = ba1::shan, .width = 160, .height = 1, .back = Rgb(150, 180, 210)},
      // Footer.
      {.name = ba1::Lab2, .index = 0, .kind = K::kLabel, .left = 50, .top = 532, .width = 200, .height = 14,
       .back = kHeaderBlue, .auto_size = true},
      {.name = ba1::Lab2, .index = 1, .kind = K::kLabel, .left = 50, .top = 532, .width = 200, .height = 14,
       .visible = false, .back = kHeaderBlue, .auto_size = true},
      {.name = ba1::Lab2, .index = 2, .kind = K::kLabel, .left = 50, .top = 532, .width = 200, .height = 14,
       .visible = false, .back = kHeaderBlue, .auto_size = true},
      {.name = ba1::Lab2, .index = 3, .kind = K::kLabel, .left = 50, .top = 532, .width = 200, .height = 14,
       .visible = false, .back = kHeaderBlue, .auto_size = true},
      {.name = ba1::hzhuo, .kind = K::kLabel, .left = 778, .top = 532, .width = 80, .height = 14, .back = kHeaderBlue,
       .auto_size = true},
      {.name = ba1::Lab, .index = 5, .kind = K::kLabel, .width = 10, .height = 12, .caption = u"0", .visible = false},
      // The footer links' addresses, one hidden text per link.
      {.name = ba1::Te, .index = 0, .kind = K::kLabel, .width = 10, .height = 12, .visible = false},
      {.name = ba1::Te, .index = 1, .kind = K::kLabel, .width = 10, .height = 12, .visible = false},
      {.name = ba1::Te, .index = 2, .kind = K::kLabel, .width = 10, .height = 12, .visible = false},
      {.name = ba1::Te, .index = 3, .kind = K::kLabel, .width = 10, .height = 12, .visible = false},
      // The balloon of the buttons, the DDE client of a second copy, the statistics page.
      {.name = ba1::P1, .width = 60, .height = 20, .visible = false, .back = Rgb(255, 255, 225)},
      {.name = ba1::bo_tip, .kind = K::kLabel, .parent = ba1::P1, .left = 3, .top = 3, .width = 40, .height = 12,
       .back = Rgb(255, 255, 225), .auto_size = true},
      {.name = ba1::dde, .width = 1, .height = 1, .visible = false},
      {.name = ba1::Web6, .kind = K::kWebBrowser, .width = 10, .height = 10, .visible = false},
  };
  // clang-format on
  // Image holders: the skin slots and the transport button pictures, never shown.
  for (int i = 0; i <= 12; ++i) rows.push_back({.name = ba1::ppt, .index = i, .kind = K::kImage, .visible = false});
  for (int i = 0; i <= 17; ++i) {
    const bool mute = i >= 7 && i <= 10;
    rows.push_back({.name = ba1::but,
                    .index = i,
                    .kind = K::kImage,
                    .width = mute ? 18 : 26,
                    .height = mute ? 15 : 23,
                    .visible = false});
  }
  return rows;
}

// Labels that show what lies under them: the frame, or the control bar's colour.
bool ShowsThrough(ControlName name) {
  for (ControlName label : {ba1::ni_name, ba1::jian, ba1::jbi, ba1::ni_bo1, ba1::Lab2, ba1::hzhuo, ba1::bo_name}) {
    if (name == label) return true;
  }
  return false;
}

// The caption buttons and the transport buttons name themselves in the window's balloon.
bool ShowsBalloon(const ControlId& id) {
  return (id.name == ba1::npc && id.index >= 0 && id.index <= 5) || id.name == ba1::bo_but;
}

}  // namespace

WindowModel MakeMainWindowDesign() {
  std::vector<Control> controls;
  for (const Row& row : DesignRows()) {
    Control control = ControlOfRow(row);
    control.transparent = control.kind == ControlKind::kLabel && ShowsThrough(row.name);
    control.system_tip = !ShowsBalloon(control.id);
    if (row.name == ba1::but) control.resource_id = kTransportImageFirstId + row.index;
    if (row.name == ba1::adp) {
      control.resource_id = kCoverImageId;
      control.picture = PictureSource{u"adp", 0, 0, control.width, control.height};
    }
    controls.push_back(std::move(control));
  }
  std::vector<TimerSpec> timers = {
      {ba1::Timer1, 1000, true}, {ba1::Timer2, 2000, false}, {ba1::Timer3, 10, true},    {ba1::Timer4, 60000, false},
      {ba1::Timer5, 6000, true}, {ba1::Timer6, 2000, false}, {ba1::Timer7, 4000, false},
  };
  return DesignedWindow(std::move(controls), std::move(timers), u"绮映影视盒", kMainDesignWidthTwips,
                        kMainDesignHeightTwips);
}
