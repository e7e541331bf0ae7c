#pragma once
// The main window BA1: its model, its playback context and the handlers that the subsystems
// define (start-up and hand-off in startup/, commands and buttons in playback/).
#include <string>
#include <string_view>

#include "play/lists/history_lists.h"
#include "play/model/ba1_design.h"
#include "play/model/playback_context.h"
#include "play/ports/player_control.h"
#include "play/ports/profile_strings.h"
#include "play/ports/window_host.h"

struct MainWindowPorts {
  ProfileStrings& profile;
  PlayerControl& player;
  HistoryLists& lists;
  WindowHost& host;
  BrowserPanes& panes;
};

class MainWindow {
 public:
  MainWindow(MainWindowPorts ports, std::u16string program_folder, std::u16string content_base);

  // The load handler's first-instance branch: work area, window style, settings, saved
  // size, panes on their first pages, tray icon, playback context, then the command line.
  void LoadFirstInstance(std::u16string_view command_line);
  // A later copy handed over its command line.
  void Form_LinkExecute(std::u16string_view command);
  // Acts on one command line: a page link for the side panel, or something to play.
  void l_com(std::u16string_view text);

  // A tick of one of the window's timers, by name.
  void OnTimer(std::u16string_view timer);
  void npc_Click(int index);

  // Layout of the borderless window (normal and compact mode).
  void Form_Resize();
  void LayoutTitleButtons();
  void LayoutContentArea();
  void LayoutSidePanel();
  void vexo_Resize();
  void LayoutCompact();
  void jian_Click();
  void jbi_Click();
  void zhi_d(int d_i);
  void Timer6_Timer();
  int banner_load_failed = 0;  // BannerLoadFailed
  void bo_but_Click(int index);

  WindowModel& model() { return model_; }
  PlaybackContext& context() { return context_; }
  const std::u16string& config_path() const { return config_path_; }
  int view_mode() const { return view_mode_; }
  int compact_mode() const { return compact_mode_; }
  PixelRect work_area() const { return work_area_; }
  const std::u16string& user_id() const { return user_id_; }

 private:
  void ResetPlaybackContext();
  void ShowTab(int index);

  MainWindowPorts ports_;
  std::u16string program_folder_;
  std::u16string content_base_;
  std::u16string config_path_;
  WindowModel model_;
  PlaybackContext context_;
  PixelRect work_area_;
  std::u16string user_id_;
  std::u16string current_version_;
  long skin_number_ = 1;
  int view_mode_ = 0;      // ViewMode: 0 catalogue, 1 player
  int compact_mode_ = 0;   // CompactMode
  bool key_preview_ = false;
};
