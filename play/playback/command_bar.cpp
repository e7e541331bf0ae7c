// The commands of the caption buttons, the header buttons and the side panel's tabs.
#include "play/chrome/chrome_colours.h"
#include "play/chrome/skin_images.h"
#include "play/main_window.h"
#include "play/startup/config_store.h"
#include "play/startup/run_startup.h"

namespace {

bool ActiveListIsLocal(WindowModel& w) { return w(ba1::qk).caption.find(u"列表") != std::u16string::npos; }

// The skin menu pifu: the four skins in their order.
const std::vector<std::u16string> kSkinNames = {u"绿竹青青", u"海洋之心", u"红梅迎风", u"紫影梦幻"};

}  // namespace

void MainWindow::ShowTab(int index) {
  WindowModel& w = model_;
  if (index == 11) {
    w(ba1::npc, 11).picture = SkinPicture(9, 0, 57, 20);
    w(ba1::npc, 12).picture = SkinPicture(9, 57, 57, 20);
    w(ba1::Pic5).visible = view_mode_ == 1;
    w(ba1::Pic3).visible = view_mode_ != 1;
    w(ba1::Pic4).visible = false;
    w(ba1::qk).caption = u"∴ 清空任务";
    w(ba1::npc, 11).enabled = false;
    w(ba1::npc, 12).enabled = true;
  } else {
    w(ba1::npc, 11).picture = SkinPicture(9, 114, 57, 20);
    w(ba1::npc, 12).picture = SkinPicture(9, 171, 57, 20);
    w(ba1::Pic4).visible = true;
    w(ba1::Pic5).visible = false;
    w(ba1::Pic3).visible = false;
    w(ba1::qk).caption = u"∴ 清空列表";
    w(ba1::npc, 11).enabled = true;
    w(ba1::npc, 12).enabled = false;
  }
}

// Closing: to the tray or the exit, as the user answered the first time.
void MainWindow::Close() {
  ProfileStrings& profile = ports_.profile;
  const long long asked = IniNumber(ReadIniValue(profile, config_path_, config::kTs));
  const long long quit = IniNumber(ReadIniValue(profile, config_path_, config::kQuit));
  if (asked == 3) {
    WriteIniValue(profile, config_path_, config::kTs, config::kOff);
    if (ports_.host.AskYesNo(u"关闭 绮映影视盒 最小化到托盘吗？", u"提示：")) {
      WriteIniValue(profile, config_path_, config::kQuit, config::kOn);
      ports_.host.SetShown(false);
    } else {
      WriteIniValue(profile, config_path_, config::kQuit, config::kOff);
      ttt_v();
    }
    return;
  }
  if (quit != 1) ports_.host.SetShown(false);
  else ttt_v();
}

void MainWindow::ShowSkinMenu() {
  const Control& button = model_(ba1::npc, 3);
  std::vector<MenuEntry> entries;
  for (std::size_t i = 0; i < kSkinNames.size(); ++i) {
    entries.push_back({kSkinNames[i], static_cast<long>(i) == skin_number_});
  }
  long chosen = ports_.menus.PopupAt(entries, button.left - 15, button.top + 20);
  if (chosen >= 0 && chosen < kSkinCount) p_p(chosen);
}

void MainWindow::npc_Click(int index) {
  WindowModel& w = model_;
  w(ba1::P1).visible = false;
  w(ba1::jbi).fore_color = kJbiRest;
  w(ba1::qk).fore_color = kQkRest;
  switch (index) {
    case 0:
      ports_.host.ShowState(0);
      w.state = WindowState::kMinimized;
      w(ba1::npc, 0).picture = SkinPicture(1, 45, 24, 19);
      break;
    case 1:
      if (w.state == WindowState::kMaximized) {
        ports_.host.ShowState(1);
        w.state = WindowState::kNormal;
        w(ba1::npc, 1).tool_tip = u"最大化";
        w(ba1::npc, 1).picture = SkinPicture(1, 69, 24, 19);
      } else {
        ports_.host.ShowState(2);
        w.state = WindowState::kMaximized;
        w(ba1::npc, 1).tool_tip = u"还原";
        w(ba1::npc, 1).picture = SkinPicture(5, 0, 24, 19);
      }
      break;
    case 2: Close(); break;
    case 3: ShowSkinMenu(); break;
    case 4: {
      Control& pin = w(ba1::npc, 4);
      const bool pin_now = pin.tool_tip == u"置顶";
      pin.tool_tip = pin_now ? u"取消置顶" : u"置顶";
      pin.picture = SkinPicture(6, pin_now ? 42 : 0, 21, 19);
      zhi_d(pin_now ? 1 : 0);
      break;
    }
    case 5: ShowProgramMenuAt(w(ba1::npc, 5).left - 15, w(ba1::npc, 5).top + 20); break;
    case 6: {
      Control& grip = w(ba1::npc, 6);
      const bool shown = grip.tool_tip == u"关闭侧栏";
      grip.tool_tip = shown ? u"显示侧栏" : u"关闭侧栏";
      w(ba1::l2).visible = !shown;
      LayoutContentArea();
      vexo_Resize();
      break;
    }
    case 7: {
      Control& toggle = w(ba1::npc, 7);
      toggle.tool_tip = toggle.tool_tip.find(u"关闭") != std::u16string::npos ? u"打开" : u"关闭";
      LayoutSidePanel();
      break;
    }
    case 8:
      w(ba1::npc, 8).picture = SkinPicture(7, 0, 120, 32);
      w(ba1::npc, 9).picture = SkinPicture(7, 120, 120, 32);
      w(ba1::Pic1).visible = true;
      w(ba1::Pic2).visible = w(ba1::vexo).visible = w(ba1::jian).visible = w(ba1::Pic5).visible = false;
      view_mode_ = 0;
      if (ActiveListIsLocal(w)) w(ba1::Pic4).visible = true;
      else w(ba1::Pic3).visible = true;
      w(ba1::npc, 9).enabled = true;
      w(ba1::npc, 8).enabled = false;
      break;
    case 9:
      w(ba1::npc, 8).picture = SkinPicture(8, 0, 120, 32);
      w(ba1::npc, 9).picture = SkinPicture(8, 120, 120, 32);
      w(ba1::Pic1).visible = w(ba1::wait).visible = w(ba1::Pic3).visible = false;
      w(ba1::jian).visible = true;
      view_mode_ = 1;
      if (context_.panel_source == 1) ShowTab(11);
      else if (context_.panel_source == 2) ShowTab(12);
      else if (ActiveListIsLocal(w)) w(ba1::Pic4).visible = true;
      else w(ba1::Pic5).visible = true;
      if (context_.web_player_mode == 1) {
        w(ba1::vexo).visible = false;
        w(ba1::Pic2).visible = true;
      } else {
        w(ba1::vexo).visible = true;
        w(ba1::Pic2).visible = false;
        ports_.host.LetPendingEventsRun();
        ports_.panes.Navigate(ba1::Web2, u"about:blank");  // ends any web player
      }
      w(ba1::npc, 9).enabled = false;
      w(ba1::npc, 8).enabled = true;
      break;
    case 11:
    case 12: ShowTab(index); break;
    default: break;  // the tab bar itself has no command
  }
}
