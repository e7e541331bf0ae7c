// The footer: up to four links that the upgrade check fills, shown one at a time and rotated
// every four seconds, and the partner link at the right.
#include "common/text/decimal.h"
#include "common/text/web_address.h"
#include "play/main_window.h"
#include "play/startup/run_startup.h"
#include "play/text/text_procedures.h"

namespace {

constexpr int kFooterLinks = 4;

}  // namespace

void MainWindow::Timer7_Timer() {
  WindowModel& w = model_;
  int filled = 0;
  for (int i = 0; i < kFooterLinks; ++i) {
    if (!w(ba1::Te, i).caption.empty() && !w(ba1::Lab2, i).caption.empty()) ++filled;
  }
  if (filled == 0) {
    // Nothing to rotate until the upgrade check fills links and switches the timer on again.
    w.Timer(ba1::Timer7).enabled = false;
    return;
  }
  Control& index_holder = w(ba1::Lab, 5);
  const long long current = IniNumber(index_holder.caption);
  long long next = current + 1;
  if (next >= filled || next < 0) next = 0;
  index_holder.caption = Decimal(next);
  if (current >= 0 && current < kFooterLinks) w(ba1::Lab2, static_cast<int>(current)).visible = false;
  w(ba1::Lab2, static_cast<int>(next)).visible = true;
}

void MainWindow::Lab2_Click(int index) {
  if (index < 0 || index >= kFooterLinks) return;
  // Footer addresses come from the site: a broken or hostile one must not run a local file.
  const std::u16string address = model_(ba1::Te, index).caption;
  if (IsOpenableWebAddress(address)) ports_.host.OpenAddress(address);
}

void MainWindow::hzhuo_Click() { ports_.host.OpenAddress(content_base_); }
