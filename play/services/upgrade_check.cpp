// The upgrade check: six seconds after the start the site's upgrade file fills the footer's
// news links, gives the exit page, and names the newest version; a different version offers
// the upgrade, which runs the local updater or opens the installer's address, then exits.
#include "play/chrome/chrome_colours.h"
#include "play/main_window.h"
#include "play/services/upgrade_file.h"

namespace {

std::u16string Trimmed(std::u16string_view text) {
  const auto first = text.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return {};
  const auto last = text.find_last_not_of(u' ');
  return std::u16string(text.substr(first, last - first + 1));
}

std::u16string UpgradeQuestion(std::u16string_view version) {
  return u"检测到最新版本 " + std::u16string(version) + u" ,你需要现在升级吗？";
}

}  // namespace

bool MainWindow::NewerVersionKnown() const {
  return !latest_version_.empty() && latest_version_ != Trimmed(current_version_);
}

void MainWindow::Timer5_Timer() {
  WindowModel& w = model_;
  w.Timer(ba1::Timer5).enabled = false;
  const std::optional<std::u16string> text =
      ports_.transfer.OpenUrl(content_base_ + u"lib/wen.txt", kMaxUpgradeFileBytes);
  if (!text) return;
  const std::optional<UpgradeFile> file = ParseUpgradeFile(*text);
  if (!file) return;
  exit_action_ = file->exit_action;
  for (std::size_t i = 0; i < file->news.size(); ++i) {
    const int index = static_cast<int>(i);
    w(ba1::Lab2, index).caption = file->news[i].title;
    if (file->news[i].address) w(ba1::Te, index).caption = *file->news[i].address;
    w(ba1::Lab2, index).fore_color = kFooterLink;
  }
  if (!file->news.empty()) {
    PlaceFooter();
    w.Timer(ba1::Timer7).enabled = true;
  }
  latest_version_ = file->latest_version;
  if (!NewerVersionKnown()) return;
  if (ports_.host.AskYesNo(UpgradeQuestion(latest_version_), u"绮映影视盒提示：")) RunUpgrade();
}

void MainWindow::shengji() {
  if (NewerVersionKnown()) {
    if (ports_.host.AskYesNo(UpgradeQuestion(latest_version_), u"提示：")) RunUpgrade();
    return;
  }
  ports_.host.MessageOk(u"你现在使用的是最新版本，无需升级！", u"提示：");
}

void MainWindow::RunUpgrade() {
  const std::u16string updater = program_folder_ + u"\\update.exe";
  if (ports_.files.Exists(updater)) {
    ports_.processes.StartMinimized(updater);
  } else {
    ports_.host.OpenAddress(content_base_ + u"update/setup.exe");
  }
  ttt_v();
}
