// Skins: the colours and the twelve images of a skin, the frame of both modes drawn from its
// images, the rounded shape of the window, and the faces of the caption and header buttons.
#include <array>
#include <cmath>

#include "common/text/decimal.h"
#include "play/chrome/skin_images.h"
#include "play/main_window.h"
#include "play/startup/config_store.h"

namespace {

struct SkinColours {
  Color content;  // zz, u_k, the control bar
  Color frame;    // l1, l2
};

constexpr std::array<SkinColours, kSkinCount> kSkinColours = {{
    {Rgb(201, 235, 167), Rgb(152, 217, 87)},
    {Rgb(215, 234, 245), Rgb(131, 191, 248)},
    {Rgb(255, 228, 202), Rgb(248, 167, 31)},
    {Rgb(240, 191, 209), Rgb(231, 100, 139)},
}};

// One piece of the frame: target rectangle on the window, source rectangle of an image slot.
FramePiece Piece(int slot, long left, long top, long width, long height, long x, long y, long source_width,
                 long source_height) {
  FramePiece piece;
  piece.source = SkinPicture(slot, x, source_width, source_height);
  piece.source.y = y;
  piece.left = left;
  piece.top = top;
  piece.width = width;
  piece.height = height;
  return piece;
}

}  // namespace

void MainWindow::p_p(long& h_i) {
  WindowModel& w = model_;
  const long n = h_i;
  if (n >= 0 && n < kSkinCount) {
    w(ba1::zz).back_color = kSkinColours[n].content;
    w(ba1::l1).back_color = kSkinColours[n].frame;
  }
  w(ba1::l2).back_color = w(ba1::l1).back_color;
  w(ba1::u_k).back_color = w(ba1::zz).back_color;
  // A number without images leaves each slot as it was.
  for (int i = 0; i < kSkinSlots; ++i) {
    const int id = SkinResourceId(n, i);
    if (SkinResourceExists(id)) w(ba1::ppt, i).resource_id = id;
  }
  if (n >= 0 && n < kSkinCount) skin_number_ = n;
  if (skin_applied_) {
    // The frame of the mode the window is in: a compact window keeps its small frame.
    if (compact_mode_ == 1) PaintCompactFrame();
    else PaintNormalFrame();
    LayoutContentArea();
    WriteIniValue(ports_.profile, config_path_, config::kSkinNum, Decimal(n));
    Control& toggle = w(ba1::npc, 7);
    toggle.picture = SkinPicture(4, toggle.tool_tip.find(u"打开") != std::u16string::npos ? 20 : 30, 10, 10);
  } else {
    for (int i = 0; i <= 6; ++i) ShowTransportFace(i, false);
  }
  skin_applied_ = true;
  PaintCommandBar();
  if (w(ba1::Pic2).visible || w(ba1::vexo).visible) npc_Click(9);
  if (w(ba1::qk).caption.find(u"列表") != std::u16string::npos) npc_Click(12);
  const Color bar = w(ba1::zz).back_color;
  for (int i = 0; i <= 6; ++i) w(ba1::bo_but, i).back_color = bar;
  w(ba1::bo_foot).back_color = bar;
  w(ba1::yin).back_color = bar;
}

void MainWindow::PaintCommandBar() {
  WindowModel& w = model_;
  const bool maximized = w.state == WindowState::kMaximized;
  w(ba1::npc, 0).picture = SkinPicture(1, 45, 24, 19);
  w(ba1::npc, 1).picture = maximized ? SkinPicture(5, 0, 24, 19) : SkinPicture(1, 69, 24, 19);
  w(ba1::npc, 2).picture = SkinPicture(1, 93, 33, 19);
  w(ba1::npc, 3).picture = SkinPicture(1, 0, 21, 19);
  w(ba1::npc, 4).picture = SkinPicture(6, w(ba1::npc, 4).tool_tip != u"置顶" ? 42 : 0, 21, 19);
  w(ba1::npc, 5).picture = SkinPicture(1, 21, 24, 19);
  w(ba1::npc, 8).picture = SkinPicture(7, 0, 120, 32);
  w(ba1::npc, 9).picture = SkinPicture(7, 120, 120, 32);
  PictureSource tab_bar = SkinPicture(10, 0, 3, 25);
  tab_bar.target_width = 163;
  tab_bar.target_height = 25;
  w(ba1::npc, 10).picture = tab_bar;
  w(ba1::npc, 11).picture = SkinPicture(9, 0, 57, 20);
  w(ba1::npc, 12).picture = SkinPicture(9, 57, 57, 20);
}

void MainWindow::PaintNormalFrame() {
  WindowModel& w = model_;
  const long width = w.scale_width, height = w.scale_height;
  w.frame = {
      Piece(0, 0, 64, 35, height - 64, 0, 74, 35, 16),            // left edge
      Piece(0, width - 35, 64, 35, height - 64, 45, 74, 35, 16),  // right edge
      Piece(0, 35, height - 28, width - 70, 28, 35, 80, 10, 28),  // bottom edge
      Piece(0, 0, height - 28, 35, 28, 0, 80, 35, 28),            // bottom left
      Piece(0, width - 35, height - 28, 35, 28, 45, 80, 35, 28),  // bottom right
      Piece(0, 40, 0, width - 70, 64, 40, 0, 10, 64),             // top edge
      Piece(0, 0, 0, 40, 64, 0, 0, 40, 64),                       // top left
      Piece(0, width - 30, 0, 30, 64, 50, 0, 30, 64),             // top right
  };
  // The header picture, whole, at the top right.
  const long header = SkinHeaderWidth(skin_number_);
  w.frame.push_back(Piece(kHeaderSlot, width - 360, 2, header, kHeaderHeight, 0, 0, header, kHeaderHeight));
  SetRoundedRegion();
}

void MainWindow::PaintCompactFrame() {
  WindowModel& w = model_;
  const long width = w.scale_width, height = w.scale_height;
  w.frame = {
      Piece(0, 0, 20, 7, height - 27, 0, 78, 7, 10),           // left edge
      Piece(0, width - 7, 20, 7, height - 27, 73, 78, 7, 10),  // right edge
      Piece(0, 3, height - 7, width - 6, 7, 35, 101, 10, 7),   // bottom edge
      Piece(0, 0, height - 7, 3, 7, 0, 101, 3, 7),             // bottom left
      Piece(0, width - 7, height - 7, 7, 7, 73, 101, 7, 7),    // bottom right
      Piece(0, 7, 0, width - 14, 20, 35, 64, 10, 20),          // top edge
      Piece(0, 0, 0, 7, 20, 0, 64, 7, 20),                     // top left
      Piece(0, width - 7, 0, 7, 20, 73, 64, 7, 20),            // top right
  };
  SetRoundedRegion();
}

void MainWindow::SetRoundedRegion() {
  const auto pixels = [](long twips) { return std::lround(static_cast<double>(twips) / kTwipsPerPixel); };
  ports_.host.SetRoundedRegion(pixels(model_.width_twips), pixels(model_.height_twips));
}
