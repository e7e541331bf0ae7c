// The notification-area icon's mouse events and the program menu r_m; the shutdown menu guan
// with the shutdown after playback.
#include "play/main_window.h"
#include "play/text/text_procedures.h"

namespace {

// The mouse messages the icon reports.
constexpr int kLeftButtonUp = 0x0202;
constexpr int kRightButtonUp = 0x0205;

// r_m, the program menu; the settings window brings the actions of the other entries.
const std::vector<MenuEntry> kProgramMenu = {
    {u"软件设置"}, {u"关于我们"}, {u"官方网站"}, {u""}, {u"帮助提示"}, {u"升级检测"}, {u""}, {u"退出软件"},
};
constexpr int kProgramMenuSettings = 0;
constexpr int kProgramMenuAbout = 1;
constexpr int kProgramMenuSite = 2;
constexpr int kProgramMenuHelp = 4;
constexpr int kProgramMenuUpgrade = 5;
constexpr int kProgramMenuExit = 7;

constexpr std::u16string_view kShutdownArmedTip = u"已开启自动关机";
constexpr std::u16string_view kShutdownDisarmedTip = u"计划关机";

}  // namespace

void MainWindow::TrayIconEvent(int mouse_message) {
  if (mouse_message == kLeftButtonUp) {
    if (ports_.host.Minimized()) {
      ports_.host.ShowState(1);
      return;
    }
    ports_.host.SetShown(!ports_.host.Shown());
  } else if (mouse_message == kRightButtonUp) {
    ShowProgramMenu();
  }
}

void MainWindow::ShowProgramMenu() { ProgramMenuChosen(ports_.menus.Popup(kProgramMenu)); }

void MainWindow::ShowProgramMenuAt(long x, long y) { ProgramMenuChosen(ports_.menus.PopupAt(kProgramMenu, x, y)); }

void MainWindow::ProgramMenuChosen(int entry) {
  switch (entry) {
    case kProgramMenuSettings: ShowSecondaryWindow(1); break;
    case kProgramMenuAbout: ShowSecondaryWindow(0); break;
    case kProgramMenuHelp: ShowSecondaryWindow(-1); break;
    case kProgramMenuSite: ports_.host.OpenAddress(u"http://" + HostOfAddress(content_base_) + u"/"); break;
    case kProgramMenuUpgrade: shengji(); break;
    case kProgramMenuExit: ttt_v(); break;
    default: break;
  }
}

bool MainWindow::ShutdownArmed() { return model_(ba1::bo_but, 6).tool_tip.find(u"已开启") != std::u16string::npos; }

void MainWindow::ShowShutdownMenu() {
  const bool armed = ShutdownArmed();
  const int chosen = ports_.menus.Popup({{u"开启播放完自动关机", armed}, {u"取消播放完自动关机", !armed}});
  if (chosen == 0) kaiqi_Click();
  else if (chosen == 1) quxiao_Click();
}

void MainWindow::kaiqi_Click() {
  model_(ba1::bo_but, 6).tool_tip = kShutdownArmedTip;
  ShowTransportFace(6, false);
}

void MainWindow::quxiao_Click() {
  model_(ba1::bo_but, 6).tool_tip = kShutdownDisarmedTip;
  ShowTransportFace(6, false);
}

void MainWindow::ShowSecondaryWindow(int settings_tab) {
  // A pinned main window would cover the new one: unpinned while it appears.
  const bool pinned = model_(ba1::npc, 4).tool_tip == u"取消置顶";
  if (pinned) zhi_d(0);
  if (!ports_.host.Shown()) ports_.host.SetShown(true);
  if (ports_.host.Minimized()) ports_.host.ShowState(1);
  if (settings_tab < 0) ports_.windows.ShowTips();
  else ports_.windows.ShowSettings(settings_tab);
  if (pinned) zhi_d(1);
}
