// Emptying the lists, the player's download folder, and deleting the downloaded files of one
// history entry together with the entry.
#include <algorithm>

#include "common/text/ascii_case.h"
#include "common/text/decimal.h"

#include "play/lists/history_lists.h"
#include "play/lists/media_file_key.h"
#include "play/main_window.h"
#include "play/ports/ansi_text.h"
#include "play/startup/config_store.h"
#include "play/startup/list_files.h"
#include "play/startup/run_startup.h"
#include "play/text/js_escape.h"
#include "play/text/text_procedures.h"

namespace {

constexpr std::u16string_view kQuestionTitle = u"提示：";
constexpr std::u16string_view kDefaultMediaFolder = u"C:\\Media\\";
constexpr std::u16string_view kSecondMediaFolder = u"D:\\Media\\";
constexpr std::u16string_view kFilesInUse = u"部分文件可能正在使用中，未删除成功！请手动删除！";

// c_fie, the clear button's menu on the web history tab.
const std::vector<MenuEntry> kClearMenu = {{u"删除任务列表"}, {u"管理下载文件"}};

std::u16string_view TrimSpaces(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  return text;
}

}  // namespace

bool MainWindow::LocalListActive() { return model_(ba1::qk).caption.find(u"列表") != std::u16string::npos; }

void MainWindow::qk_Click() {
  model_(ba1::qk).fore_color = Rgb(0x5A, 0x5A, 0x5A);
  if (LocalListActive()) {
    if (ports_.host.AskYesNo(u"确定要删除全部[本地播放]列表吗？", kQuestionTitle)) ports_.lists.Clear(kLocalListFile);
    return;
  }
  const int chosen = ports_.menus.Popup(kClearMenu);
  if (chosen == 0) qk_xl();
  else if (chosen == 1) qk_xw();
}

void MainWindow::qk_xl() {
  if (LocalListActive()) return;
  if (!ports_.host.AskYesNo(u"确定要删除全部[网络任务]列表吗？", kQuestionTitle)) return;
  ports_.lists.Clear(kWebListFile);
  if (context_.panel_source != 1) ports_.panes.Refresh(ba1::Web5);
}

std::optional<std::u16string> MainWindow::PlayerSaveFolder() {
  if (!PlayerSettingsExist()) return std::nullopt;
  const auto settings = ReadAnsiText(ports_.files, code_page(), context_.player_folder + u"VexoPlayer.xml");
  if (!settings) return std::nullopt;
  // The first line naming the save path decides.
  for (const std::u16string& line : SplitLines(*settings)) {
    if (line.find(u"Defaultsavepath=") == std::u16string::npos) continue;
    const std::u16string between = TextBetween(line, u"Defaultsavepath=\"", u"\"", 2).value_or(u"");
    std::u16string folder(TrimSpaces(between));
    // Names are put straight after the folder, and nothing may be listed or deleted in
    // whatever folder the program happens to run in.
    if (!ports_.files.IsFullPath(folder)) return std::nullopt;
    if (folder.back() != u'\\' && folder.back() != u'/') folder += u'\\';
    return folder;
  }
  return std::nullopt;
}

std::u16string MainWindow::DownloadFolder() {
  if (const auto folder = PlayerSaveFolder()) return *folder;
  return PlayerSettingsExist() ? std::u16string() : std::u16string(kDefaultMediaFolder);
}

bool MainWindow::PlayerSettingsExist() {
  if (context_.player_folder.empty()) {
    const std::u16string stored = ReadIniValue(ports_.profile, config_path_, config::kVexow);
    if (stored != config::kUnset) context_.player_folder = stored;
  }
  return !context_.player_folder.empty() && ports_.files.Exists(context_.player_folder + u"VexoPlayer.xml");
}

void MainWindow::qk_xw() {
  const std::u16string folder = DownloadFolder();
  if (folder.empty() || !ports_.files.FolderExists(folder)) return;
  if (model_(ba1::npc, 4).tool_tip == u"取消置顶") npc_Click(4);
  ports_.host.OpenFolder(folder);
}

std::vector<std::u16string> MainWindow::MatchingFiles(std::u16string_view folder, const MediaFileKey& key) {
  std::vector<std::u16string> names;
  std::vector<std::u16string> matches;
  if (!ListFiles(ports_.files, folder, names, u"*.*")) return matches;
  for (const std::u16string& name : names) {
    if (key.Matches(name)) matches.push_back(name);
  }
  return matches;
}

// Asks about the files and deletes them on Yes; false for No. The names deleted are exactly
// those the question listed. `failed` tells whether any is still there afterwards.
bool MainWindow::AskAndDelete(std::u16string_view folder, const std::vector<std::u16string>& names, bool& failed) {
  std::u16string question = u"确定要删除 [" + std::u16string(folder) + u"] 下面的这些文件吗？\r\n\r\n";
  for (const std::u16string& name : names) question += name + u"\r\n";
  if (!ports_.host.AskYesNo(question, kQuestionTitle)) return false;
  failed = false;
  for (const std::u16string& name : names) {
    const std::u16string path = std::u16string(folder) + name;
    if (ports_.files.Exists(path)) ports_.files.Delete(path);
    failed = failed || ports_.files.Exists(path);
  }
  return true;
}

void MainWindow::eee_Click(std::u16string_view selected_link) {
  if (selected_link.find(u"//") == std::u16string_view::npos) return;
  std::u16string n(selected_link);
  for (std::u16string_view scheme : {std::u16string_view(u"open://"), std::u16string_view(u"delk://")}) {
    for (auto at = n.find(scheme); at != std::u16string::npos; at = n.find(scheme)) n.erase(at, scheme.size());
  }
  if (!n.empty() && n.back() == u'/') n.pop_back();

  std::optional<MediaFileKey> key;
  std::vector<std::u16string> entry;  // the row's id, name and media, as it was clicked
  if (ports_.files.Exists(ports_.lists.PathOf(kWebListFile))) {
    entry = SplitListLine(ports_.lists.Line(kWebListFile, IniNumber(n)));
    entry.resize(7);
    key = MediaFileKeyOf(JsUnescape(entry[3]));
  }
  if (!key) {
    ports_.panes.Navigate(ba1::Web3, u"delk://" + n);
    return;
  }
  // Without the player's settings there is no download folder to search, but the two usual
  // folders still are, each once.
  const std::optional<std::u16string> download = PlayerSaveFolder();
  if (download) {
    const auto matches = MatchingFiles(*download, *key);
    bool failed = false;
    if (!matches.empty()) {
      if (AskAndDelete(*download, matches, failed)) {
        if (failed) ports_.host.TrayBalloon(kFilesInUse);
      } else if (ports_.files.FolderExists(*download)) {
        ports_.host.OpenFolder(*download);
      }
    }
  }
  for (std::u16string_view folder : {kDefaultMediaFolder, kSecondMediaFolder}) {
    if (download && EqualsIgnoringAsciiCase(TrimSpaces(folder), TrimSpaces(*download))) continue;
    const auto matches = MatchingFiles(folder, *key);
    bool failed = false;
    if (!matches.empty()) AskAndDelete(folder, matches, failed);
  }
  ports_.host.LetPendingEventsRun();
  // Timers ran while the questions were up: an episode that started meanwhile moved the
  // rows. The entry is found again by what it holds; if it is gone, nothing is removed.
  const long long now_at = ports_.lists.FindLine(kWebListFile, [&entry](const std::vector<std::u16string>& fields) {
    return fields.size() >= 4 && fields[0] == entry[0] && fields[1] == entry[1] && fields[3] == entry[3];
  });
  if (now_at > 0) {
    if (LocalListActive()) {
      // The local tab was chosen meanwhile, and the list command would act on that list.
      ports_.lists.RemoveEntry(kWebListFile, now_at);
    } else {
      ports_.panes.Navigate(ba1::Web3, u"delk://" + Decimal(now_at));
    }
  }
  if (context_.panel_source != 1) ports_.panes.Refresh(ba1::Web5);
}
