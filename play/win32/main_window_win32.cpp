#include "play/win32/main_window_win32.h"

#include "play/win32/own_player_win32.h"

#include <algorithm>

#include "common/text/utf.h"
#include "common/text/web_address.h"
#include "common/win32/event_log.h"
#include "common/win32/gdi_scope.h"
#include "common/win32/unique_handle.h"
#include "common/win32/wide.h"
#include <commdlg.h>

#include "play/win32/shutdown_win32.h"
#include "play/win32/tray_sweep_win32.h"

namespace {
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kApplyRegionMessage = WM_APP + 2;
}  // namespace

MainWindowWin32::MainWindowWin32(Args args) : args_(std::move(args)) {}

// The children go before the window: the hand-off server, the panes, the drawn controls and
// the player; then the window itself, whose WM_DESTROY removes the tray icon and ends the loop.
MainWindowWin32::~MainWindowWin32() {
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
  windows_ =
      std::make_unique<SecondaryWindowsWin32>(args_.instance, *args_.profile, args_.program_folder + u"\\config.ini");
  // The core exists before the window, so the window procedure always has it.
  core_ = std::make_unique<MainWindow>(MainWindowPorts{*args_.profile, files_, player_, *args_.lists, *this, *panes_,
                                                       transfer_, processes_, *this, *this, *windows_},
                                       args_.program_folder, args_.content_base);
  const WindowModel& model = core_->model();
  CreateBound(WS_EX_APPWINDOW, kMainWindowClass, ToWide(model.caption).c_str(), WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU,
              0, 0, model.width_twips / kTwipsPerPixel, model.height_twips / kTwipsPerPixel, nullptr, nullptr,
              args_.instance);
  if (!hwnd_) return false;
  windows_->SetOwner(hwnd_);
  renderer_ = std::make_unique<ModelRenderer>(
      hwnd_, core_->model(), [this](const ControlId& id) { Run([&id](MainWindow& w) { w.OnClick(id); }); },
      [this](const Control& control, HWND container) { PlaceExternal(control, container); });
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
  dde_ = std::make_unique<DdeCommandServer>(
      [this](const std::u16string& command) { Run([&command](MainWindow& w) { w.Form_LinkExecute(command); }); });

  core_->LoadFirstInstance(command_line);
  // Centred on the screen when first shown.
  WindowModel& placed = core_->model();
  placed.left_twips = (GetSystemMetrics(SM_CXSCREEN) * kTwipsPerPixel - placed.width_twips) / 2;
  placed.top_twips = (GetSystemMetrics(SM_CYSCREEN) * kTwipsPerPixel - placed.height_twips) / 2;
  AfterHandler();
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  return true;
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
  ApplyOuterSize();
  if (renderer_) renderer_->Sync();
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

void MainWindowWin32::PlaceExternal(const Control& control, HWND container) {
  if (control.id.name == ba1::VexoC) {
    player_.Move(control.left, control.top, control.width, control.height);
    player_.SetVisible(control.visible);
  } else if (control.kind == ControlKind::kWebBrowser) {
    panes_->Place(control, container);
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

// The window's own surface: its frame, drawn off screen and copied in one step.
void MainWindowWin32::PaintFrame() {
  const PaintScope paint(hwnd_);
  RECT r{};
  GetClientRect(hwnd_, &r);
  if (!renderer_ || r.right <= 0 || r.bottom <= 0) return;
  const UniqueMemoryDc dc(CreateCompatibleDC(paint.dc()));
  const UniqueBitmap surface(CreateCompatibleBitmap(paint.dc(), r.right, r.bottom));
  if (!dc || !surface) return;
  const ScopedSelect select_surface(dc.get(), surface.get());
  renderer_->PaintFrame(dc.get(), POINT{0, 0}, SIZE{r.right, r.bottom}, core_->model()(ba1::l1).back_color);
  BitBlt(paint.dc(), 0, 0, r.right, r.bottom, dc.get(), 0, 0, SRCCOPY);
}

// The region is set once the size change that asked for it is over, once for a series of
// changes (a live border drag).
void MainWindowWin32::SetRoundedRegion(long width, long height) {
  const bool posted = region_size_.cx != 0 || region_size_.cy != 0;
  region_size_ = SIZE{std::max(width, 1L), std::max(height, 1L)};
  if (!posted) PostMessageW(hwnd_, kApplyRegionMessage, 0, 0);
}

void MainWindowWin32::ApplyRegion() {
  const SIZE size = region_size_;
  region_size_ = SIZE{};
  if (size.cx == 0) return;
  // The system owns the region once it is set.
  if (HRGN region = CreateRoundRectRgn(0, 0, size.cx + 1, size.cy + 1, 4, 4)) {
    if (!SetWindowRgn(hwnd_, region, TRUE)) DeleteObject(region);
  }
}

void MainWindowWin32::SetPointer(Pointer pointer) {
  const wchar_t* shape = IDC_ARROW;
  switch (pointer) {
    case Pointer::kSizeNeSw: shape = IDC_SIZENESW; break;
    case Pointer::kSizeNs: shape = IDC_SIZENS; break;
    case Pointer::kSizeNwSe: shape = IDC_SIZENWSE; break;
    case Pointer::kSizeWe: shape = IDC_SIZEWE; break;
    case Pointer::kDefault: break;
  }
  pointer_ = LoadCursorW(nullptr, shape);
  SetCursor(pointer_);
}

void MainWindowWin32::CaptureMouse(const ControlId& control) {
  if (!renderer_) return;
  if (HWND window = renderer_->WindowOf(control)) {
    if (GetCapture() != window) SetCapture(window);
  }
}

void MainWindowWin32::ReleaseMouse() {
  if (GetCapture()) ReleaseCapture();
}

void MainWindowWin32::RunMoveSizeLoop(int hit_code) {
  ReleaseCapture();
  // The loop starts from where the pointer is now.
  SendMessageW(hwnd_, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit_code), static_cast<LPARAM>(GetMessagePos()));
}

std::optional<std::u16string> MainWindowWin32::OpenFile(std::u16string_view filter, std::u16string_view title) {
  // The filter's "|" separators become the NULs the dialog wants, ended by two.
  std::wstring patterns = ToWide(filter);
  for (wchar_t& c : patterns) {
    if (c == L'|') c = L'\0';
  }
  patterns.append(2, L'\0');
  const std::wstring caption = ToWide(title);
  std::wstring file(32768, L'\0');
  OPENFILENAMEW dialog{sizeof dialog};
  dialog.hwndOwner = hwnd_;
  dialog.lpstrFilter = patterns.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = caption.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  file.resize(wcslen(file.c_str()));
  return FromWide(file);
}

PixelRect MainWindowWin32::WorkArea() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return PixelRect{work.left, work.top, work.right, work.bottom};
}

void MainWindowWin32::InstallMaxSizeHook(long max_width, long max_height) {
  max_width_ = max_width;
  max_height_ = max_height;
}

void MainWindowWin32::AddMinimizeMaximizeBoxes() {
  SetWindowLongPtrW(hwnd_, GWL_STYLE, GetWindowLongPtrW(hwnd_, GWL_STYLE) | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
}

void MainWindowWin32::BringToFront() {
  ShowWindow(hwnd_, SW_HIDE);
  ShowWindow(hwnd_, SW_SHOW);
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  SetForegroundWindow(hwnd_);
}

void MainWindowWin32::LetPendingEventsRun() {
  MSG message;
  for (int i = 0; i < 256 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void MainWindowWin32::AddTrayIcon(std::u16string_view tool_tip) {
  tray_tip_ = std::u16string(tool_tip);
  if (!taskbar_created_) taskbar_created_ = RegisterWindowMessageW(L"TaskbarCreated");
  tray_.Add(hwnd_, kTrayMessage, LoadIconW(args_.instance, MAKEINTRESOURCEW(1)), tool_tip);
}

void MainWindowWin32::RemoveTrayIcon() {
  tray_.Delete();
  tray_tip_.clear();
}

void MainWindowWin32::SweepTrayIcons() { ::SweepTrayIcons(); }

void MainWindowWin32::OpenAddress(std::u16string_view address) {
  // The shell starts whatever an address names: only a plain web address goes to it.
  if (!IsOpenableWebAddress(address)) return;
  ShellExecuteW(hwnd_, L"open", ToWide(address).c_str(), nullptr, nullptr, SW_HIDE);
}

void MainWindowWin32::EndProcessNow() { TerminateProcess(GetCurrentProcess(), 0); }

void MainWindowWin32::UnloadWindows() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool MainWindowWin32::Minimized() { return hwnd_ && IsIconic(hwnd_); }
bool MainWindowWin32::Shown() { return hwnd_ && IsWindowVisible(hwnd_); }
void MainWindowWin32::SetShown(bool shown) { ShowWindow(hwnd_, shown ? SW_SHOW : SW_HIDE); }
void MainWindowWin32::ShutdownComputer(bool force) { ::ShutdownComputer(force); }

int MainWindowWin32::Popup(const std::vector<MenuEntry>& entries) {
  POINT at{};
  GetCursorPos(&at);
  return PopupAtScreen(entries, at);
}

int MainWindowWin32::PopupAt(const std::vector<MenuEntry>& entries, long x, long y) {
  POINT at{x, y};
  ClientToScreen(hwnd_, &at);
  return PopupAtScreen(entries, at);
}

int MainWindowWin32::PopupAtScreen(const std::vector<MenuEntry>& entries, POINT at) {
  const UniqueMenu menu(CreatePopupMenu());
  if (!menu) return -1;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const MenuEntry& entry = entries[i];
    if (entry.text.empty()) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu.get(), MF_STRING | (entry.checked ? MF_CHECKED : 0), i + 1, ToWide(entry.text).c_str());
    }
  }
  // The window must be in front, or the menu stays open after a click elsewhere.
  SetForegroundWindow(hwnd_);
  const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
  PostMessageW(hwnd_, WM_NULL, 0, 0);
  return chosen - 1;
}

void MainWindowWin32::TrayBalloon(std::u16string_view text) {
  // Tests read the balloons from the file VEXO_PLAY_EVENT_LOG names, one a line.
  AppendEventLog(L"VEXO_PLAY_EVENT_LOG", "balloon " + Utf16ToUtf8(text));
  tray_.Balloon(u"绮映影视盒提示:", text);
}

void MainWindowWin32::MessageOk(std::u16string_view text, std::u16string_view title) {
  MessageBoxW(hwnd_, ToWide(text).c_str(), ToWide(title).c_str(), MB_OK);
}

bool MainWindowWin32::AskYesNo(std::u16string_view text, std::u16string_view title) {
  return MessageBoxW(hwnd_, ToWide(text).c_str(), ToWide(title).c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void MainWindowWin32::OpenFolder(std::u16string_view folder) {
  // Quoted: a folder with blanks would otherwise open somewhere else.
  const std::wstring argument = L"\"" + ToWide(folder) + L"\"";
  ShellExecuteW(hwnd_, L"open", L"explorer", argument.c_str(), nullptr, SW_SHOWNORMAL);
}

void MainWindowWin32::SetTopmost(bool topmost) {
  SetWindowPos(hwnd_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The borderless, shaped window maximises by covering the work area of its monitor itself:
// the system's own maximised state does not survive a change of the window's region (Wine
// drops it), and the frame is drawn by the program anyway.
void MainWindowWin32::ShowState(int state) {
  if (state == 0) {
    ShowWindow(hwnd_, SW_MINIMIZE);
    return;
  }
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  if (state == 2 && !maximized_) {
    GetWindowRect(hwnd_, &restore_rect_);
    MONITORINFO monitor{sizeof monitor};
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    maximized_ = true;
    const RECT& work = monitor.rcWork;
    SetWindowPos(hwnd_, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (state == 1 && maximized_) {
    maximized_ = false;
    const RECT& r = restore_rect_;
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (state == 1 && IsZoomed(hwnd_)) {
    ShowWindow(hwnd_, SW_RESTORE);
  }
}

TextExtent MainWindowWin32::MeasureCaption(std::u16string_view caption) {
  if (!renderer_) return {};
  const SIZE size = renderer_->MeasureText(caption);
  return {size.cx, size.cy};
}

PixelRect MainWindowWin32::Screen() {
  return PixelRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
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
    case WM_ERASEBKGND: return 1;  // the frame covers the whole surface
    case WM_PAINT: PaintFrame(); return 0;
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
    case WM_COPYDATA: {
      std::u16string command;
      if (!ReadHandedCommandLine(reinterpret_cast<const COPYDATASTRUCT*>(lparam), command)) break;
      Run([&command](MainWindow& w) { w.Form_LinkExecute(command); });
      return TRUE;
    }
    case WM_TIMER: {
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
  return Default(message, wparam, lparam);
}

void MainWindowWin32::OnFinalMessage() { tray_.Delete(); }
