#include "play/services/tips_window.h"

#include <string_view>
#include <vector>

#include "common/text/decimal.h"
#include "play/model/ba1_design.h"
#include "play/model/design_row.h"

namespace {

using K = ControlKind;

constexpr int kPages = 6;
constexpr long kPageLeft = 120 / 15, kPageTop = 720 / 15, kPageWidth = 5055 / 15, kPageHeight = 1095 / 15;
constexpr Color kWhite = Rgb(255, 255, 255);
constexpr Color kFace = Rgb(240, 240, 240);

// A piece of a row: a text, or (empty) the open-file button's picture.
using Row = std::vector<std::u16string_view>;
const Row kRows[kPages][3] = {
    {{u"绮映盒影视可以播放本机影音文件了"},
     {u"点击播放器下方的", u"", u"打开本地电脑上的文件就可以播放"},
     {u"播放过的文件保存在[本地列表]中，方便下次观看"}},
    {{u"影片播放时，可以用键盘方向键来调整影片进度和音量"},
     {u"方向键→ 影片快进", u"方向键← 影片快退"},
     {u"方向键↑增大音量", u"方向键↓减小音量", u"空格键暂停/播放"}},
    {{u"鼠标放到软件边框上,按住鼠标左键,可以拉伸调整界面大小"},
     {u"你可以在软件设置中选择退出时是否保存软件界面大小"},
     {u"下次打开软件时，界面大小就是你保存的大小"}},
    {{u"右侧网络任务列表中是你观看过的网络影片列表"},
     {u"软件列表中的影片保存了你上次观看的集数和进度条"},
     {u"点击列表中的影片会直接从你上次退出时保存的进度播放"}},
    {{u"绮映盒是以绮映(Vexo)为核心的播放软件"},
     {u"绮映是边看边下的方式，下载的影片文件一般保存在C:\\Media\\"},
     {u"记得定时删除你下载过的影片。以免硬盘不足，影响观看。"}},
    {{u"绮映盒软件在退出的时候可以选择是否退出Vexo播放器"},
     {u"你可以在软件设置中自己设置。"},
     {u"观看网络影片时，切勿关闭Vexo软件，否则无法缓冲。"}},
};

// The width a text takes in the windows' 12-pixel font: wide characters 12, others 6.
long TextWidth(std::u16string_view text) {
  long width = 0;
  for (char16_t c : text) width += c < 0x2000 ? 6 : 12;
  return width;
}

}  // namespace

WindowModel MakeTipsWindowDesign() {
  // clang-format off
  std::vector<DesignRow> rows = {
      {.name = tipwin::picback, .width = kTipsWidthTwips / 15, .height = 128, .back = kWhite},
      {.name = tipwin::Image, .parent = tipwin::picback, .left = 10, .top = 8, .width = 26, .height = 23, .back = kWhite},
      {.name = tipwin::heading, .kind = K::kLabel, .parent = tipwin::picback, .left = 42, .top = 13, .width = 80,
       .height = 14, .caption = u"你知道吗", .back = kWhite, .fore = Rgb(30, 90, 170)},
      {.name = tipwin::Line, .kind = K::kLine, .parent = tipwin::picback, .left = 8, .top = 38,
       .width = kTipsWidthTwips / 15 - 16, .height = 1, .back = Rgb(200, 210, 225)},
      {.name = tipwin::La, .index = 21, .kind = K::kLabel, .left = 12, .top = 145, .width = 12, .height = 14,
       .caption = u"第", .back = kFace},
      {.name = tipwin::La, .index = 22, .kind = K::kLabel, .left = 26, .top = 145, .width = 10, .height = 14,
       .caption = u"1", .back = kFace, .fore = Rgb(200, 40, 40)},
      {.name = tipwin::La, .index = 23, .kind = K::kLabel, .left = 38, .top = 145, .width = 12, .height = 14,
       .caption = u"条", .back = kFace},
      {.name = tipwin::cmdnext, .kind = K::kButton, .left = 190, .top = 139, .width = 84, .height = 26,
       .caption = u"下一条(&N)", .back = kFace},
      {.name = tipwin::cmdclose, .kind = K::kButton, .left = 280, .top = 139, .width = 76, .height = 26,
       .caption = u"关闭(&C)", .back = kFace},
  };
  // clang-format on
  int label = 0;
  for (int page = 0; page < kPages; ++page) {
    rows.push_back({.name = tipwin::Pi,
                    .index = page,
                    .parent = tipwin::picback,
                    .left = kPageLeft,
                    .top = kPageTop,
                    .width = kPageWidth,
                    .height = kPageHeight,
                    .visible = page == 0,
                    .back = kWhite});
    for (int row = 0; row < 3; ++row) {
      long left = 4;
      for (std::u16string_view piece : kRows[page][row]) {
        const long top = 4 + 24 * row;
        if (piece.empty()) {  // the open-file button, as the control bar shows it
          rows.push_back({.name = tipwin::Image,
                          .index = page * 10 + row,
                          .parent = tipwin::Pi,
                          .parent_index = page,
                          .left = left,
                          .top = top - 4,
                          .width = 26,
                          .height = 23,
                          .back = kWhite});
          left += 30;
          continue;
        }
        rows.push_back({.name = tipwin::La,
                        .index = label++,
                        .kind = K::kLabel,
                        .parent = tipwin::Pi,
                        .parent_index = page,
                        .left = left,
                        .top = top,
                        .width = TextWidth(piece),
                        .height = 14,
                        .caption = piece.data(),
                        .back = kWhite});
        left += TextWidth(piece) + 12;
      }
    }
  }
  std::vector<Control> controls;
  for (const DesignRow& row : rows) {
    Control control = ControlOfRow(row);
    if (row.name == tipwin::Image) control.picture = PictureSource{row.index < 0 ? u"but(2)" : u"but(0)", 0, 0, 26, 23};
    controls.push_back(std::move(control));
  }
  return DesignedWindow(std::move(controls), {}, u"帮助提示", kTipsWidthTwips, kTipsHeightTwips);
}

void TipsWindow::cmdnext_Click() {
  for (int i = 0; i < kPages; ++i) model_(tipwin::Pi, i).visible = false;
  if (page_ > 4) page_ = -1;
  ++page_;
  model_(tipwin::Pi, page_).visible = true;
  model_(tipwin::La, 22).caption = Decimal(page_ + 1);
}

void TipsWindow::OnClick(const ControlId& id) {
  if (id.name == tipwin::cmdnext) cmdnext_Click();
  else if (id.name == tipwin::cmdclose) Unload();
}
