// The borderless window's mouse: a 3-pixel band along the edges sizes it, the rest of its own
// surface moves it, and the caption and transport buttons show their under-the-mouse faces
// and the balloon P1 while the pointer is over them.
#include <utility>

#include "common/text/decimal.h"
#include "play/chrome/chrome_colours.h"
#include "play/chrome/skin_images.h"
#include "play/main_window.h"
#include "play/startup/config_store.h"

namespace {

constexpr long kBand = 3;

// The hit code and the pointer for a point of the window of the given inner size.
std::pair<int, Pointer> Classify(long x, long y, long width, long height) {
  const bool top = y <= kBand, bottom = y >= height - kBand;
  if (x >= width - kBand) {
    if (top) return {hit::kTopRight, Pointer::kSizeNeSw};
    if (bottom) return {hit::kBottomRight, Pointer::kSizeNwSe};
    return {hit::kRight, Pointer::kSizeWe};
  }
  if (x <= kBand) {
    if (top) return {hit::kTopLeft, Pointer::kSizeNwSe};
    if (bottom) return {hit::kBottomLeft, Pointer::kSizeNeSw};
    return {hit::kLeft, Pointer::kSizeWe};
  }
  if (top) return {hit::kTop, Pointer::kSizeNs};
  if (bottom) return {hit::kBottom, Pointer::kSizeNs};
  return {0, Pointer::kDefault};
}

bool Inside(const Control& c, long x, long y) { return x >= 0 && x <= c.width && y >= 0 && y <= c.height; }

}  // namespace

void MainWindow::BorderSizing(int mode, long x, long y) {
  ports_.host.SetPointer(Pointer::kDefault);
  if (mode == 2) {
    // The size loop has ended with the button's release.
    if (sizing_started_ && !caption_dragging_) sizing_started_ = false;
    return;
  }
  const auto [code, pointer] = Classify(x, y, model_.scale_width, model_.scale_height);
  ports_.host.SetPointer(pointer);
  if (mode == 1 && code != 0) {
    sizing_started_ = true;
    ports_.host.RunMoveSizeLoop(code);
  }
}

void MainWindow::Form_MouseDown(long x, long y) {
  const WindowModel& w = model_;
  if (w.state == WindowState::kMaximized) return;
  const bool interior = y > kBand && y < w.scale_height - kBand && x > kBand && x < w.scale_width - kBand;
  if (interior) return;
  BorderSizing(1, x, y);
  caption_dragging_ = false;
  // The size the user dragged the normal window to is the one it comes back to.
  if (compact_mode_ != 1) {
    WriteIniValue(ports_.profile, config_path_, config::kHW, Decimal(model_.width_twips));
    WriteIniValue(ports_.profile, config_path_, config::kHH, Decimal(model_.height_twips));
  }
}

void MainWindow::Form_MouseMove(bool left_held, long x, long y) {
  WindowModel& w = model_;
  w(ba1::jbi).fore_color = kJbiRest;
  w(ba1::qk).fore_color = kQkRest;
  const long width = w.scale_width, height = w.scale_height;
  const bool interior = x > kBand && y > kBand && x < width - kBand && y < height - kBand;
  const bool outside = x < 0 || y < 0 || x > width || y > height;
  if (left_held || interior || outside) {
    ports_.host.SetPointer(Pointer::kDefault);
    caption_dragging_ = true;
    if (w.state != WindowState::kMaximized && left_held && x > kBand && y > kBand && x < width - kBand) {
      ports_.host.RunMoveSizeLoop(hit::kCaption);
    }
    return;
  }
  BorderSizing(0, x, y);
  caption_dragging_ = false;
}

void MainWindow::Form_MouseUp(long x, long y) {
  BorderSizing(2, x, y);
  caption_dragging_ = false;
}

// The balloon under (or above) a button, as wide as its text and a margin.
void MainWindow::PlaceBalloon(const Control& button, long left, long top, long padding) {
  WindowModel& w = model_;
  Control& text = w(ba1::bo_tip);
  text.caption = button.tool_tip;
  FitToCaption(text);
  text.Move(padding / 2, padding / 2);
  Control& balloon = w(ba1::P1);
  balloon.Move(left, top, text.width + padding, text.height + padding);
  balloon.visible = true;
}

void MainWindow::npc_MouseMove(int index, long x, long y) {
  if (index < 0 || (index > 5 && index != 7)) return;
  WindowModel& w = model_;
  ports_.host.SetPointer(Pointer::kDefault);
  Control& button = w(ba1::npc, index);
  const bool inside = Inside(button, x, y);
  const bool maximized = w.state == WindowState::kMaximized;
  const bool pinned = w(ba1::npc, 4).tool_tip != u"置顶";
  switch (index) {
    case 0: button.picture = inside ? SkinPicture(2, 44, 24, 19) : SkinPicture(1, 45, 24, 19); break;
    case 1:
      if (maximized) button.picture = SkinPicture(5, inside ? 24 : 0, 24, 19);
      else button.picture = inside ? SkinPicture(2, 68, 24, 19) : SkinPicture(1, 69, 24, 19);
      break;
    case 2: button.picture = inside ? SkinPicture(2, 92, 33, 19) : SkinPicture(1, 93, 33, 19); break;
    case 3: button.picture = SkinPicture(inside ? 2 : 1, 0, 21, 19); break;
    case 4: button.picture = SkinPicture(6, (pinned ? 42 : 0) + (inside ? 21 : 0), 21, 19); break;
    case 5: button.picture = inside ? SkinPicture(2, 20, 24, 19) : SkinPicture(1, 21, 24, 19); break;
    case 7: {
      const bool strip_hidden = button.tool_tip.find(u"打开") != std::u16string::npos;
      button.picture = SkinPicture(4, (strip_hidden ? 0 : 10) + (inside ? 0 : 20), 10, 10);
      break;
    }
  }
  if (!inside) {
    ports_.host.ReleaseMouse();
    w(ba1::P1).visible = false;
    return;
  }
  ports_.host.CaptureMouse(button.id);
  if (index <= 5) PlaceBalloon(button, button.left - 5, button.top + button.height + 3, 5);
}

void MainWindow::bo_but_MouseMove(int index, long x, long y) {
  if (index < 0 || index > 6) return;
  WindowModel& w = model_;
  Control& button = w(ba1::bo_but, index);
  const bool inside = Inside(button, x, y);
  if (index <= 5) ShowTransportFace(index, inside);
  if (!inside) {
    ports_.host.ReleaseMouse();
    w(ba1::P1).visible = false;
    return;
  }
  ports_.host.CaptureMouse(button.id);
  // Centred on the button by the balloon's width before this move.
  const long previous_width = w(ba1::P1).width;
  const bool compact = compact_mode_ == 1;
  const long left = button.left + button.width - previous_width / 2 - (compact ? 11 : 5);
  const long top = w.scale_height - (compact ? 50 : 70);
  PlaceBalloon(button, left, top, 6);
}

void MainWindow::HoverOver(ControlName area) {
  WindowModel& w = model_;
  ports_.host.SetPointer(Pointer::kDefault);
  if (area == ba1::jbi) {
    w(ba1::jbi).fore_color = kLinkHover;
  } else if (area == ba1::qk) {
    w(ba1::qk).fore_color = kLinkHover;
  } else if (area == ba1::bo_ad || area == ba1::bo_foot) {
    w(ba1::jbi).fore_color = kJbiRest;
    if (area == ba1::bo_foot) w(ba1::qk).fore_color = kQkRest;
  } else if (area == ba1::shan) {
    w(ba1::qk).fore_color = kQkRest;
  }
}
