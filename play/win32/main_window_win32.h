#pragma once
// The main window BA1 on the screen: a borderless top-level window whose children mirror the
// model, with the player control in place in `vexo`, the hand-off of later copies, and the
// tray icon.
#include <windows.h>
#include <shellapi.h>

#include <map>
#include <memory>
#include <string>

#include "play/main_window.h"
#include "play/ports/browser_pane.h"
#include "play/win32/link_list_pane_win32.h"
#include "play/win32/web_browser_pane_win32.h"
#include "play/win32/model_renderer_win32.h"
#include "play/win32/player_host_win32.h"
#include "play/win32/player_slot.h"
#include "play/win32/files_win32.h"
#include "play/win32/processes_win32.h"
#include "play/win32/single_instance_win32.h"
#include "play/win32/transfer_win32.h"

class MainWindowWin32 final : public WindowHost, public BrowserPanes, public BrowserPaneEvents {
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
  MainWindowWin32(const MainWindowWin32&) = delete;
  MainWindowWin32& operator=(const MainWindowWin32&) = delete;

  // Creates the window (hidden), runs the first-instance load with the command line, shows it.
  bool Open(std::u16string_view command_line);
  HWND hwnd() const { return hwnd_; }
  MainWindow& core() { return *core_; }
  // Runs a handler as a window event does: the model's changes reach the screen afterwards.
  template <typename Handler>
  void Run(Handler handler) {
    handler(*core_);
    AfterHandler();
  }
  // The address each pane was last sent to.
  const std::map<std::u16string, std::u16string>& pane_addresses() const { return pane_addresses_; }

  // WindowHost
  PixelRect WorkArea() override;
  void InstallMaxSizeHook(long max_width, long max_height) override;
  void AddMinimizeMaximizeBoxes() override;
  void BringToFront() override;
  void LetPendingEventsRun() override;
  void AddTrayIcon(std::u16string_view tool_tip) override;
  void TrayBalloon(std::u16string_view text) override;
  void MessageOk(std::u16string_view text) override;
  void SetTopmost(bool topmost) override;
  PixelRect Screen() override;
  void ShowState(int state) override;
  // BrowserPanes
  void Navigate(std::u16string_view pane, std::u16string_view address) override;
  void Refresh(std::u16string_view pane) override;
  void SetSilent(std::u16string_view pane, bool silent) override;
  PaneWindow* Pane(std::u16string_view name);
  bool uses_web_browser() const { return use_web_browser_; }
  // BrowserPaneEvents
  void BeforeNavigate(std::u16string_view pane, std::u16string_view address, bool& cancel) override;
  void DownloadBegin(std::u16string_view pane) override;
  void DownloadComplete(std::u16string_view pane) override;
  void NavigateError(std::u16string_view pane, std::u16string_view address, long status) override;
  void ContextMenu(std::u16string_view pane, std::u16string_view link) override {}

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void OnClick(const ControlId& id);
  void PlaceExternal(const Control& control, HWND container);
  void ApplyOuterSize();
  void AfterHandler();
  void SyncTimers();

  Args args_;
  HWND hwnd_ = nullptr;
  PlayerSlot player_;
  Win32Files files_;
  Win32Transfer transfer_;
  Win32Processes processes_;
  std::unique_ptr<MainWindow> core_;
  std::unique_ptr<ModelRenderer> renderer_;
  std::unique_ptr<DdeCommandServer> dde_;
  std::map<std::u16string, std::u16string> pane_addresses_;
  std::map<std::u16string, std::unique_ptr<PaneWindow>> panes_;
  bool use_web_browser_ = false;
  long max_width_ = 0;
  long max_height_ = 0;
  bool tray_added_ = false;
  std::vector<TimerSpec> applied_timers_;
  long applied_left_twips_ = -1;
  long applied_top_twips_ = -1;
  NOTIFYICONDATAW tray_{};
};
