#pragma once
// The main window BA1 on the screen: a borderless top-level window whose children mirror the
// model, with the player control in place in `vexo`, the browser panes, the hand-off of later
// copies, and the tray icon. Every window event becomes one handler call on the core through
// Run(), after which the model reaches the screen.
#include <windows.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/win32/window_base.h"
#include "play/main_window.h"
#include "play/ports/browser_pane.h"
#include "play/win32/bitmap_resources_win32.h"
#include "play/win32/clock_win32.h"
#include "play/win32/file_drop_win32.h"
#include "play/win32/files_win32.h"
#include "play/win32/model_renderer_win32.h"
#include "play/win32/pane_set_win32.h"
#include "play/win32/player_host_win32.h"
#include "play/win32/player_slot.h"
#include "play/win32/processes_win32.h"
#include "play/win32/secondary_windows_win32.h"
#include "play/win32/single_instance_win32.h"
#include "play/win32/taskbar_buttons_win32.h"
#include "play/win32/transfer_win32.h"
#include "play/win32/tray_icon_win32.h"

class MainWindowWin32 final : public WindowHost,
                              public BrowserPaneEvents,
                              public Menus,
                              public Dialogs,
                              public DesktopSession,
                              private WindowBase {
 public:
  struct Args {
    HINSTANCE instance = nullptr;
    ProfileStrings* profile = nullptr;
    HistoryLists* lists = nullptr;
    std::u16string program_folder;
    std::u16string content_base;
  };

  explicit MainWindowWin32(Args args);
  ~MainWindowWin32() override;

  // Creates the window (hidden), runs the first-instance load with the command line, shows it.
  bool Open(std::u16string_view command_line);
  HWND hwnd() const { return hwnd_; }
  MainWindow& core() { return *core_; }
  // Runs a handler as a window event does: the model's changes reach the screen afterwards.
  // Once the window is gone no new handler starts; one that was waiting for the site when it
  // went finishes against ports that no longer reach a pane or the player.
  template <typename Handler>
  void Run(Handler&& handler) {
    if (!core_ || closed_) return;
    handler(*core_);
    AfterHandler();
  }
  PaneSet& panes() { return *panes_; }

  // WindowHost
  PixelRect WorkArea() override;
  void InstallMaxSizeHook(long max_width, long max_height) override;
  void AddMinimizeMaximizeBoxes() override;
  void BringToFront() override;
  void LetPendingEventsRun() override;
  void AddTrayIcon(std::u16string_view tool_tip) override;
  void TrayBalloon(std::u16string_view text) override;
  void MessageOk(std::u16string_view text, std::u16string_view title) override;
  bool AskYesNo(std::u16string_view text, std::u16string_view title) override;
  void OpenFolder(std::u16string_view folder) override;
  void SetTopmost(bool topmost) override;
  PixelRect Screen() override;
  void ShowState(int state) override;
  TextExtent MeasureCaption(std::u16string_view caption) override;
  void RemoveTrayIcon() override;
  void SweepTrayIcons() override;
  void OpenAddress(std::u16string_view address) override;
  void EndProcessNow() override;
  void UnloadWindows() override;
  bool Minimized() override;
  bool Shown() override;
  void SetShown(bool shown) override;
  void ShutdownComputer(bool force) override;
  void SetRoundedRegion(long width, long height) override;
  void SetPointer(Pointer pointer) override;
  void CaptureMouse(const ControlId& control) override;
  void ReleaseMouse() override;
  void RunMoveSizeLoop(int hit_code) override;
  // DesktopSession
  void KeepAwake(bool awake) override;
  void ShowOnTaskbar(const TaskbarView& view) override;
  // Menus
  int Popup(const std::vector<MenuEntry>& entries) override;
  int PopupAt(const std::vector<MenuEntry>& entries, long x, long y) override;
  // Dialogs
  std::optional<std::u16string> OpenFile(std::u16string_view filter, std::u16string_view title) override;
  // BrowserPaneEvents
  void BeforeNavigate(ControlName pane, std::u16string_view address, bool& cancel) override;
  void DownloadBegin(ControlName pane) override;
  void DownloadComplete(ControlName pane) override;
  void NavigateError(ControlName pane, std::u16string_view address, long status) override;
  void ContextMenu(ControlName pane, std::u16string_view link) override;

 private:
  static constexpr UINT kTrayMessage = WM_APP + 1;
  static constexpr UINT kApplyRegionMessage = WM_APP + 2;
  static constexpr UINT kFilesDroppedMessage = WM_APP + 3;
  // Beyond the model's timers (1 to their count): what the first paint does not need is made
  // once the window is up.
  static constexpr UINT_PTR kSettleTimer = 0x7E01;

  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnFinalMessage() override;
  void OnSize(WPARAM kind, LPARAM size);
  void Settle();
  void PlaceExternal(const Control& control, HWND container, bool showing);
  void ApplyOuterSize();
  void AfterHandler();
  void SyncTimers();
  void ApplyRegion();
  HBITMAP ImageOf(const std::u16string& slot);
  int PopupAtScreen(const std::vector<MenuEntry>& entries, POINT at);

  Args args_;
  Win32Clock clock_;
  PlayerSlot player_;
  Win32Files files_;
  Win32Transfer transfer_;
  Win32Processes processes_;
  std::unique_ptr<PaneSet> panes_;
  std::unique_ptr<SecondaryWindowsWin32> windows_;
  std::unique_ptr<MainWindow> core_;
  std::unique_ptr<ModelRenderer> renderer_;
  std::unique_ptr<DdeCommandServer> dde_;
  std::unique_ptr<FileDropRegistration> drop_;
  std::deque<std::vector<std::u16string>> dropped_files_;  // dropped, to play after the drop returned
  std::unique_ptr<TaskbarButtons> taskbar_buttons_;
  TrayIcon tray_;
  std::u16string tray_tip_;
  UINT taskbar_created_ = 0;  // the shell's announcement after it restarted
  bool closed_ = false;
  bool tool_tips_made_ = false;
  long max_width_ = 0;
  long max_height_ = 0;
  std::vector<TimerSpec> applied_timers_;
  long applied_left_twips_ = -1;
  long applied_top_twips_ = -1;
  std::unique_ptr<BitmapResources> bitmaps_;
  HCURSOR pointer_ = nullptr;
  SIZE region_size_{};  // the rounded region asked for and not yet set
  // In the system's move and size loop; the region was taken away for a live border drag.
  bool in_size_move_ = false;
  bool region_dropped_ = false;
  bool maximized_ = false;  // covering the work area, see ShowState
  RECT restore_rect_{};     // where the window was before
};
