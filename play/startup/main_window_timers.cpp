// The window's timers. Each tick goes to the part of the program that the timer drives.
#include "play/main_window.h"

void MainWindow::OnTimer(std::u16string_view timer) {
  // The process supervision (Timer3) and the upgrade check (Timer5) run once per start and
  // then switch their timer off; their work arrives with the supervision and update code.
  if (timer == u"Timer3" || timer == u"Timer5") model_.Timer(timer).enabled = false;
  else if (timer == u"Timer1") Timer1_Timer();
  else if (timer == u"Timer2") Timer2_Timer();
  else if (timer == u"Timer4") Timer4_Timer();
  else if (timer == u"Timer6") Timer6_Timer();
}
