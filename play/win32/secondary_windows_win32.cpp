#include "play/win32/secondary_windows_win32.h"

#include "common/win32/wide.h"
#include "play/model/ba1_design.h"

namespace {

constexpr wchar_t kSecondaryClass[] = L"VexoPlaySecondaryWindow";

// The transport pictures "but(k)" are bitmaps 501 + k.
int TransportImageId(const std::u16string& slot) {
  if (slot.rfind(u"but(", 0) != 0) return 0;
  int k = 0;
  for (std::size_t i = 4; i < slot.size() && slot[i] >= u'0' && slot[i] <= u'9'; ++i) k = k * 10 + (slot[i] - u'0');
  return kTransportImageFirstId + k;
}

}  // namespace

ModelWindowWin32::ModelWindowWin32(HWND owner, HICON icon, WindowModel& model, Behaviour behaviour)
    : model_(model), behaviour_(std::move(behaviour)) {
  WNDCLASSEXW wc{sizeof wc};
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kSecondaryClass;
  RegisterWindowClass(wc);
  // The outer size that gives the design's client size, centred on the screen.
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  RECT r{0, 0, model.width_twips / kTwipsPerPixel, model.height_twips / kTwipsPerPixel};
  AdjustWindowRectEx(&r, style, FALSE, WS_EX_DLGMODALFRAME);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  CreateBound(WS_EX_DLGMODALFRAME, kSecondaryClass, ToWide(model.caption).c_str(), style, left, top, width, height,
              owner, nullptr, GetModuleHandleW(nullptr));
  if (!hwnd_) return;
  if (icon) SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  renderer_ = std::make_unique<ModelRenderer>(
      hwnd_, model_,
      [this](const ControlId& id) {
        if (behaviour_.on_click) behaviour_.on_click(id);
        AfterEvent();
      },
      [](const Control&, HWND, bool) {});
  renderer_->SetImageSource(behaviour_.images);
  renderer_->Sync();
  renderer_->ShowToolTips();
}

ModelWindowWin32::~ModelWindowWin32() {
  renderer_.reset();
  Destroy();
}

void ModelWindowWin32::Present() {
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
  SetFocus(hwnd_);
}

void ModelWindowWin32::AfterEvent() {
  if (!hwnd_) return;
  if (behaviour_.done && behaviour_.done()) {
    // Hidden now; its owner lets it go once this event is over.
    ShowWindow(hwnd_, SW_HIDE);
    return;
  }
  if (renderer_) renderer_->Sync();
}

LRESULT ModelWindowWin32::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (renderer_) {
    if (message == WM_PAINT) {
      renderer_->PaintForm(GetSysColor(COLOR_BTNFACE));
      return 0;
    }
    if (message == WM_ERASEBKGND) return 1;  // the paint covers all of it
    if (const std::optional<LRESULT> answer = renderer_->OnFormMessage(message, wparam, lparam)) return *answer;
  }
  if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && behaviour_.key_target) {
    if (const auto target = behaviour_.key_target(static_cast<int>(wparam), message == WM_SYSKEYDOWN)) {
      if (behaviour_.on_click) behaviour_.on_click(*target);
      AfterEvent();
      return 0;
    }
  }
  if (message == WM_CLOSE) {
    if (behaviour_.on_close) behaviour_.on_close();
    AfterEvent();
    return 0;
  }
  return Default(message, wparam, lparam);
}

SecondaryWindowsWin32::SecondaryWindowsWin32(HINSTANCE instance, ProfileStrings& profile, std::u16string config_path)
    : instance_(instance), profile_(profile), config_path_(std::move(config_path)), bitmaps_(instance) {}

SecondaryWindowsWin32::~SecondaryWindowsWin32() { CloseAll(); }

void SecondaryWindowsWin32::CloseAll() {
  settings_window_.reset();
  settings_.reset();
  tips_window_.reset();
  tips_.reset();
}

HICON SecondaryWindowsWin32::Icon() const {
  return owner_ ? reinterpret_cast<HICON>(GetClassLongPtrW(owner_, GCLP_HICON)) : nullptr;
}

// A window that asked to go (OK, Cancel, its close box) is let go when next asked for, and
// loaded again: it reads the file anew.
void SecondaryWindowsWin32::ShowSettings(int tab) {
  if (settings_ && (settings_->unload_requested() || !IsWindowVisible(settings_window_->hwnd()))) {
    settings_window_.reset();
    settings_.reset();
  }
  if (!settings_) {
    settings_ = std::make_unique<SettingsWindow>(profile_, config_path_);
    settings_->Form_Load();
    settings_->SetPlayerNote(player_note_);
    SettingsWindow* core = settings_.get();
    settings_window_ = std::make_unique<ModelWindowWin32>(
        owner_, Icon(), core->model(),
        ModelWindowWin32::Behaviour{.on_click = [core](const ControlId& id) { core->OnClick(id); },
                                    .done = [core] { return core->unload_requested(); },
                                    .on_close = [core] { core->Unload(); },
                                    .key_target = [](int key, bool alt) -> std::optional<ControlId> {
                                      if (key == VK_RETURN) return ControlId{ba3::cmdOK};
                                      if (key == VK_ESCAPE) return ControlId{ba3::cmdCancel};
                                      if (alt && key == 'A') return ControlId{ba3::cmdApply};
                                      return std::nullopt;
                                    }});
  }
  settings_->d_z_Click(tab);
  settings_window_->AfterEvent();
  settings_window_->Present();
}

void SecondaryWindowsWin32::ShowTips() {
  if (tips_ && (tips_->unload_requested() || !IsWindowVisible(tips_window_->hwnd()))) {
    tips_window_.reset();
    tips_.reset();
  }
  if (!tips_) {
    tips_ = std::make_unique<TipsWindow>();
    TipsWindow* core = tips_.get();
    tips_window_ = std::make_unique<ModelWindowWin32>(
        owner_, Icon(), core->model(),
        ModelWindowWin32::Behaviour{
            .on_click = [core](const ControlId& id) { core->OnClick(id); },
            .done = [core] { return core->unload_requested(); },
            .on_close = [core] { core->Unload(); },
            .images = [this](const std::u16string& slot) { return bitmaps_.Get(TransportImageId(slot)); },
            .key_target = [](int key, bool) -> std::optional<ControlId> {
              if (key == 'N' || key == VK_RETURN) return ControlId{tipwin::cmdnext};
              if (key == 'C' || key == VK_ESCAPE) return ControlId{tipwin::cmdclose};
              return std::nullopt;
            }});
  }
  tips_window_->Present();
}
