#pragma once
// The settings and tips windows on the screen: each a captioned top-level window owned by the
// main window, whose children mirror its model through the renderer. A window is made (and
// its settings read) when it is asked for while not open, and goes when its core asks.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/win32/window_base.h"
#include "play/ports/profile_strings.h"
#include "play/ports/secondary_windows.h"
#include "play/services/settings_window.h"
#include "play/services/tips_window.h"
#include "play/win32/bitmap_resources_win32.h"
#include "play/win32/model_renderer_win32.h"

// One top-level window over a model: clicks go to `on_click`; after each, the model reaches
// the screen and `done` tells whether the window is to go.
class ModelWindowWin32 final : private WindowBase {
 public:
  struct Behaviour {
    std::function<void(const ControlId&)> on_click;
    std::function<bool()> done;
    std::function<void()> on_close;  // the close box
    ModelRenderer::ImageSource images;
    // A key pressed in the window (Alt held: `alt`), as a dialog's keyboard interface has it:
    // the control it works, or nothing.
    std::function<std::optional<ControlId>(int key, bool alt)> key_target;
  };
  ModelWindowWin32(HWND owner, HICON icon, WindowModel& model, Behaviour behaviour);
  ~ModelWindowWin32() override;
  HWND hwnd() const { return hwnd_; }
  bool open() const { return hwnd_ != nullptr; }
  // Shows it (not modal) in front, with the focus.
  void Present();
  void AfterEvent();

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  WindowModel& model_;
  Behaviour behaviour_;
  std::unique_ptr<ModelRenderer> renderer_;
};

class SecondaryWindowsWin32 final : public SecondaryWindows {
 public:
  SecondaryWindowsWin32(HINSTANCE instance, ProfileStrings& profile, std::u16string config_path);
  ~SecondaryWindowsWin32() override;
  // The main window that owns them (and gives them its icon).
  void SetOwner(HWND owner) { owner_ = owner; }
  void ShowSettings(int tab) override;
  void ShowTips() override;
  // Both go, as at the program's exit.
  void CloseAll();
  // A line for the about page: which player control plays (empty for the maker's).
  void SetPlayerNote(std::u16string note) { player_note_ = std::move(note); }

 private:
  HICON Icon() const;
  HINSTANCE instance_;
  ProfileStrings& profile_;
  std::u16string config_path_;
  std::u16string player_note_;
  HWND owner_ = nullptr;
  BitmapResources bitmaps_;
  std::unique_ptr<SettingsWindow> settings_;
  std::unique_ptr<ModelWindowWin32> settings_window_;
  std::unique_ptr<TipsWindow> tips_;
  std::unique_ptr<ModelWindowWin32> tips_window_;
};
