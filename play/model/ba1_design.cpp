#include "play/model/ba1_design.h"

#include <initializer_list>
#include <string>

namespace {

struct Row {
  const char16_t* name;
  int index = -1;
  ControlKind kind = ControlKind::kPictureBox;
  const char16_t* parent = u"";
  int parent_index = -1;
  long left = 0, top = 0, width = 0, height = 0;
  const char16_t* caption = u"";
  const char16_t* tip = u"";
  bool visible = true;
  Color back = Rgb(255, 255, 255);
  Color fore = Rgb(0, 0, 0);
  bool auto_size = false;
};

constexpr Color kHeaderBlue = Rgb(131, 191, 248);
constexpr Color kPanelBack = Rgb(215, 234, 245);
constexpr Color kBlack = Rgb(0, 0, 0);
constexpr Color kBarGrey = Rgb(40, 44, 52);
constexpr Color kText = Rgb(230, 234, 240);

std::vector<Row> DesignRows() {
  using K = ControlKind;
  std::vector<Row> rows = {
      // Header: caption buttons, the two large buttons, the title and the mode labels.
      {.name = u"npc", .index = 0, .left = 775, .width = 24, .height = 19, .tip = u"最小化"},
      {.name = u"npc", .index = 1, .left = 799, .width = 24, .height = 19, .tip = u"最大化"},
      {.name = u"npc", .index = 2, .left = 823, .width = 33, .height = 19, .tip = u"关闭"},
      {.name = u"npc", .index = 3, .left = 730, .width = 21, .height = 19, .tip = u"换肤"},
      {.name = u"npc", .index = 4, .left = 708, .width = 21, .height = 19, .tip = u"置顶"},
      {.name = u"npc", .index = 5, .left = 751, .width = 24, .height = 19, .tip = u"菜单"},
      {.name = u"npc", .index = 8, .left = 249, .top = 31, .width = 120, .height = 32, .caption = u"影视大全"},
      {.name = u"npc", .index = 9, .left = 384, .top = 31, .width = 120, .height = 32, .caption = u"正在播放"},
      {.name = u"ni_name", .kind = K::kLabel, .left = 46, .top = 30, .width = 110, .height = 14,
       .caption = u"绮映影视盒 3.3", .back = kHeaderBlue, .auto_size = true},
      {.name = u"jian", .kind = K::kLabel, .left = 544, .top = 50, .width = 70, .height = 12, .caption = u"⊙精简模式",
       .back = kHeaderBlue, .auto_size = true},
      {.name = u"jbi", .kind = K::kLabel, .left = 840, .width = 9, .height = 14, .caption = u"x", .tip = u"还原",
       .visible = false, .back = kHeaderBlue, .auto_size = true},
      {.name = u"ni_bo1", .kind = K::kLabel, .left = 13, .top = 5, .width = 100, .height = 12, .visible = false,
       .back = kHeaderBlue, .auto_size = true},
      // The area between header and footer.
      {.name = u"zz", .left = 4, .top = 64, .width = 870, .height = 462, .back = kPanelBack},
      {.name = u"npc", .index = 6, .parent = u"zz", .left = 702, .top = 186, .width = 6, .height = 83,
       .tip = u"关闭侧栏"},
      {.name = u"l1", .parent = u"zz", .width = 702, .height = 462, .back = kHeaderBlue},
      {.name = u"Pic1", .parent = u"l1", .left = 1, .top = 1, .width = 700, .height = 460},
      {.name = u"Web1", .kind = K::kWebBrowser, .parent = u"Pic1", .left = -2, .top = -2, .width = 703, .height = 464},
      {.name = u"Pic2", .parent = u"l1", .left = 1, .top = 1, .width = 700, .height = 460, .visible = false},
      {.name = u"Web2", .kind = K::kWebBrowser, .parent = u"Pic2", .left = -2, .top = -2, .width = 704, .height = 464},
      {.name = u"wait", .parent = u"l1", .left = 1, .top = 1, .width = 700, .height = 460, .visible = false},
      {.name = u"jia", .kind = K::kImage, .parent = u"wait", .left = 300, .top = 161, .width = 100, .height = 100,
       .caption = u"正在加载..."},
      {.name = u"webe", .kind = K::kLabel, .parent = u"wait", .left = 340, .top = 265, .width = 260, .height = 80},
      {.name = u"vexo", .parent = u"l1", .left = 1, .top = 1, .width = 700, .height = 460, .visible = false,
       .back = kBlack},
      // The player panel.
      {.name = u"VexoC", .kind = K::kPlayer, .parent = u"vexo", .width = 700, .height = 409, .back = kBlack},
      {.name = u"bo_ad", .parent = u"vexo", .width = 700, .height = 409, .visible = false, .back = kBlack},
      {.name = u"adp", .kind = K::kImage, .parent = u"bo_ad", .left = 290, .top = 145, .width = 120, .height = 120},
      {.name = u"ad_huan", .parent = u"bo_ad", .left = 125, .top = 74, .width = 450, .height = 260, .back = kBlack},
      {.name = u"Web7", .kind = K::kWebBrowser, .parent = u"ad_huan", .left = -2, .top = -2, .width = 454, .height = 264},
      {.name = u"next_s", .kind = K::kLabel, .parent = u"bo_ad", .left = 290, .top = 359, .width = 220, .height = 14,
       .caption = u"正准备播放下一集，请稍后...", .visible = false, .back = kBlack, .fore = kText, .auto_size = true},
      {.name = u"bo_zt", .parent = u"vexo", .top = 409, .width = 700, .height = 18, .back = kBarGrey},
      {.name = u"zhun", .kind = K::kLabel, .parent = u"bo_zt", .left = 13, .width = 60, .height = 16,
       .caption = u"准备就绪", .back = kBarGrey, .fore = kText, .auto_size = true},
      {.name = u"times", .kind = K::kLabel, .parent = u"bo_zt", .left = 607, .width = 80, .height = 16,
       .caption = u"00:00 /00:00", .back = kBarGrey, .fore = kText},
      {.name = u"gunt", .parent = u"vexo", .top = 427, .width = 700, .height = 8, .tip = u"播放进度条",
       .back = Rgb(70, 78, 92)},
      {.name = u"huan", .parent = u"gunt", .width = 0, .height = 8, .back = Rgb(120, 150, 190)},
      {.name = u"gunt1", .parent = u"gunt", .width = 10, .height = 8, .back = Rgb(43, 124, 240)},
      {.name = u"bo_foot", .parent = u"vexo", .top = 435, .width = 700, .height = 25, .back = kBarGrey},
      {.name = u"bo_but", .index = 0, .parent = u"bo_foot", .left = 2, .top = 1, .width = 26, .height = 23, .tip = u"播放",
       .back = kBarGrey},
      {.name = u"bo_but", .index = 1, .parent = u"bo_foot", .left = 28, .top = 1, .width = 26, .height = 23,
       .tip = u"停止", .back = kBarGrey},
      {.name = u"bo_but", .index = 2, .parent = u"bo_foot", .left = 563, .top = 5, .width = 18, .height = 15,
       .tip = u"静音", .back = kBarGrey},
      {.name = u"bo_but", .index = 3, .parent = u"bo_foot", .left = 648, .top = 1, .width = 26, .height = 23,
       .tip = u"全屏", .back = kBarGrey},
      {.name = u"bo_but", .index = 4, .parent = u"bo_foot", .left = 674, .top = 1, .width = 26, .height = 23,
       .tip = u"打开文件", .back = kBarGrey},
      {.name = u"bo_but", .index = 5, .parent = u"bo_foot", .left = 531, .top = 1, .width = 26, .height = 23,
       .tip = u"视频调节", .back = kBarGrey},
      {.name = u"bo_but", .index = 6, .parent = u"bo_foot", .left = 504, .top = 1, .width = 26, .height = 23,
       .tip = u"计划关机", .back = kBarGrey},
      {.name = u"yin", .parent = u"bo_foot", .left = 582, .top = 5, .width = 60, .height = 15, .back = Rgb(70, 78, 92)},
      {.name = u"bo_y", .parent = u"yin", .left = 4, .top = 5, .width = 26, .height = 5, .back = Rgb(43, 124, 240)},
      {.name = u"bo_v", .parent = u"yin", .left = 26, .width = 8, .height = 15, .back = Rgb(200, 210, 225)},
      {.name = u"bo_name", .kind = K::kLabel, .parent = u"bo_foot", .left = 104, .top = 6, .width = 409, .height = 14,
       .back = kBarGrey, .fore = kText},
      // The side panel.
      {.name = u"l2", .parent = u"zz", .left = 708, .width = 162, .height = 462, .back = kHeaderBlue},
      {.name = u"l3", .parent = u"l2", .left = 1, .top = 1, .width = 160, .height = 460, .back = kPanelBack},
      {.name = u"u_k", .parent = u"l3", .width = 161, .height = 46, .visible = false},
      {.name = u"Weby", .kind = K::kWebBrowser, .parent = u"u_k", .left = -2, .top = -2, .width = 165, .height = 50},
      {.name = u"npc", .index = 10, .parent = u"l3", .width = 161, .height = 25, .back = kPanelBack},
      {.name = u"npc", .index = 7, .parent = u"npc", .parent_index = 10, .left = 147, .top = 9, .width = 10,
       .height = 10, .tip = u"打开"},
      {.name = u"npc", .index = 11, .parent = u"npc", .parent_index = 10, .left = 10, .top = 5, .width = 57,
       .height = 20, .caption = u"网络任务"},
      {.name = u"npc", .index = 12, .parent = u"npc", .parent_index = 10, .left = 80, .top = 5, .width = 57,
       .height = 20, .caption = u"本地列表"},
      {.name = u"Pic3", .parent = u"l3", .top = 27, .width = 160, .height = 413},
      {.name = u"Web3", .kind = K::kWebBrowser, .parent = u"Pic3", .left = -2, .top = -2, .width = 162, .height = 417},
      {.name = u"Pic4", .parent = u"l3", .top = 27, .width = 160, .height = 413, .visible = false},
      {.name = u"Web4", .kind = K::kWebBrowser, .parent = u"Pic4", .left = -2, .top = -2, .width = 162, .height = 417},
      {.name = u"Pic5", .parent = u"l3", .top = 27, .width = 160, .height = 413, .visible = false},
      {.name = u"Web5", .kind = K::kWebBrowser, .parent = u"Pic5", .left = -2, .top = -2, .width = 162, .height = 417},
      {.name = u"shan", .parent = u"l3", .top = 440, .width = 160, .height = 20, .back = kPanelBack},
      {.name = u"qk", .kind = K::kLabel, .parent = u"shan", .left = 80, .top = 6, .width = 70, .height = 12,
       .caption = u"∴ 清空任务", .back = kPanelBack, .auto_size = true},
      {.name = u"Line1", .kind = K::kLine, .parent = u"shan", .width = 160, .height = 1, .back = Rgb(150, 180, 210)},
      // Footer.
      {.name = u"Lab2", .index = 0, .kind = K::kLabel, .left = 50, .top = 532, .width = 200, .height = 14,
       .back = kHeaderBlue, .auto_size = true},
      {.name = u"Lab2", .index = 1, .kind = K::kLabel, .left = 50, .top = 532, .width = 200, .height = 14,
       .visible = false, .back = kHeaderBlue, .auto_size = true},
      {.name = u"Lab2", .index = 2, .kind = K::kLabel, .left = 50, .top = 532, .width = 200, .height = 14,
       .visible = false, .back = kHeaderBlue, .auto_size = true},
      {.name = u"Lab2", .index = 3, .kind = K::kLabel, .left = 50, .top = 532, .width = 200, .height = 14,
       .visible = false, .back = kHeaderBlue, .auto_size = true},
      {.name = u"hzhuo", .kind = K::kLabel, .left = 778, .top = 532, .width = 80, .height = 14, .back = kHeaderBlue,
       .auto_size = true},
      {.name = u"Lab", .index = 5, .kind = K::kLabel, .width = 10, .height = 12, .caption = u"0", .visible = false},
      // The footer links' addresses, one hidden text per link.
      {.name = u"Te", .index = 0, .kind = K::kLabel, .width = 10, .height = 12, .visible = false},
      {.name = u"Te", .index = 1, .kind = K::kLabel, .width = 10, .height = 12, .visible = false},
      {.name = u"Te", .index = 2, .kind = K::kLabel, .width = 10, .height = 12, .visible = false},
      {.name = u"Te", .index = 3, .kind = K::kLabel, .width = 10, .height = 12, .visible = false},
      // The balloon of the buttons, the DDE client of a second copy, the statistics page.
      {.name = u"P1", .width = 60, .height = 20, .visible = false, .back = Rgb(255, 255, 225)},
      {.name = u"bo_tip", .kind = K::kLabel, .parent = u"P1", .left = 3, .top = 3, .width = 40, .height = 12,
       .back = Rgb(255, 255, 225), .auto_size = true},
      {.name = u"dde", .width = 1, .height = 1, .visible = false},
      {.name = u"Web6", .kind = K::kWebBrowser, .width = 10, .height = 10, .visible = false},
  };
  // Image holders: the skin slots and the transport button pictures, never shown.
  for (int i = 0; i <= 12; ++i) rows.push_back({.name = u"ppt", .index = i, .kind = K::kImage, .visible = false});
  for (int i = 0; i <= 17; ++i) {
    const bool mute = i >= 7 && i <= 10;
    rows.push_back({.name = u"but", .index = i, .kind = K::kImage, .width = mute ? 18 : 26, .height = mute ? 15 : 23,
                    .visible = false});
  }
  return rows;
}

}  // namespace

WindowModel MakeMainWindowDesign() {
  std::vector<Control> controls;
  for (const Row& row : DesignRows()) {
    Control control;
    control.id = ControlId{row.name, row.index};
    control.kind = row.kind;
    control.parent = ControlId{row.parent, row.parent_index};
    control.left = row.left;
    control.top = row.top;
    control.width = row.width;
    control.height = row.height;
    control.caption = row.caption;
    control.tool_tip = row.tip;
    control.visible = row.visible;
    control.back_color = row.back;
    control.fore_color = row.fore;
    control.auto_size = row.auto_size;
    controls.push_back(std::move(control));
  }
  std::vector<TimerSpec> timers = {
      {u"Timer1", 1000, true},  {u"Timer2", 2000, false}, {u"Timer3", 10, true},   {u"Timer4", 60000, false},
      {u"Timer5", 6000, true},  {u"Timer6", 2000, false}, {u"Timer7", 4000, false},
  };
  WindowModel model(std::move(controls), std::move(timers));
  model.caption = u"绮映影视盒";
  model.width_twips = kMainDesignWidthTwips;
  model.height_twips = kMainDesignHeightTwips;
  model.scale_width = kMainDesignWidthTwips / kTwipsPerPixel;
  model.scale_height = kMainDesignHeightTwips / kTwipsPerPixel;
  return model;
}
