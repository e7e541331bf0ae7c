#include "play/win32/taskbar_buttons_win32.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/win32/event_log.h"

namespace {

enum Glyph { kBackGlyph, kPlayGlyph, kPauseGlyph, kNextGlyph };
constexpr int kIconSize = 16;

// A white glyph on nothing, drawn at run time so that it is sharp at the icon size the shell
// asks for: GDI draws it on black, and its brightness becomes the alpha.
HICON MakeGlyphIcon(Glyph glyph) {
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof header;
  header.bV5Width = kIconSize;
  header.bV5Height = -kIconSize;
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (!colour) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old_bitmap = SelectObject(dc, colour);
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
  HGDIOBJ old_pen = SelectObject(dc, GetStockObject(WHITE_PEN));
  const auto triangle = [dc](int left, int right, bool pointing_right) {
    const POINT points[3] = {pointing_right ? POINT{left, 2} : POINT{right, 2},
                             pointing_right ? POINT{right, 8} : POINT{left, 8},
                             pointing_right ? POINT{left, 14} : POINT{right, 14}};
    Polygon(dc, points, 3);
  };
  switch (glyph) {
    case kBackGlyph:
      triangle(1, 7, false);
      triangle(8, 14, false);
      break;
    case kPlayGlyph: triangle(4, 13, true); break;
    case kPauseGlyph:
      Rectangle(dc, 3, 2, 7, 15);
      Rectangle(dc, 9, 2, 13, 15);
      break;
    case kNextGlyph:
      triangle(2, 11, true);
      Rectangle(dc, 12, 2, 15, 15);
      break;
  }
  GdiFlush();
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int i = 0; i < kIconSize * kIconSize; ++i) {
    const std::uint32_t alpha = pixels[i] & 0xFF;
    pixels[i] = alpha << 24 | alpha << 16 | alpha << 8 | alpha;  // premultiplied white
  }
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  SelectObject(dc, old_bitmap);
  DeleteDC(dc);
  HBITMAP mask = CreateBitmap(kIconSize, kIconSize, 1, 1, nullptr);
  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}

void Trace(const char* what, HRESULT result) {
  char line[96];
  std::snprintf(line, sizeof line, "taskbar %s 0x%08lX", what, static_cast<unsigned long>(result));
  AppendEventLog(L"VEXO_PLAY_EVENT_LOG", line);
}

}  // namespace

TaskbarButtons::TaskbarButtons(HWND window)
    : window_(window), created_message_(RegisterWindowMessageW(L"TaskbarButtonCreated")) {}

TaskbarButtons::~TaskbarButtons() {
  for (HICON icon : icons_) {
    if (icon) DestroyIcon(icon);
  }
}

void TaskbarButtons::ButtonCreated() {
  // After Explorer restarted the buttons are gone with the old button: add them anew.
  added_ = refused_ = false;
  if (!list_) {
    const HRESULT made =
        CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3, list_.ReceiveVoid());
    const HRESULT initialised = SUCCEEDED(made) ? list_->HrInit() : made;
    if (FAILED(initialised)) {
      Trace("list refused", initialised);
      list_.Reset();
      return;
    }
  }
  if (!icons_[0]) {
    for (int glyph = kBackGlyph; glyph <= kNextGlyph; ++glyph) icons_[glyph] = MakeGlyphIcon(static_cast<Glyph>(glyph));
  }
  ApplyButtons();
  ApplyProgress();
}

void TaskbarButtons::Show(const TaskbarView& view) {
  const bool buttons_changed =
      view.has_item != view_.has_item || view.playing != view_.playing || view.next_known != view_.next_known;
  const bool progress_changed = view.download_per_mille != view_.download_per_mille;
  view_ = view;
  if (!list_) return;
  if (buttons_changed) ApplyButtons();
  if (progress_changed) ApplyProgress();
}

void TaskbarButtons::ApplyButtons() {
  if (refused_) return;
  const auto button = [](ThumbButton id, HICON icon, const wchar_t* tip, bool enabled) {
    THUMBBUTTON made{};
    made.dwMask = static_cast<THUMBBUTTONMASK>(THB_ICON | THB_TOOLTIP | THB_FLAGS);
    made.iId = static_cast<UINT>(id);
    made.hIcon = icon;
    lstrcpynW(made.szTip, tip, ARRAYSIZE(made.szTip));
    made.dwFlags = enabled ? THBF_ENABLED : THBF_DISABLED;
    return made;
  };
  THUMBBUTTON buttons[3] = {
      button(ThumbButton::kBack, icons_[kBackGlyph], L"后退10秒", view_.has_item),
      view_.playing ? button(ThumbButton::kPlayPause, icons_[kPauseGlyph], L"暂停", true)
                    : button(ThumbButton::kPlayPause, icons_[kPlayGlyph], L"播放", view_.has_item),
      button(ThumbButton::kNext, icons_[kNextGlyph], L"下一集", view_.next_known),
  };
  if (!added_) {
    // The shell takes the buttons once per task bar button; later changes are updates. A
    // shell that refuses them is not asked again until it makes a new button.
    const HRESULT added = list_->ThumbBarAddButtons(window_, 3, buttons);
    Trace("buttons added", added);
    added_ = SUCCEEDED(added);
    refused_ = !added_;
  } else {
    const HRESULT updated = list_->ThumbBarUpdateButtons(window_, 3, buttons);
    if (FAILED(updated)) Trace("buttons not updated", updated);
  }
}

void TaskbarButtons::ApplyProgress() {
  if (view_.download_per_mille) {
    list_->SetProgressState(window_, TBPF_NORMAL);
    list_->SetProgressValue(window_, static_cast<ULONGLONG>(*view_.download_per_mille), 1000);
  } else {
    list_->SetProgressState(window_, TBPF_NOPROGRESS);
  }
}

std::optional<ThumbButton> TaskbarButtons::ButtonOfCommand(WPARAM wparam) {
  if (HIWORD(wparam) != THBN_CLICKED) return std::nullopt;
  switch (LOWORD(wparam)) {
    case static_cast<WORD>(ThumbButton::kBack): return ThumbButton::kBack;
    case static_cast<WORD>(ThumbButton::kPlayPause): return ThumbButton::kPlayPause;
    case static_cast<WORD>(ThumbButton::kNext): return ThumbButton::kNext;
    default: return std::nullopt;
  }
}
