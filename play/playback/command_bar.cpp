// The commands of the caption buttons, the header buttons and the side panel's tabs.
#include "play/main_window.h"

namespace {
bool ActiveListIsLocal(WindowModel& w) { return w(ba1::qk).caption.find(u"列表") != std::u16string::npos; }
}  // namespace

void MainWindow::ShowTab(int index) {
  WindowModel& w = model_;
  if (index == 11) {
    w(ba1::Pic5).visible = view_mode_ == 1;
    w(ba1::Pic3).visible = view_mode_ != 1;
    w(ba1::Pic4).visible = false;
    w(ba1::qk).caption = u"∴ 清空任务";
    w(ba1::npc, 11).enabled = false;
    w(ba1::npc, 12).enabled = true;
  } else {
    w(ba1::Pic4).visible = true;
    w(ba1::Pic5).visible = false;
    w(ba1::Pic3).visible = false;
    w(ba1::qk).caption = u"∴ 清空列表";
    w(ba1::npc, 11).enabled = true;
    w(ba1::npc, 12).enabled = false;
  }
}

void MainWindow::npc_Click(int index) {
  WindowModel& w = model_;
  w(ba1::P1).visible = false;
  switch (index) {
    case 0:
      ports_.host.ShowState(0);
      w.state = WindowState::kMinimized;
      break;
    case 1:
      if (w.state == WindowState::kMaximized) {
        ports_.host.ShowState(1);
        w.state = WindowState::kNormal;
        w(ba1::npc, 1).tool_tip = u"最大化";
      } else {
        ports_.host.ShowState(2);
        w.state = WindowState::kMaximized;
        w(ba1::npc, 1).tool_tip = u"还原";
      }
      break;
    case 4: {
      Control& pin = w(ba1::npc, 4);
      const bool pin_now = pin.tool_tip == u"置顶";
      pin.tool_tip = pin_now ? u"取消置顶" : u"置顶";
      zhi_d(pin_now ? 1 : 0);
      break;
    }
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
      w(ba1::Pic1).visible = true;
      w(ba1::Pic2).visible = w(ba1::vexo).visible = w(ba1::jian).visible = w(ba1::Pic5).visible = false;
      view_mode_ = 0;
      if (ActiveListIsLocal(w)) w(ba1::Pic4).visible = true;
      else w(ba1::Pic3).visible = true;
      w(ba1::npc, 9).enabled = true;
      w(ba1::npc, 8).enabled = false;
      break;
    case 9:
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
    default:
      // Closing, the skin menu and the main menu come with the exit and the settings window.
      break;
  }
}
