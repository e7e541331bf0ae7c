#pragma once
// One control of the renderer: where it is in the window that hosts it, its window when it
// has one, and what was last given to Windows of it.
#include <windows.h>

#include <string>

#include "common/win32/window_base.h"
#include "play/win32/model_renderer_win32.h"

inline constexpr wchar_t kModelControlClass[] = L"VexoModelControl";

class ModelRenderer::Item final : public WindowBase {
 public:
  Item(ModelRenderer& owner, int index, int parent) : owner(owner), index(index), parent(parent) {}
  ~Item() override = default;
  void Create(const RECT& place, HWND host) {
    CreateBound(0, kModelControlClass, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, place.left, place.top,
                place.right - place.left, place.bottom - place.top, host, nullptr, GetModuleHandleW(nullptr));
  }
  HWND window() const { return hwnd_; }
  using WindowBase::RegisterWindowClass;

  ModelRenderer& owner;
  const int index;            // into the model's controls
  const int parent;           // the container's index, or -1 for the form
  bool drawn = false;         // painted by the renderer (else an image holder or an external)
  bool external = false;      // a pane or the player's host, placed by its owner
  bool needs_window = false;  // a window lies inside it, or it shows over one
  bool pressed = false;

  // Now, after Layout(): the container whose window hosts it (-1: the form), its place and
  // what of it its containers let be seen, in that window's client pixels.
  int host_item = -1;
  RECT place{};
  RECT visible{};
  bool showing = false;

  // As last given to Windows.
  Control applied;
  bool first = true;
  HWND applied_host = nullptr;
  RECT applied_place{};
  RECT applied_visible{};
  bool applied_showing = false;
  bool applied_windowed = false;
  RECT applied_clip{};
  bool applied_clip_whole = true;  // no region set
  HWND tool_host = nullptr;
  RECT tool_rect{};
  std::u16string tool_text;
  bool measured_first = true;
  std::u16string measured_caption;

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    return owner.OnWindowMessage(*this, message, wparam, lparam);
  }
};
