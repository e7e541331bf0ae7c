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
};

// The upgrade check (Timer5) runs once per start and then switches its timer off; its work
// arrives with the update code.
void RunOnce(MainWindow& w, TimerName timer) { w.model().Timer(timer).enabled = false; }

struct TimerRoute {
  TimerName timer;
  void (*handle)(MainWindow& window);
};

constexpr TimerRoute kTimerRoutes[] = {
    {ba1::Timer1, [](MainWindow& w) { w.Timer1_Timer(); }},
    {ba1::Timer2, [](MainWindow& w) { w.Timer2_Timer(); }},
    {ba1::Timer3, [](MainWindow& w) { w.Timer3_Timer(); }},
    {ba1::Timer4, [](MainWindow& w) { w.Timer4_Timer(); }},
    {ba1::Timer5, [](MainWindow& w) { RunOnce(w, ba1::Timer5); }},
    {ba1::Timer6, [](MainWindow& w) { w.Timer6_Timer(); }},
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
