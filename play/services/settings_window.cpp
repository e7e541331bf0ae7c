#include "play/services/settings_window.h"

#include <array>

#include "play/model/design_row.h"
#include "play/startup/config_store.h"

namespace {

using K = ControlKind;

constexpr Color kFace = Rgb(240, 240, 240);
constexpr Color kWhite = Rgb(255, 255, 255);
constexpr Color kHighlight = Rgb(51, 153, 255);

// The check boxes by index, with their keys of section S_q.
struct Option {
  const char16_t* caption;
  const config::Key* key;
};
const std::array<Option, 9> kOptions = {{
    {u"保存软件界面大小", &config::kSSize},
    {u"自动缓冲下一集", &config::kSH},
    {u"自动播放下一集", &config::kSBo},
    {u"记录影片播放进度", &config::kSJd},
    {u"精简播放时隐藏播放工具条", &config::kSJj},
    {u"关闭软件最小化到托盘", &config::kQuit},
    {u"关闭软件同时关闭绮映(Vexo)", &config::kVexok},
    {u"启动软件不启动绮映(Vexo)", &config::kVexoqi},
    {u"托盘显示气泡提示", &config::kSPao},
}};
// The order in which Apply writes them.
constexpr std::array<int, 9> kWriteOrder = {5, 6, 0, 1, 2, 3, 4, 7, 8};

const char16_t* const kAboutLines[] = {u"绮映盒影盒是一款P2P为核心的高速影视", u"播放软件。",
                                       u"软件以搜索引擎的方式整合了互联网上的", u"VEXO媒体资源。为用户提供方便快捷的浏",
                                       u"览体验。"};

constexpr long kPageLeft = 240 / 15, kPageTop = 600 / 15, kPageWidth = 4476 / 15, kPageHeight = 3275 / 15;

}  // namespace

WindowModel MakeSettingsWindowDesign() {
  // clang-format off
  std::vector<DesignRow> rows = {
      {.name = ba3::Frame1, .left = kPageLeft, .top = 10, .width = kPageWidth, .height = 28, .back = kFace},
      {.name = ba3::d_z, .index = 0, .kind = K::kLabel, .parent = ba3::Frame1, .width = 80, .height = 28,
       .caption = u"关于软件"},
      {.name = ba3::d_z, .index = 1, .kind = K::kLabel, .parent = ba3::Frame1, .left = 82, .width = 80, .height = 28,
       .caption = u"软件设置"},
      {.name = ba3::bb, .kind = K::kLabel, .parent = ba3::Frame1, .left = 180, .top = 8, .width = 110, .height = 14,
       .caption = u"关于软件", .back = kFace, .fore = Rgb(90, 90, 90)},
      // The about page.
      {.name = ba3::P1, .index = 0, .left = kPageLeft, .top = kPageTop, .width = kPageWidth, .height = kPageHeight,
       .back = kWhite},
      {.name = ba3::Label, .index = 0, .kind = K::kLabel, .parent = ba3::P1, .parent_index = 0, .left = 16, .top = 14,
       .width = 200, .height = 14, .caption = u"绮映影视盒", .fore = Rgb(30, 90, 170)},
      {.name = ba3::Label, .index = 1, .kind = K::kLabel, .parent = ba3::P1, .parent_index = 0, .left = 16, .top = 36,
       .width = 260, .height = 14, .caption = u"版本 3.3    发布日期 2010.7.1"},
      {.name = ba3::Label, .index = 7, .kind = K::kLabel, .parent = ba3::P1, .parent_index = 0, .left = 16, .top = 50,
       .width = 260, .height = 14, .visible = false, .fore = Rgb(30, 90, 170)},
      {.name = ba3::Frame2, .kind = K::kFrame, .parent = ba3::P1, .parent_index = 0, .left = 10, .top = 64,
       .width = kPageWidth - 20, .height = 130, .caption = u"关于"},
      // The settings page.
      {.name = ba3::P1, .index = 1, .left = kPageLeft, .top = kPageTop, .width = kPageWidth, .height = kPageHeight,
       .visible = false, .back = kWhite},
      {.name = ba3::Frame3, .kind = K::kFrame, .parent = ba3::P1, .parent_index = 1, .left = 10, .top = 34,
       .width = kPageWidth - 20, .height = 92, .caption = u"播放设置"},
      // The buttons.
      {.name = ba3::cmdOK, .kind = K::kButton, .left = 334, .top = kPageTop, .width = 120, .height = 26,
       .caption = u"确定", .back = kFace},
      {.name = ba3::cmdCancel, .kind = K::kButton, .left = 334, .top = kPageTop + 34, .width = 120, .height = 26,
       .caption = u"取消", .back = kFace},
      {.name = ba3::cmdApply, .kind = K::kButton, .left = 334, .top = kPageTop + 68, .width = 120, .height = 26,
       .caption = u"应用(&A)", .back = kFace},
  };
  // clang-format on
  for (int i = 0; i < 5; ++i) {
    rows.push_back({.name = ba3::Label,
                    .index = 2 + i,
                    .kind = K::kLabel,
                    .parent = ba3::Frame2,
                    .left = 12,
                    .top = 22 + 20 * i,
                    .width = kPageWidth - 50,
                    .height = 14,
                    .caption = kAboutLines[i]});
  }
  for (int i = 0; i < 9; ++i) {
    const bool playback = i >= 1 && i <= 4;  // in the frame "播放设置"
    const long top = i == 0 ? 10 : playback ? 18 + 18 * (i - 1) : 134 + 18 * (i - 5);
    rows.push_back({.name = ba3::Check1,
                    .index = i,
                    .kind = K::kCheckBox,
                    .parent = playback ? ba3::Frame3 : ba3::P1,
                    .parent_index = playback ? -1 : 1,
                    .left = playback ? 12 : 22,
                    .top = top,
                    .width = 240,
                    .height = 16,
                    .caption = kOptions[i].caption});
  }
  std::vector<Control> controls;
  for (const DesignRow& row : rows) controls.push_back(ControlOfRow(row));
  return DesignedWindow(std::move(controls), {}, u"软件设置", kSettingsWidthTwips, kSettingsHeightTwips);
}

SettingsWindow::SettingsWindow(ProfileStrings& profile, std::u16string config_path)
    : profile_(profile), config_path_(std::move(config_path)), model_(MakeSettingsWindowDesign()) {}

void SettingsWindow::Form_Load() {
  // The tabs' text sits one line lower in the tab.
  for (int i = 0; i < 2; ++i) model_(ba3::d_z, i).caption = u"\r\n" + model_(ba3::d_z, i).caption;
  d_z_Click(0);
  for (int i = 0; i < 9; ++i) {
    model_(ba3::Check1, i).checked = ReadIniValue(profile_, config_path_, *kOptions[i].key) != config::kOff;
  }
}

void SettingsWindow::SetPlayerNote(std::u16string_view note) {
  Control& line = model_(ba3::Label, 7);
  line.caption = std::u16string(note);
  line.visible = !note.empty();
}

void SettingsWindow::d_z_Click(int index) {
  if (index < 0 || index > 1) return;
  for (int i = 0; i < 2; ++i) {
    Control& tab = model_(ba3::d_z, i);
    tab.back_color = i == index ? kHighlight : kWhite;
    tab.fore_color = i == index ? kWhite : Rgb(0, 0, 0);
    model_(ba3::P1, i).visible = i == index;
  }
  model_(ba3::bb).caption = index == 0 ? u"关于软件" : u"软件设置";
}

void SettingsWindow::cmdApply_Click() {
  for (int i : kWriteOrder) {
    WriteIniValue(profile_, config_path_, *kOptions[i].key,
                  model_(ba3::Check1, i).checked ? config::kOn : config::kOff);
  }
}

void SettingsWindow::cmdOK_Click() {
  cmdApply_Click();
  Unload();
}

void SettingsWindow::cmdCancel_Click() { Unload(); }

void SettingsWindow::OnClick(const ControlId& id) {
  if (id.name == ba3::d_z) {
    d_z_Click(id.index);
  } else if (id.name == ba3::Check1) {
    if (Control* box = model_.Find(id)) box->checked = !box->checked;
  } else if (id.name == ba3::cmdApply) {
    cmdApply_Click();
  } else if (id.name == ba3::cmdOK) {
    cmdOK_Click();
  } else if (id.name == ba3::cmdCancel) {
    cmdCancel_Click();
  }
}
