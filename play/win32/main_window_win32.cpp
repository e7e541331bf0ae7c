#include "play/win32/main_window_win32.h"

#include "common/text/utf.h"
#include "common/win32/wide.h"

namespace {
constexpr UINT kTrayMessage = WM_APP + 1;
}  // namespace

MainWindowWin32::MainWindowWin32(Args args) : args_(std::move(args)) {}

MainWindowWin32::~MainWindowWin32() {
  dde_.reset();
  panes_.clear();
  renderer_.reset();
  player_.Place(nullptr);
  if (hwnd_) DestroyWindow(hwnd_);
}

bool MainWindowWin32::Open(std::u16string_view command_line) {
  WNDCLASSEXW wc{sizeof wc};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &MainWindowWin32::WindowProc;
  wc.hInstance = args_.instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(args_.instance, MAKEINTRESOURCEW(1));
  wc.lpszClassName = kMainWindowClass;
  RegisterClassExW(&wc);

  // The panes: the system's web control where it renders pages, else the link-list pane.
  // VEXO_PANE=webbrowser or linklist chooses without asking the system.
  wchar_t choice[32] = {};
  GetEnvironmentVariableW(L"VEXO_PANE", choice, 32);
  if (lstrcmpiW(choice, L"webbrowser") == 0) use_web_browser_ = true;
  else if (lstrcmpiW(choice, L"linklist") == 0) use_web_browser_ = false;
  else use_web_browser_ = WebBrowserRendersPages(kPaneProbeMs);

  // The core exists before the window, so the window procedure always has it.
  core_ = std::make_unique<MainWindow>(MainWindowPorts{*args_.profile, files_, player_, *args_.lists, *this, *this, transfer_, processes_},
                                       args_.program_folder, args_.content_base);
  const WindowModel& model = core_->model();
  hwnd_ = CreateWindowExW(WS_EX_APPWINDOW, kMainWindowClass, ToWide(model.caption).c_str(),
                          WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU, 0, 0, model.width_twips / kTwipsPerPixel,
                          model.height_twips / kTwipsPerPixel, nullptr, nullptr, args_.instance, this);
  if (!hwnd_) return false;
  renderer_ = std::make_unique<ModelRenderer>(
      hwnd_, core_->model(), [this](const ControlId& id) { OnClick(id); },
      [this](const Control& control, HWND container) { PlaceExternal(control, container); });
  const Control& place = core_->model()(u"VexoC");
  player_.Place(Win32PlayerHost::Create(renderer_->WindowOf({u"vexo", -1}),
                                        RECT{place.left, place.top, place.right(), place.bottom()}));
  dde_ = std::make_unique<DdeCommandServer>([this](const std::u16string& command) {
    core_->Form_LinkExecute(command);
    AfterHandler();
  });

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
  if (!hwnd_ || !core_ || IsIconic(hwnd_) || IsZoomed(hwnd_)) return;
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

void MainWindowWin32::OnClick(const ControlId& id) {
  if (id.name == u"npc") core_->npc_Click(id.index);
  else if (id.name == u"bo_but") core_->bo_but_Click(id.index);
  else if (id.name == u"jian") core_->jian_Click();
  else if (id.name == u"jbi") core_->jbi_Click();
  else if (id.name == u"webe" || id.name == u"jia") core_->webe_Click();
  AfterHandler();
}

void MainWindowWin32::PlaceExternal(const Control& control, HWND container) {
  if (control.id.name == u"VexoC") {
    player_.Move(control.left, control.top, control.width, control.height);
    player_.SetVisible(control.visible);
  } else if (control.kind == ControlKind::kWebBrowser) {
    auto& pane = panes_[control.id.name];
    if (!pane && use_web_browser_) pane = WebBrowserPane::Create(container, control.id.name, *this);
    if (!pane) pane = std::make_unique<LinkListPane>(container, control.id.name, *this);
    SetWindowPos(pane->hwnd(), nullptr, control.left, control.top, control.width, control.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(pane->hwnd(), control.visible ? SW_SHOWNA : SW_HIDE);
  }
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
  tray_ = NOTIFYICONDATAW{};
  tray_.cbSize = sizeof tray_;
  tray_.hWnd = hwnd_;
  tray_.uID = 1;
  tray_.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  tray_.uCallbackMessage = kTrayMessage;
  tray_.hIcon = LoadIconW(args_.instance, MAKEINTRESOURCEW(1));
  if (!tray_.hIcon) tray_.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  const std::wstring tip = ToWide(tool_tip).substr(0, 127);
  wcsncpy(tray_.szTip, tip.c_str(), 127);
  tray_added_ = Shell_NotifyIconW(NIM_ADD, &tray_) != FALSE;
}

void MainWindowWin32::SetTopmost(bool topmost) {
  SetWindowPos(hwnd_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindowWin32::ShowState(int state) {
  ShowWindow(hwnd_, state == 0 ? SW_MINIMIZE : state == 2 ? SW_MAXIMIZE : SW_RESTORE);
}

PixelRect MainWindowWin32::Screen() {
  return PixelRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void MainWindowWin32::Navigate(std::u16string_view pane, std::u16string_view address) {
  pane_addresses_[std::u16string(pane)] = std::u16string(address);
  if (PaneWindow* target = Pane(pane)) target->Navigate(address);
}

PaneWindow* MainWindowWin32::Pane(std::u16string_view name) {
  const auto found = panes_.find(std::u16string(name));
  return found == panes_.end() ? nullptr : found->second.get();
}

void MainWindowWin32::BeforeNavigate(std::u16string_view pane, std::u16string_view address, bool& cancel) {
  core_->BeforeNavigate(pane, address, cancel);
  AfterHandler();
}

void MainWindowWin32::DownloadBegin(std::u16string_view pane) {
  core_->DownloadBegin(pane);
  AfterHandler();
}

void MainWindowWin32::DownloadComplete(std::u16string_view pane) {
  core_->DownloadComplete(pane);
  AfterHandler();
}

void MainWindowWin32::NavigateError(std::u16string_view pane, std::u16string_view address, long) {
  core_->NavigateError(pane, address);
  AfterHandler();
}

void MainWindowWin32::Refresh(std::u16string_view pane) {
  if (PaneWindow* target = Pane(pane)) target->Refresh();
}

void MainWindowWin32::SetSilent(std::u16string_view pane, bool silent) {
  if (PaneWindow* target = Pane(pane)) target->SetSilent(silent);
}

void MainWindowWin32::TrayBalloon(std::u16string_view text) {
  // Tests read the balloons from the file VEXO_PLAY_EVENT_LOG names, one a line (UTF-8).
  wchar_t log_path[MAX_PATH];
  if (GetEnvironmentVariableW(L"VEXO_PLAY_EVENT_LOG", log_path, MAX_PATH)) {
    const HANDLE log = CreateFileW(log_path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log != INVALID_HANDLE_VALUE) {
      const std::string line = "balloon " + Utf16ToUtf8(text) + "\r\n";
      DWORD written = 0;
      WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(log);
    }
  }
  if (!tray_added_) return;
  tray_.uFlags = NIF_INFO;
  const std::wstring message = ToWide(text).substr(0, 255);
  wcsncpy(tray_.szInfo, message.c_str(), 255);
  wcsncpy(tray_.szInfoTitle, ToWide(core_->model().caption).c_str(), 63);
  tray_.dwInfoFlags = NIIF_INFO;
  Shell_NotifyIconW(NIM_MODIFY, &tray_);
  tray_.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
}

void MainWindowWin32::MessageOk(std::u16string_view text) {
  MessageBoxW(hwnd_, ToWide(text).c_str(), ToWide(core_->model().caption).c_str(), MB_OK);
}

LRESULT CALLBACK MainWindowWin32::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindowWin32*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindowWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  return self->Handle(message, wparam, lparam);
}

LRESULT MainWindowWin32::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
      info->ptMinTrackSize = POINT{0, 0};
      if (max_width_ > 0 && max_height_ > 0) {
        info->ptMaxSize = POINT{max_width_, max_height_};
        info->ptMaxPosition = POINT{0, 0};
      }
      return 0;
    }
    case WM_SIZE: {
      if (!core_) break;
      WindowModel& model = core_->model();
      model.state = wparam == SIZE_MINIMIZED ? WindowState::kMinimized
                    : wparam == SIZE_MAXIMIZED ? WindowState::kMaximized
                                               : WindowState::kNormal;
      model.scale_width = LOWORD(lparam);
      model.scale_height = HIWORD(lparam);
      RECT outer{};
      GetWindowRect(hwnd_, &outer);
      model.width_twips = (outer.right - outer.left) * kTwipsPerPixel;
      model.height_twips = (outer.bottom - outer.top) * kTwipsPerPixel;
      core_->Form_Resize();
      AfterHandler();
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT r{};
      GetClientRect(hwnd_, &r);
      HBRUSH brush = CreateSolidBrush(Rgb(131, 191, 248));
      FillRect(reinterpret_cast<HDC>(wparam), &r, brush);
      DeleteObject(brush);
      return 1;
    }
    case WM_COPYDATA: {
      std::u16string command;
      if (!ReadHandedCommandLine(reinterpret_cast<const COPYDATASTRUCT*>(lparam), command)) break;
      core_->Form_LinkExecute(command);
      AfterHandler();
      return TRUE;
    }
    case WM_TIMER: {
      const auto& timers = core_->model().timers();
      if (wparam >= 1 && wparam <= timers.size()) {
        const std::u16string name = timers[wparam - 1].name;
        core_->OnTimer(name);
        AfterHandler();
      }
      return 0;
    }
    case kTrayMessage:
      if (lparam == WM_LBUTTONUP || lparam == WM_LBUTTONDBLCLK) BringToFront();
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      if (tray_added_) Shell_NotifyIconW(NIM_DELETE, &tray_);
      tray_added_ = false;
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}
