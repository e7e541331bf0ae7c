#pragma once
// The main window BA1: its model, its playback context and the handlers that the subsystems
// define (start-up and hand-off in startup/, commands and buttons in playback/).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "play/lists/history_lists.h"
#include "play/model/ba1_design.h"
#include "play/model/playback_context.h"
#include "play/ports/clock.h"
#include "play/ports/code_page.h"
#include "play/ports/desktop_session.h"
#include "play/ports/dialogs.h"
#include "play/ports/files.h"
#include "play/ports/menus.h"
#include "play/ports/player_control.h"
#include "play/ports/processes.h"
#include "play/ports/profile_strings.h"
#include "play/ports/secondary_windows.h"
#include "play/ports/transfer.h"
#include "play/ports/window_host.h"

struct MediaFileKey;

struct MainWindowPorts {
  ProfileStrings& profile;
  Files& files;
  PlayerControl& player;
  HistoryLists& lists;
  WindowHost& host;
  BrowserPanes& panes;
  Transfer& transfer;
  Processes& processes;
  Menus& menus;
  Dialogs& dialogs;
  SecondaryWindows& windows;
  DesktopSession& desktop;
  Clock& clock;
};

// The address the finish step sends Web2 to: a host that never resolves.
inline constexpr std::u16string_view kFinishSentinel = u"http://vexo-finish.invalid/finish.htm";

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

  // A click on a drawn control, and a tick of one of the window's timers: each goes to its
  // handler through the routing tables.
  void OnClick(const ControlId& id);
  // A mouse event on a drawn control: `left` tells whether the left button is the one pressed
  // (down) or held (move); x and y are in the control's own pixels.
  enum class MouseAction { kDown, kMove, kUp };
  void OnMouse(const ControlId& id, MouseAction action, bool left, long x, long y);
  void OnTimer(TimerName timer);
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

  // Skins: apply skin `h_i` (its colours, its images, the frame and the button faces).
  void p_p(long& h_i);
  void PaintNormalFrame();
  void PaintCompactFrame();
  void PaintCommandBar();
  void SetRoundedRegion();
  long skin_number() const { return skin_number_; }

  // The seek bar, the volume slider and the keys of the player. `left` tells whether the left
  // button is the one pressed (or held, for a move); x is in the area's own pixels.
  void gunt_MouseDown(bool left, long x);
  void gunt_MouseUp();
  void gunt1_MouseMove(bool left, long x);
  void gunt1_MouseUp();
  void huan_MouseDown(bool left, long x);
  void huan_MouseUp();
  void yin_MouseDown(bool left, long x);
  void bo_y_MouseDown(bool left, long x);
  void bo_v_MouseMove(bool left, long x);
  void Form_KeyDown(int key_code);

  // The borderless window's own mouse handling: the sizing band, the caption drag, the hover
  // faces and the balloon P1 of the buttons.
  void Form_MouseDown(long x, long y);
  void Form_MouseMove(bool left_held, long x, long y);
  void Form_MouseUp(long x, long y);
  void BorderSizing(int mode, long x, long y);
  void npc_MouseMove(int index, long x, long y);
  void bo_but_MouseMove(int index, long x, long y);
  // The pointer moved over a plain area: the text links take their rest or hover colours.
  void HoverOver(ControlName area);

  // The upgrade check: the timed one (Timer5) and the one of the program menu.
  void Timer5_Timer();
  void shengji();
  const std::u16string& latest_version() const { return latest_version_; }

  // The footer's rotating links and the partner link.
  void Timer7_Timer();
  void Lab2_Click(int index);
  void hzhuo_Click();

  // The panes' events; `pane` is the name of the pane that raised it.
  void BeforeNavigate(ControlName pane, std::u16string_view address, bool& cancel);
  void DownloadBegin(ControlName pane);
  void DownloadComplete(ControlName pane);
  void NavigateError(ControlName pane, std::u16string_view address);
  void webe_Click();  // also the click on `jia`
  // A right click on a page, with the address of the link under the pointer (empty: none).
  void PageContextMenu(ControlName pane, std::u16string_view link);

  // The playback monitor, the finish step and the next episode.
  void Timer1_Timer();
  void Timer2_Timer();
  void Timer4_Timer();
  void QueryNextEpisode();
  int banner_load_failed = 0;  // BannerLoadFailed
  void bo_but_Click(int index);
  // Keeps the current item's place in its list (nothing for no item or no place).
  void SavePosition(long position);
  // The play/pause button's state: its tool tip and its face.
  void ShowPlayFace(bool playing);
  // The normal or under-the-mouse face of a transport button in its current state.
  void ShowTransportFace(int index, bool hover);

  // A video player's desktop habits. After every event: whether an item plays now, which the
  // session's awake request and the task bar's buttons and progress follow (the one place
  // that watches the player's state for them).
  void ObservePlayback();
  // A thumbnail button under the task bar's preview.
  void ThumbButtonClicked(ThumbButton button);
  // A media key or a remote's button (app_command::); false for one the player has no use for.
  bool AppCommand(int command);
  // Files dropped on the window, in the order given: the first video plays as if opened with
  // the open-file button, the others join the local list; the rest are left out with a balloon.
  bool FilesDropped(const std::vector<std::u16string>& paths);
  // The awake request let go at once (the exit, the shutdown after playback).
  void ReleaseAwake();

  // The desktop player's processes and the exit.
  void Timer3_Timer();  // the supervision pass
  void ttt_v();         // the exit
  bool KillProcessByName(std::u16string_view name);
  // The exit page the upgrade file announces: a flag, "****" and an address.
  void set_exit_action(std::u16string action) { exit_action_ = std::move(action); }

  // The notification-area icon (the mouse message it reports) and the shutdown menu.
  void TrayIconEvent(int mouse_message);
  void ShowShutdownMenu();
  // The program menu r_m (at the pointer, or at a point of the window) and its entries.
  void ShowProgramMenu();
  void ShowProgramMenuAt(long x, long y);
  void ProgramMenuChosen(int entry);
  // The settings window on a tab (0 about, 1 settings), or the tips window (-1), with the main
  // window shown and its always-on-top state kept.
  void ShowSecondaryWindow(int settings_tab);
  void kaiqi_Click();
  void quxiao_Click();
  bool ShutdownArmed();

  // Clearing the lists and deleting downloaded files.
  void qk_Click();
  void qk_xl();
  void qk_xw();
  // Deletes the downloaded files of the history row `selected_link` ("open://n" or "delk://n")
  // together with the row.
  void eee_Click(std::u16string_view selected_link);
  // The player's download folder: Defaultsavepath of VexoPlayer.xml in PlayerFolder, or
  // "C:\Media\" without that file; "" when the file names no full path. Always with its
  // final backslash.
  std::u16string DownloadFolder();

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
  std::u16string exit_action_;     // ExitAction
  std::u16string latest_version_;  // LatestVersion
  std::u16string selected_link_;   // SelectedLink: the history row right-clicked last
  bool NewerVersionKnown() const;
  void RunUpgrade();
  long skin_number_ = 1;
  bool skin_applied_ = false;      // SkinApplied
  bool sizing_started_ = false;    // SizingStarted
  bool caption_dragging_ = false;  // CaptionDragging
  void ShowSkinMenu();
  void Close();  // command 2
  void PlaceBalloon(const Control& button, long left, long top, long padding);
  // An auto-sized label takes the size of its caption now, so that it is placed by it.
  void FitToCaption(Control& label);
  void PlaceFooter();
  void Unmute();
  void StepVolume(long by);
  void OpenLocalFile(const std::u16string& path);
  void GoToNextEpisode();
  bool awake_ = false;       // as last asked of the desktop session
  TaskbarView taskbar_;      // as last shown on the task bar
  long download_share_ = 0;  // per mille, as the monitor read it last
  // When the last file named by a command line started: Explorer starts one copy per file of
  // a selection, and the copies that follow it at once join the local list.
  std::optional<std::uint64_t> file_command_ms_;
  bool NextEpisodeKnown() const;
  // Ten seconds back or ahead, as the arrow keys and the task bar's back button move.
  void StepPosition(bool back);
  // A command line: several quoted files open as a drop of them, one text goes to l_com.
  void ActOnCommandLine(std::u16string_view text);
  // Notes when a command line names a file of this computer, or several.
  void MarkFileCommand(std::u16string_view text);
  // A file handed over just after the last one of a command line joins the local list (true);
  // anything else plays as usual (false).
  bool JoinsSelection(std::u16string_view command);
  long SeekSpan();
  std::optional<long> PlaceVolumeKnob(long left);
  void SeekTo(double target);
  int view_mode_ = 0;     // ViewMode: 0 catalogue, 1 player
  int compact_mode_ = 0;  // CompactMode
  bool key_preview_ = false;
  // Monitor state.
  int last_state_ = 0;              // LastState
  long last_rate_ = 0;              // LastRate
  int connect_ticks_ = 0;           // ConnectTicks
  int reconnect_done_ = 0;          // ReconnectDone
  std::u16string balloon_setting_;  // BalloonSetting
  int retry_ticks_ = 0;             // RetryTicks
  int playing_ticks_ = 0;           // ticks of playback since the place was last kept
  bool web7_error_ = false;
  // What Web5 was last allowed to load: list commands from it count only while it shows one
  // of the program's own list pages, never a page of the site.
  std::u16string web5_address_;
  bool ShowsOwnListPage(std::u16string_view address) const;

  // What the user chose last and what plays: a reply to a request made for an earlier choice
  // or an earlier item is dropped when it arrives (window events run while a request waits).
  void NewChoice() { ++choice_serial_; }
  void NewItem() {
    ++item_serial_;
    playing_ticks_ = 0;
  }
  unsigned choice_serial_ = 0;
  unsigned item_serial_ = 0;
  bool in_tick_ = false;  // a timer's handler is running

  bool LocalListActive();
  bool PlayerSettingsExist();
  // The save path the player's settings name, as a folder ending in its backslash; nothing
  // without the file, or for an empty or relative path.
  std::optional<std::u16string> PlayerSaveFolder();
  std::vector<std::u16string> MatchingFiles(std::u16string_view folder, const MediaFileKey& key);
  bool AskAndDelete(std::u16string_view folder, const std::vector<std::u16string>& names, bool& failed);
  const CodePage& code_page() const { return code_page_; }
  SystemCodePage code_page_;

  void PlayLink(std::u16string_view link);         // eevexo://
  void ResolveItem(std::u16string_view link);      // eebovod://
  void OpenListEntry(std::u16string_view link);    // open://
  void DeleteListEntry(std::u16string_view link);  // delk://
  void FinishSignal();
  void EnsurePlayerTerminal();
  std::u16string EpisodePage(std::u16string_view id, std::u16string_view v, std::u16string_view v1,
                             std::u16string_view name, std::u16string_view tail) const;
};
