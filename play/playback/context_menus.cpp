// The program's own menus on the pages: the catalogue's navigation menu, and the history
// rows' menu. Every other page gets no menu at all (the browser's own never shows).
#include "play/main_window.h"

namespace {

// myMenu, on the catalogue.
const std::vector<MenuEntry> kPageMenu = {{u"后退"}, {u"前进"}, {u"刷新"}, {u""}, {u"复制"}, {u"粘贴"}, {u"主页"}};
enum PageEntry { kBack, kForward, kRefresh, kCopy = 4, kPaste, kHome };

// webc, on a row of the history.
const std::vector<MenuEntry> kRowMenu = {{u"播放选定"}, {u"删除任务"}, {u""}, {u"删除已下载文件"}};
enum RowEntry { kPlayRow, kDeleteRow, kDeleteFiles = 3 };

constexpr std::u16string_view kOpenScheme = u"open://";

}  // namespace

void MainWindow::PageContextMenu(ControlName pane, std::u16string_view link) {
  if (pane == ba1::Web1) {
    switch (ports_.menus.Popup(kPageMenu)) {
      case kBack: ports_.panes.GoBack(ba1::Web1); break;
      case kForward: ports_.panes.GoForward(ba1::Web1); break;
      case kRefresh: ports_.panes.Refresh(ba1::Web1); break;
      case kCopy: ports_.panes.Copy(ba1::Web1); break;
      case kPaste: ports_.panes.Paste(ba1::Web1); break;
      case kHome: ports_.panes.Navigate(ba1::Web1, content_base_); break;
      default: break;
    }
    return;
  }
  if (!(pane == ba1::Web3) && !(pane == ba1::Web5)) return;
  if (link.find(kOpenScheme) == std::u16string_view::npos) return;  // a delete link, or no row
  const std::u16string selected(link);                              // the menu lets events run: kept for its answer
  selected_link_ = selected;
  const int chosen = ports_.menus.Popup(kRowMenu);
  // The row number: the link without its scheme (a trailing "/" is dropped by the link's handler).
  std::u16string row = selected;
  if (const auto at = row.find(kOpenScheme); at != std::u16string::npos) row.erase(at, kOpenScheme.size());
  const bool usable = selected.find(u"//") != std::u16string::npos;
  switch (chosen) {
    case kPlayRow:
      if (usable) ports_.panes.Navigate(ba1::Web3, u"open://" + row);
      break;
    case kDeleteRow:
      if (usable) ports_.panes.Navigate(ba1::Web3, u"delk://" + row);
      break;
    case kDeleteFiles: eee_Click(selected); break;
    default: break;
  }
}
