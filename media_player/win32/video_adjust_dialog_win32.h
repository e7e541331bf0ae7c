#pragma once
// The small window where the user sets the picture's brightness, contrast and saturation. It
// is modeless: every move of a slider reaches the picture at once through `changed`.
#include <windows.h>

#include <functional>

#include "common/win32/window_base.h"
#include "media_player/core/picture.h"

class VideoAdjustDialog final : public WindowBase {
 public:
  using Changed = std::function<void(const PictureAdjust&)>;
  VideoAdjustDialog(HWND owner, const PictureAdjust& current, Changed changed);
  ~VideoAdjustDialog() override;
  HWND hwnd() const { return hwnd_; }
  void Present();

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Show(const PictureAdjust& adjust);  // puts the values on the sliders
  PictureAdjust Read() const;

  Changed changed_;
  HWND sliders_[3] = {};
  HWND values_[3] = {};
  HFONT font_ = nullptr;
};
