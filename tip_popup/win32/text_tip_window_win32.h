#pragma once
// The text tip: a topmost layered tool window painted from the skin, fading in, living seven
// periods, fading out on close, title or "view", dragged by its background.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/win32/unique_handle.h"
#include "common/win32/window_base.h"
#include "tip_popup/placement.h"
#include "tip_popup/skin/skin_element.h"
#include "tip_popup/text_tip_fade.h"
#include "tip_popup/win32/skin_painter_win32.h"

inline constexpr wchar_t kTextTipClass[] = L"VexoTipClass";
inline constexpr wchar_t kTipWindowTitle[] = L"VexoTipWindow";

class TextTipWindow final : public WindowBase {
 public:
  struct Args {
    HINSTANCE instance = nullptr;
    std::unique_ptr<SkinElement> skin;
    std::u16string click_url;
    int life_period_ms = TextTipFade::kLifePeriodMs;
  };

  explicit TextTipWindow(Args args);
  ~TextTipWindow();
  TextTipWindow(const TextTipWindow&) = delete;
  TextTipWindow& operator=(const TextTipWindow&) = delete;

  // Creates the window at `rect`; false when the window cannot be made.
  bool Create(const TipRect& rect);
  HWND hwnd() const { return hwnd_; }

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  void OnCreate();
  void OnTimer(UINT_PTR id);
  void ApplyFade();
  void PaintEverything(HDC dc);
  void Layout();
  void OnMouseMove(long x, long y, WPARAM keys);
  void OnMouseLeave();
  void OnButtonDown(long x, long y);
  void OnButtonUp(long x, long y);
  void OnClick(const std::u16string& id);
  void ShowToolFor(SkinElement* element);
  void RemoveTool();
  void Redraw(const SkinElement* element);
  void CreateRichText(SkinElement& element);
  long MeasureText(const std::u16string& text);

  Args args_;
  HWND tooltip_ = nullptr;
  TextTipFade fade_;
  bool fade_in_timer_ = false;
  bool fade_out_timer_ = false;
  SkinElement* hovered_ = nullptr;
  SkinElement* pressed_ = nullptr;
  SkinElement* tool_element_ = nullptr;
  bool tracking_ = false;
  bool painting_ = false;
  bool destroying_ = false;
  UniqueFont normal_font_;
  UniqueFont hover_font_;
  SkinFonts fonts_;
  std::vector<std::pair<SkinElement*, HWND>> rich_texts_;
  std::wstring tool_text_;
};
