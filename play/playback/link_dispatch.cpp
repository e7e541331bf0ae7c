// The private links of the pages: the catalogue asks to play an item (eebovod://), a resolved
// item plays (eevexo://), list rows open and delete entries (open://, delk://), the finish
// signal hands over to the next episode; and the panes' other events.
#include <algorithm>
#include <vector>

#include "common/text/ascii_case.h"

#include "common/text/decimal.h"
#include "common/text/web_address.h"
#include "play/lists/history_lists.h"
#include "play/main_window.h"
#include "play/startup/command_line.h"
#include "play/startup/config_store.h"
#include "play/startup/run_startup.h"
#include "play/text/js_escape.h"
#include "play/text/text_procedures.h"

namespace {

constexpr std::u16string_view kSentinelHost = u"vexo-finish.invalid";

// The text after the scheme, without one trailing "/".
std::u16string AfterScheme(std::u16string_view address, std::u16string_view scheme) {
  const auto at = address.find(scheme);
  std::u16string rest(at == std::u16string_view::npos ? address : address.substr(at + scheme.size()));
  if (!rest.empty() && rest.back() == u'/') rest.pop_back();
  return rest;
}

// Splits on a separator into exactly `count` fields; missing ones read as empty.
std::vector<std::u16string> Fields(std::u16string_view text, std::u16string_view separator, std::size_t count) {
  std::vector<std::u16string> fields;
  std::size_t start = 0;
  while (fields.size() < count) {
    const auto at = text.find(separator, start);
    if (at == std::u16string_view::npos) {
      fields.emplace_back(start <= text.size() ? text.substr(start) : std::u16string_view());
      start = text.size() + 1;
    } else {
      fields.emplace_back(text.substr(start, at - start));
      start = at + separator.size();
    }
  }
  return fields;
}

bool Contains(std::u16string_view text, std::u16string_view part) {
  return text.find(part) != std::u16string_view::npos;
}
bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::u16string MainWindow::EpisodePage(std::u16string_view id, std::u16string_view v, std::u16string_view v1,
                                       std::u16string_view name, std::u16string_view tail) const {
  return content_base_ + u"pp.htm?" + LinkField(id) + u"-" + LinkField(v) + u"-" + LinkField(v1) + u"-" +
         LinkField(name) + u"-" + LinkField(tail);
}

void MainWindow::BeforeNavigate(ControlName pane, std::u16string_view address, bool& cancel) {
  const bool sentinel = Contains(address, u"http://" + std::u16string(kSentinelHost));
  const bool is_private = Contains(address, u"eebovod://") || Contains(address, u"eevexo://") ||
                          StartsWith(address, u"open://") || StartsWith(address, u"delk://") ||
                          StartsWith(address, u"niba://");
  // A private link is never handed on, whichever pane meets it: a scheme registered on the
  // system would otherwise go to its registered program.
  if (is_private || sentinel) cancel = true;
  const std::u16string link(address);
  // A link asks for one thing, named by the scheme that comes first: a later one is text inside
  // it (a kind or a title from the site) and must not turn a play link back into a resolve,
  // which would ask the site again, and again.
  const auto resolve_at = address.find(u"eebovod://");
  const auto play_at = address.find(u"eevexo://");
  if (resolve_at != std::u16string_view::npos && resolve_at < play_at) {
    if (pane == ba1::Web1) ResolveItem(link);
    else if (pane == ba1::Web5) ports_.panes.Navigate(ba1::Web1, link);
  } else if (play_at != std::u16string_view::npos) {
    if (pane == ba1::Web1) PlayLink(link);
    else if (pane == ba1::Web5) ports_.panes.Navigate(ba1::Web1, link);
  } else if (Contains(address, u"eebotv.htm") && (pane == ba1::Web1 || pane == ba1::Web5)) {
    cancel = true;
    // A page of the site may send the web player only to the web, never to a local file.
    if (!IsOpenableWebAddress(address)) return;
    ports_.panes.Navigate(ba1::Web2, link);
    if (pane == ba1::Web1) {
      ports_.panes.Navigate(ba1::Web5, content_base_ + u"list/tvlist.html");
      ports_.host.LetPendingEventsRun();
      context_.web_player_mode = 1;
      bo_but_Click(1);
      context_.panel_source = 1;
      npc_Click(9);
    }
  } else if (StartsWith(address, u"open://")) {
    if (pane == ba1::Web3) OpenListEntry(link);
    else if (pane == ba1::Web4 || pane == ba1::Web5) ports_.panes.Navigate(ba1::Web3, link);
  } else if (StartsWith(address, u"delk://")) {
    if (pane == ba1::Web3) {
      DeleteListEntry(link);
    } else if (pane == ba1::Web4 || (pane == ba1::Web5 && ShowsOwnListPage(web5_address_))) {
      // Web5 also shows the site's episode pages, whose scripts must not empty the user's list.
      ports_.panes.Navigate(ba1::Web3, link);
      ports_.panes.Refresh(pane);
    }
  } else if (StartsWith(address, u"niba://")) {
    // An episode page link, as on the command line: into the side panel.
    const CommandLineRequest request = ClassifyCommandLine(address);
    if (request.kind == CommandLineRequest::Kind::kPageLink &&
        (pane == ba1::Web1 || pane == ba1::Web2 || pane == ba1::Web5)) {
      ports_.panes.Navigate(ba1::Web5, content_base_ + u"pp.htm?" + request.text);
    }
  } else if (sentinel && pane == ba1::Web2) {
    FinishSignal();
  }
  if (pane == ba1::Web5 && !cancel) web5_address_ = link;
}

bool MainWindow::ShowsOwnListPage(std::u16string_view address) const {
  std::u16string path(address);
  if (path.size() > 8 && EqualsIgnoringAsciiCase(std::u16string_view(path).substr(0, 8), u"file:///")) {
    path.erase(0, 8);
  }
  std::replace(path.begin(), path.end(), u'/', u'\\');
  for (std::u16string_view page : {kWebListPage, kLocalListPage}) {
    std::u16string own = program_folder_ + u"\\" + std::u16string(page);
    std::replace(own.begin(), own.end(), u'/', u'\\');
    if (EqualsIgnoringAsciiCase(path, own)) return true;
  }
  return false;
}

void MainWindow::ResolveItem(std::u16string_view link) {
  const auto f = Fields(AfterScheme(link, u"eebovod://"), u"-", 4);
  const std::u16string id = Decimal(IniNumber(f[0])), &v = f[1], &v1 = f[2], &name = f[3];
  NewChoice();
  const unsigned choice = choice_serial_;
  model_(ba1::zhun).caption = u"正在搜索资源，请稍后";
  npc_Click(9);
  const auto reply = ports_.transfer.OpenUrl(content_base_ + u"h.asp?id=" + id + u"&v=" + v + u"&v1=" + v1);
  if (choice != choice_serial_) return;  // the user chose something else meanwhile
  if (!reply || *reply == u"1" || *reply == u"0") {
    context_.next_link = u"1";
    model_(ba1::zhun).caption = u"读取数据出错，请重试";
  }
  if (reply && Contains(*reply, u"$")) {
    const auto r = Fields(*reply, u"$", 3);
    ports_.panes.Navigate(ba1::Web1, u"eevexo://" + LinkField(r[2]) + u"&&&" + JsEscape(r[1]) + u"&&&" +
                                         LinkField(name) + u"&&&" + LinkField(r[0]) + u"&&&" + id + u"&&&" +
                                         LinkField(v) + u"&&&" + LinkField(v1));
    return;
  }
  ports_.host.TrayBalloon(u"读取数据出错，请返回重试！");
  model_(ba1::zhun).caption = u"读取数据出错，请返回重试";
}

void MainWindow::EnsurePlayerTerminal() {
  if (ports_.processes.AnyNamed(u"VexoTerminal.exe")) return;
  if (context_.player_folder.empty())
    context_.player_folder = ReadIniValue(ports_.profile, config_path_, config::kVexow);
  // "0" is what an unset key reads as: no folder is known, so there is nothing to start.
  if (context_.player_folder.empty() || context_.player_folder == config::kUnset) return;
  ports_.processes.StartMinimized(context_.player_folder + u"VexoTerminal.exe");
}

void MainWindow::PlayLink(std::u16string_view link) {
  const auto f = Fields(AfterScheme(link, u"eevexo://"), u"&&&", 7);
  const std::u16string &kind = f[0], &media = f[1], &name = f[2], &label = f[3], &id = f[4], &v = f[5], &v1 = f[6];
  // A play link comes from a page of the site: what it plays must be on the web.
  if (kind == u"vexo" && !IsSiteMediaAddress(JsUnescape(media))) {
    model_(ba1::zhun).caption = u"读取数据出错，请返回重试";
    return;
  }
  bo_but_Click(1);
  EnsurePlayerTerminal();
  NewItem();
  if (kind == u"vexo") {
    context_.web_player_mode = 0;
    context_.resume_position = 0;
    ports_.player.SetMediaUrl(JsUnescape(media));
    ports_.player.Play();
    model_(ba1::bo_name).caption = JsUnescape(name) + u"-" + JsUnescape(label);
    model_.Timer(ba1::Timer1).enabled = true;
    context_.current_key = id + u"-" + v + u"-" + v1 + u"-" + name;
    context_.next_link = u"0";
    context_.prebuffer_armed = 0;
    context_.next_media = u"0";
    context_.current_item = id;
  } else {
    context_.web_player_mode = 1;
    ports_.panes.Navigate(ba1::Web2, content_base_ + u"play.htm?" + LinkField(id) + u"-" + LinkField(v) + u"-" +
                                         LinkField(v1) + u"-" + LinkField(name));
    context_.current_key = context_.next_link = context_.next_media = context_.current_item = u"0";
  }
  if (!name.empty() && !id.empty() && !media.empty()) {
    ports_.panes.Navigate(ba1::Web5, EpisodePage(id, v, v1, name, u"0"));
    ports_.lists.AddWebEntry(IniNumber(id), name, label, media, IniNumber(v), IniNumber(v1), 0);
  }
  context_.panel_source = 1;
  ports_.host.LetPendingEventsRun();
  npc_Click(9);
}

void MainWindow::OpenListEntry(std::u16string_view link) {
  NewChoice();
  NewItem();
  bo_but_Click(1);
  const long long n = IniNumber(AfterScheme(link, u"open://"));
  const bool local = model_(ba1::qk).caption.find(u"列表") != std::u16string::npos;
  const std::u16string line = ports_.lists.Line(local ? kLocalListFile : kWebListFile, n);
  if (local) {
    const auto f = Fields(line, u"|", 3);
    if (!ports_.files.Exists(f[1])) {
      ports_.host.MessageOk(f[1] + u"不存在", model_.caption);
      ports_.lists.RemoveEntry(kLocalListFile, n);
      return;
    }
    ports_.player.SetMediaUrl(f[1]);
    ports_.player.Play();
    model_.Timer(ba1::Timer1).enabled = true;
    model_(ba1::bo_name).caption = JsUnescape(f[0]);
    context_.resume_done = 0;
    context_.resume_position = static_cast<long>(IniNumber(f[2]));
    context_.current_key = context_.next_link = context_.next_media = u"0";
    context_.prebuffer_armed = 0;
    context_.current_item = f[1];
    context_.panel_source = 2;
    context_.web_player_mode = 0;
    ports_.panes.Navigate(ba1::Web5, program_folder_ + u"\\c.htm");
  } else {
    const auto f = Fields(line, u"|", 7);
    const std::u16string &id = f[0], &name = f[1], &label = f[2], &media = f[3], &v = f[4], &v1 = f[5];
    if (Contains(media, u"vexo") && !IsSiteMediaAddress(JsUnescape(media))) {
      // The history keeps what the site gave; a local path there did not come from the user.
      model_(ba1::zhun).caption = u"读取数据出错，请返回重试";
      return;
    }
    if (!Contains(media, u"vexo")) {
      context_.web_player_mode = 1;
      context_.current_item = u"0";
      ports_.panes.Navigate(ba1::Web5, EpisodePage(id, v, v1, name, v + v1));
    } else {
      if (!ports_.processes.AnyNamed(u"VexoTerminal.exe") && !context_.player_folder.empty() &&
          context_.player_folder != config::kUnset) {
        ports_.host.LetPendingEventsRun();
        ports_.processes.StartMinimized(context_.player_folder + u"VexoTerminal.exe");
      }
      ports_.player.SetMediaUrl(JsUnescape(media));
      ports_.player.Play();
      model_.Timer(ba1::Timer1).enabled = true;
      model_(ba1::bo_name).caption = JsUnescape(name) + u"-" + JsUnescape(label);
      context_.resume_done = 0;
      context_.resume_position = static_cast<long>(IniNumber(f[6]));
      ports_.panes.Navigate(ba1::Web5, EpisodePage(id, v, v1, name, u"0"));
      context_.current_key = id + u"-" + v + u"-" + v1 + u"-" + name;
      context_.next_link = context_.next_media = u"0";
      context_.prebuffer_armed = 0;
      context_.current_item = id;
      context_.web_player_mode = 0;
    }
    context_.panel_source = 1;
  }
  npc_Click(9);
}

void MainWindow::DeleteListEntry(std::u16string_view link) {
  const bool local = model_(ba1::qk).caption.find(u"列表") != std::u16string::npos;
  std::u16string number = AfterScheme(link, u"delk://");
  std::erase(number, u'/');
  ports_.lists.RemoveEntry(local ? kLocalListFile : kWebListFile, IniNumber(number));
  if (context_.panel_source != 1) ports_.panes.Refresh(ba1::Web5);
}

void MainWindow::FinishSignal() {
  if (ReadIniValue(ports_.profile, config_path_, config::kSBo) != config::kOn) {
    model_.Timer(ba1::Timer1).enabled = true;
    return;
  }
  GoToNextEpisode();
}

// The next episode's page, where the site named one; nothing after the last episode ("1").
void MainWindow::GoToNextEpisode() {
  if (context_.next_link == u"1") return;
  if (context_.next_link != u"0" && context_.next_link != u"3") {
    ports_.panes.Navigate(ba1::Web1, context_.next_link);
    return;
  }
  const auto f = Fields(context_.current_key, u"-", 4);
  ports_.panes.Navigate(ba1::Web5,
                        content_base_ + u"pp.htm?" + context_.current_key + u"-" + f[1] + Decimal(IniNumber(f[2]) + 1));
}

void MainWindow::DownloadBegin(ControlName pane) {
  // Script errors of the pages must never raise dialogs.
  if (pane != ba1::Web6) ports_.panes.SetSilent(pane, true);
}

void MainWindow::DownloadComplete(ControlName pane) {
  WindowModel& w = model_;
  if (pane == ba1::Web1 && context_.catalogue_error != 1) {
    w(ba1::Pic1).visible = true;
    w(ba1::wait).visible = false;
  } else if (pane == ba1::Weby) {
    w.Timer(ba1::Timer6).enabled = true;
  } else if (pane == ba1::Web7 && !web7_error_) {
    w(ba1::adp).visible = false;
    w(ba1::ad_huan).visible = true;
  }
}

void MainWindow::NavigateError(ControlName pane, std::u16string_view address) {
  WindowModel& w = model_;
  const bool on_site = Contains(address, content_base_);
  if (pane == ba1::Web1 && on_site) {
    w(ba1::Pic1).visible = false;
    w(ba1::wait).visible = true;
    context_.catalogue_error = 1;
    w(ba1::webe).caption =
        u"Error！出错了\r\n\r\n1.请检查你的网络连接\r\n2.软件网络出现了故障\r\n3.请点此尝试重新连接\r\n4."
        u"请尝试重新启动软件\r\n";
  } else if (pane == ba1::Weby && on_site) {
    banner_load_failed = 1;
  } else if (pane == ba1::Web7) {
    w(ba1::ad_huan).visible = false;
    w(ba1::adp).visible = true;
    web7_error_ = true;
  }
}

void MainWindow::webe_Click() {
  ports_.panes.Navigate(ba1::Web1, content_base_);
  model_(ba1::Pic1).visible = true;
  model_(ba1::wait).visible = false;
}
