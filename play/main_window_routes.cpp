// Where the window's events go: one row per clickable control and per timer. Adding a button
// means a row in the design table, its handler, and a row here.
#include <iterator>

#include "play/main_window.h"

namespace {

struct ClickRoute {
  ControlName control;
  void (*handle)(MainWindow& window, int index);
};

constexpr ClickRoute kClickRoutes[] = {
    {ba1::npc, [](MainWindow& w, int index) { w.npc_Click(index); }},
    {ba1::bo_but, [](MainWindow& w, int index) { w.bo_but_Click(index); }},
    {ba1::jian, [](MainWindow& w, int) { w.jian_Click(); }},
    {ba1::jbi, [](MainWindow& w, int) { w.jbi_Click(); }},
    {ba1::webe, [](MainWindow& w, int) { w.webe_Click(); }},
    {ba1::jia, [](MainWindow& w, int) { w.webe_Click(); }},
    {ba1::qk, [](MainWindow& w, int) { w.qk_Click(); }},
    {ba1::Lab2, [](MainWindow& w, int index) { w.Lab2_Click(index); }},
    {ba1::hzhuo, [](MainWindow& w, int) { w.hzhuo_Click(); }},
    // The cover over the picture plays, as the play button does.
    {ba1::adp, [](MainWindow& w, int) { w.bo_but_Click(0); }},
};

using Action = MainWindow::MouseAction;

struct MouseRoute {
  ControlName control;
  Action action;
  void (*handle)(MainWindow& window, int index, bool left, long x, long y);
};

constexpr MouseRoute kMouseRoutes[] = {
    {ba1::npc, Action::kMove, [](MainWindow& w, int index, bool, long x, long y) { w.npc_MouseMove(index, x, y); }},
    {ba1::bo_but, Action::kMove,
     [](MainWindow& w, int index, bool, long x, long y) { w.bo_but_MouseMove(index, x, y); }},
    {ba1::gunt, Action::kDown, [](MainWindow& w, int, bool left, long x, long) { w.gunt_MouseDown(left, x); }},
    {ba1::gunt, Action::kUp, [](MainWindow& w, int, bool, long, long) { w.gunt_MouseUp(); }},
    {ba1::gunt1, Action::kMove, [](MainWindow& w, int, bool left, long x, long) { w.gunt1_MouseMove(left, x); }},
    {ba1::gunt1, Action::kUp, [](MainWindow& w, int, bool, long, long) { w.gunt1_MouseUp(); }},
    {ba1::huan, Action::kDown, [](MainWindow& w, int, bool left, long x, long) { w.huan_MouseDown(left, x); }},
    {ba1::huan, Action::kUp, [](MainWindow& w, int, bool, long, long) { w.huan_MouseUp(); }},
    {ba1::yin, Action::kDown, [](MainWindow& w, int, bool left, long x, long) { w.yin_MouseDown(left, x); }},
    {ba1::bo_y, Action::kDown, [](MainWindow& w, int, bool left, long x, long) { w.bo_y_MouseDown(left, x); }},
    {ba1::bo_v, Action::kMove, [](MainWindow& w, int, bool left, long x, long) { w.bo_v_MouseMove(left, x); }},
};

// Areas whose only mouse behaviour is the pointer's shape and the links' hover colours.
constexpr ControlName kHoverAreas[] = {ba1::jbi, ba1::qk, ba1::bo_ad, ba1::bo_foot, ba1::shan, ba1::zz, ba1::u_k};

struct TimerRoute {
  TimerName timer;
  void (*handle)(MainWindow& window);
};

constexpr TimerRoute kTimerRoutes[] = {
    {ba1::Timer1, [](MainWindow& w) { w.Timer1_Timer(); }}, {ba1::Timer2, [](MainWindow& w) { w.Timer2_Timer(); }},
    {ba1::Timer3, [](MainWindow& w) { w.Timer3_Timer(); }}, {ba1::Timer4, [](MainWindow& w) { w.Timer4_Timer(); }},
    {ba1::Timer5, [](MainWindow& w) { w.Timer5_Timer(); }}, {ba1::Timer6, [](MainWindow& w) { w.Timer6_Timer(); }},
    {ba1::Timer7, [](MainWindow& w) { w.Timer7_Timer(); }},
};

}  // namespace

void MainWindow::OnClick(const ControlId& id) {
  for (const ClickRoute& route : kClickRoutes) {
    if (route.control == id.name) {
      route.handle(*this, id.index);
      return;
    }
  }
}

void MainWindow::OnMouse(const ControlId& id, MouseAction action, bool left, long x, long y) {
  for (const MouseRoute& route : kMouseRoutes) {
    if (route.control == id.name && route.action == action) {
      route.handle(*this, id.index, left, x, y);
      return;
    }
  }
  if (action != MouseAction::kMove) return;
  for (ControlName area : kHoverAreas) {
    if (area == id.name) {
      HoverOver(area);
      return;
    }
  }
}

// A tick runs only while its timer is on (a handler may have switched it off while window
// events ran in its middle) and never inside another tick.
void MainWindow::OnTimer(TimerName timer) {
  if (in_tick_ || !model_.Timer(timer).enabled) return;
  for (const TimerRoute& route : kTimerRoutes) {
    if (route.timer == timer) {
      struct TickScope {
        bool& flag;
        explicit TickScope(bool& f) : flag(f) { flag = true; }
        ~TickScope() { flag = false; }
      } scope(in_tick_);
      route.handle(*this);
      return;
    }
  }
}
