// The main window itself: its creation, the model mirrored after every handler, and the
// window's messages turned into handler calls. The ports it offers the core are in
// main_window_host_win32.cpp (the desktop, the shell, the tray) and
// main_window_dialogs_win32.cpp (menus and dialogs).
#include "play/win32/main_window_win32.h"

#include "common/win32/gdi_scope.h"
#include "common/win32/wide.h"
#include "play/win32/own_player_win32.h"

MainWindowWin32::MainWindowWin32(Args args) : args_(std::move(args)) {}

// The children go before the window: the hand-off server, the panes, the drawn controls and
// the player; then the window itself, whose WM_DESTROY removes the tray icon and ends the loop.
MainWindowWin32::~MainWindowWin32() {
  drop_.reset();
  dde_.reset();
  if (panes_) panes_->Clear();
  renderer_.reset();
  player_.Place(nullptr);
  Destroy();
}

bool MainWindowWin32::Open(std::u16string_view command_line) {
  // No CS_DBLCLKS: a quick second press on the header or the band is a press like the first.
  WNDCLASSEXW wc{sizeof wc};
  wc.hInstance = args_.instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(args_.instance, MAKEINTRESOURCEW(1));
  wc.lpszClassName = kMainWindowClass;
  RegisterWindowClass(wc);

  panes_ = std::make_unique<PaneSet>(ChoosePaneKind(), *this);
  // The panes not showing yet are made, and load their pages, once the window has painted.
  panes_->HoldHiddenNavigations();
  windows_ =
      std::make_unique<SecondaryWindowsWin32>(args_.instance, *args_.profile, args_.program_folder + u"\\config.ini");
  // The core exists before the window, so the window procedure always has it.
  core_ = std::make_unique<MainWindow>(MainWindowPorts{*args_.profile, files_, player_, *args_.lists, *this, *panes_,
                                                       transfer_, processes_, *this, *this, *windows_, *this, clock_},
                                       args_.program_folder, args_.content_base);
  const WindowModel& model = core_->model();
  CreateBound(WS_EX_APPWINDOW, kMainWindowClass, ToWide(model.caption).c_str(), WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU,
              0, 0, model.width_twips / kTwipsPerPixel, model.height_twips / kTwipsPerPixel, nullptr, nullptr,
              args_.instance);
  if (!hwnd_) return false;
  windows_->SetOwner(hwnd_);
  renderer_ = std::make_unique<ModelRenderer>(
      hwnd_, core_->model(), [this](const ControlId& id) { Run([&id](MainWindow& w) { w.OnClick(id); }); },
      [this](const Control& control, HWND container, bool showing) { PlaceExternal(control, container, showing); });
  bitmaps_ = std::make_unique<BitmapResources>(args_.instance);
  renderer_->SetImageSource([this](const std::u16string& slot) { return ImageOf(slot); });
  renderer_->SetMouseHandler(
      [this](const ControlId& id, ModelRenderer::MouseEvent event, WPARAM buttons, long x, long y) {
        using Action = MainWindow::MouseAction;
        const Action action = event == ModelRenderer::MouseEvent::kDown   ? Action::kDown
                              : event == ModelRenderer::MouseEvent::kMove ? Action::kMove
                                                                          : Action::kUp;
        const bool left = (buttons & MK_LBUTTON) != 0;
        Run([&](MainWindow& w) { w.OnMouse(id, action, left, x, y); });
      });
  const Control& place = core_->model()(ba1::VexoC);
  // The maker's control plays when it is installed; our own control otherwise.
  const RECT player_place{place.left, place.top, place.right(), place.bottom()};
  std::unique_ptr<Win32PlayerHost> player = Win32PlayerHost::Create(renderer_->WindowOf({ba1::vexo}), player_place);
  if (!player) {
    player = Win32PlayerHost::Create(renderer_->WindowOf({ba1::vexo}), player_place, OwnPlayer());
    if (player) windows_->SetPlayerNote(kOwnPlayerNote);
  }
  player_.Place(std::move(player));
  taskbar_buttons_ = std::make_unique<TaskbarButtons>(hwnd_);
  core_->LoadFirstInstance(command_line);
  // Centred on the screen when first shown.
  WindowModel& placed = core_->model();
  placed.left_twips = (GetSystemMetrics(SM_CXSCREEN) * kTwipsPerPixel - placed.width_twips) / 2;
  placed.top_twips = (GetSystemMetrics(SM_CYSCREEN) * kTwipsPerPixel - placed.height_twips) / 2;
  AfterHandler();
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  // After the first paint, and still before the program first waits for input: the shell
  // starts a program for a file association and, once it waits, sends the command by DDE.
  dde_ = std::make_unique<DdeCommandServer>(hwnd_, [this](const std::u16string& command) {
    Run([&command](MainWindow& w) { w.Form_LinkExecute(command); });
  });
  // The drag source waits until the drop returns (Explorer's window stays frozen meanwhile):
  // the files play once it has.
  drop_ = std::make_unique<FileDropRegistration>(hwnd_, [this](std::vector<std::u16string> files) {
    dropped_files_.push_back(std::move(files));
    PostMessageW(hwnd_, kFilesDroppedMessage, 0, 0);
  });
  // A timer's message comes only when no other is waiting: after the input that came meanwhile.
  SetTimer(hwnd_, kSettleTimer, USER_TIMER_MINIMUM, nullptr);
  return true;
}

// What the first paint does not need, a piece at each tick of the timer, with the input that
// came meanwhile handled in between: the tool tips, then each pane not showing yet.
void MainWindowWin32::Settle() {
  if (closed_) {
    KillTimer(hwnd_, kSettleTimer);
    return;
  }
  if (!tool_tips_made_) {
    tool_tips_made_ = true;
    renderer_->ShowToolTips();
    return;
  }
  if (!panes_->ReleaseOne()) KillTimer(hwnd_, kSettleTimer);
}

// The window follows the model's outer size and place (twips) when a handler changed them.
void MainWindowWin32::ApplyOuterSize() {
  if (!hwnd_ || !core_ || IsIconic(hwnd_) || IsZoomed(hwnd_) || maximized_) return;
  const WindowModel& model = core_->model();
  RECT r{};
  GetWindowRect(hwnd_, &r);
  const long width = model.width_twips / kTwipsPerPixel, height = model.height_twips / kTwipsPerPixel;
  const long left = model.left_twips / kTwipsPerPixel, top = model.top_twips / kTwipsPerPixel;
  const bool resize = width != r.right - r.left || height != r.bottom - r.top;
  const bool move = model.left_twips != applied_left_twips_ || model.top_twips != applied_top_twips_;
  if (!resize && !move) return;
  applied_left_twips_ = model.left_twips;
  applied_top_twips_ = model.top_twips;
  SetWindowPos(hwnd_, nullptr, left, top, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE | (move ? 0 : SWP_NOMOVE) | (resize ? 0 : SWP_NOSIZE));
}

void MainWindowWin32::AfterHandler() {
  if (closed_) return;
  // Whatever the handler did to the player, the session's awake request follows it.
  if (core_) core_->ObservePlayback();
  ApplyOuterSize();
  if (renderer_) renderer_->Sync();
  // A pane whose page was held while it was hidden loads now that it shows.
  if (panes_) panes_->LoadHeldShowing();
  SyncTimers();
}

// Window timers follow the model's: id = position in the timer list + 1.
void MainWindowWin32::SyncTimers() {
  if (!hwnd_ || !core_) return;
  const auto& timers = core_->model().timers();
  applied_timers_.resize(timers.size());
  for (std::size_t i = 0; i < timers.size(); ++i) {
    const TimerSpec& want = timers[i];
    TimerSpec& have = applied_timers_[i];
    if (want.enabled == have.enabled && want.interval_ms == have.interval_ms) continue;
    if (want.enabled) SetTimer(hwnd_, i + 1, static_cast<UINT>(want.interval_ms), nullptr);
    else KillTimer(hwnd_, i + 1);
    have = want;
  }
}

void MainWindowWin32::PlaceExternal(const Control& control, HWND container, bool showing) {
  if (control.id.name == ba1::VexoC) {
    player_.Move(control.left, control.top, control.width, control.height);
    player_.SetVisible(control.visible);
  } else if (control.kind == ControlKind::kWebBrowser) {
    panes_->Place(control, container, showing);
  }
}

// The bitmap an image holder ("ppt(3)", "but(4)") holds now.
HBITMAP MainWindowWin32::ImageOf(const std::u16string& slot) {
  if (!core_ || !bitmaps_) return nullptr;
  for (const Control& control : core_->model().controls()) {
    if (control.kind == ControlKind::kImage && control.resource_id > 0 && ControlText(control.id) == slot) {
      return bitmaps_->Get(control.resource_id);
    }
  }
  return nullptr;
}

void MainWindowWin32::BeforeNavigate(ControlName pane, std::u16string_view address, bool& cancel) {
  Run([&](MainWindow& w) { w.BeforeNavigate(pane, address, cancel); });
}

void MainWindowWin32::DownloadBegin(ControlName pane) {
  Run([&](MainWindow& w) { w.DownloadBegin(pane); });
}

void MainWindowWin32::DownloadComplete(ControlName pane) {
  Run([&](MainWindow& w) { w.DownloadComplete(pane); });
}

void MainWindowWin32::ContextMenu(ControlName pane, std::u16string_view link) {
  Run([&](MainWindow& w) { w.PageContextMenu(pane, link); });
}

void MainWindowWin32::NavigateError(ControlName pane, std::u16string_view address, long) {
  Run([&](MainWindow& w) { w.NavigateError(pane, address); });
}

void MainWindowWin32::OnSize(WPARAM kind, LPARAM size) {
  Run([&](MainWindow& w) {
    WindowModel& model = w.model();
    model.state = kind == SIZE_MINIMIZED                 ? WindowState::kMinimized
                  : kind == SIZE_MAXIMIZED || maximized_ ? WindowState::kMaximized
                                                         : WindowState::kNormal;
    model.scale_width = LOWORD(size);
    model.scale_height = HIWORD(size);
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    model.width_twips = (outer.right - outer.left) * kTwipsPerPixel;
    model.height_twips = (outer.bottom - outer.top) * kTwipsPerPixel;
    w.Form_Resize();
  });
}

LRESULT MainWindowWin32::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  // The mouse over a drawn control is the control's; elsewhere the window's (its header, the
  // sizing band).
  if (renderer_) {
    if (const std::optional<LRESULT> answer = renderer_->OnFormMessage(message, wparam, lparam)) return *answer;
  }
  if (dde_ && dde_->Handle(message, wparam, lparam)) return 0;
  switch (message) {
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
      info->ptMinTrackSize = POINT{0, 0};
      if (max_width_ > 0 && max_height_ > 0) {
        info->ptMaxSize = POINT{max_width_, max_height_};
        info->ptMaxTrackSize = POINT{max_width_, max_height_};
        // At the work area's corner of the window's monitor, so that a task bar on the left
        // or at the top does not cover part of the window.
        MONITORINFO monitor{sizeof monitor};
        if (GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor)) {
          info->ptMaxPosition =
              POINT{monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top};
        } else {
          info->ptMaxPosition = POINT{0, 0};
        }
      }
      return 0;
    }
    case WM_SIZE: OnSize(wparam, lparam); return 0;
    case kApplyRegionMessage: ApplyRegion(); return 0;
    case WM_ENTERSIZEMOVE: in_size_move_ = true; return 0;
    case WM_EXITSIZEMOVE:
      in_size_move_ = false;
      if (region_dropped_) ApplyRegion();
      return 0;
    case kFilesDroppedMessage: {
      if (dropped_files_.empty()) return 0;
      std::vector<std::u16string> files = std::move(dropped_files_.front());
      dropped_files_.pop_front();
      Run([&files](MainWindow& w) { w.FilesDropped(files); });
      return 0;
    }
    case WM_ERASEBKGND: return 1;  // the frame covers the whole surface
    case WM_PAINT:
      // The frame and the controls drawn on it; a window with no renderer yet paints nothing.
      if (renderer_ && core_) renderer_->PaintForm(core_->model()(ba1::l1).back_color);
      else ValidateRect(hwnd_, nullptr);
      return 0;
    case WM_LBUTTONDOWN: {
      const long x = static_cast<short>(LOWORD(lparam)), y = static_cast<short>(HIWORD(lparam));
      SetFocus(hwnd_);
      Run([x, y](MainWindow& w) { w.Form_MouseDown(x, y); });
      return 0;
    }
    case WM_MOUSEMOVE: {
      const long x = static_cast<short>(LOWORD(lparam)), y = static_cast<short>(HIWORD(lparam));
      const bool left = (wparam & MK_LBUTTON) != 0;
      Run([=](MainWindow& w) { w.Form_MouseMove(left, x, y); });
      return 0;
    }
    case WM_LBUTTONUP: {
      const long x = static_cast<short>(LOWORD(lparam)), y = static_cast<short>(HIWORD(lparam));
      Run([x, y](MainWindow& w) { w.Form_MouseUp(x, y); });
      return 0;
    }
    case WM_SETCURSOR:
      // Over the window's own surface the pointer is the one the sizing band chose.
      if (reinterpret_cast<HWND>(wparam) == hwnd_ && LOWORD(lparam) == HTCLIENT && pointer_) {
        SetCursor(pointer_);
        return TRUE;
      }
      break;
    case WM_KEYDOWN: {
      const int key = static_cast<int>(wparam);
      Run([key](MainWindow& w) { w.Form_KeyDown(key); });
      return 0;
    }
    case WM_APPCOMMAND: {
      // The media keys of the keyboard, a headset's or a remote's buttons; those the player
      // has no use for go on to the system.
      const int command = GET_APPCOMMAND_LPARAM(lparam);
      bool handled = false;
      Run([&](MainWindow& w) { handled = w.AppCommand(command); });
      if (handled) return TRUE;
      break;
    }
    case WM_COMMAND:
      // A thumbnail button under the task bar's preview.
      if (const std::optional<ThumbButton> button = TaskbarButtons::ButtonOfCommand(wparam)) {
        Run([button](MainWindow& w) { w.ThumbButtonClicked(*button); });
        return 0;
      }
      break;
    case WM_DROPFILES: {
      const auto drop = reinterpret_cast<HDROP>(wparam);
      std::vector<std::u16string> files = FilesOfDrop(drop);
      DragFinish(drop);
      Run([&files](MainWindow& w) { w.FilesDropped(files); });
      return 0;
    }
    case WM_COPYDATA: {
      std::u16string command;
      if (!ReadHandedCommandLine(reinterpret_cast<const COPYDATASTRUCT*>(lparam), command)) break;
      Run([&command](MainWindow& w) { w.Form_LinkExecute(command); });
      return TRUE;
    }
    case WM_TIMER: {
      if (wparam == kSettleTimer) {
        Settle();
        return 0;
      }
      const auto& timers = core_->model().timers();
      if (wparam >= 1 && wparam <= timers.size()) {
        const TimerName timer = timers[wparam - 1].name;
        Run([timer](MainWindow& w) { w.OnTimer(timer); });
      }
      return 0;
    }
    case kTrayMessage: {
      const int mouse = static_cast<int>(lparam);
      Run([mouse](MainWindow& w) { w.TrayIconEvent(mouse); });
      return 0;
    }
    case WM_CLOSE:
      // Closed from the task bar or by the system: the program's orderly exit.
      if (core_) Run([](MainWindow& w) { w.ttt_v(); });
      else DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      // A handler may still be waiting for the site below us: its request is given up, and
      // the panes and the player go while their windows still exist, so that nothing it does
      // afterwards reaches a destroyed control.
      closed_ = true;
      drop_.reset();
      taskbar_buttons_.reset();
      if (core_) core_->ReleaseAwake();
      if (windows_) windows_->CloseAll();
      transfer_.Cancel();
      if (panes_) panes_->Clear();
      player_.Place(nullptr);
      tray_.Delete();
      PostQuitMessage(0);
      return 0;
  }
  // The shell restarted and lost every icon: ours goes back.
  if (taskbar_created_ && message == taskbar_created_ && !tray_tip_.empty()) AddTrayIcon(tray_tip_);
  if (taskbar_buttons_ && message == taskbar_buttons_->created_message()) {
    taskbar_buttons_->ButtonCreated();
    return 0;
  }
  return Default(message, wparam, lparam);
}

void MainWindowWin32::OnFinalMessage() { tray_.Delete(); }
