#include "tip_popup/tip_item.h"

#include <climits>
#include <string>

#include "common/codepage.h"
#include "common/text/ascii_case.h"
#include "common/text/decimal.h"

namespace {

constexpr std::u16string_view kTipsRoot = u"vexotips";

std::u16string Text(const XmlNode& node, std::u16string_view name) { return node.GetAttribute(name).value_or(u""); }
long long Number(const XmlNode& node, std::u16string_view name) { return ReadTipNumber(node.GetAttribute(name)); }

// Saves through a temporary beside the file, so a reader never meets half a document.
void SaveInPlace(TipEnvironment& env, XmlDoc& doc, const std::u16string& path) {
  const std::u16string temp = path + env.TempSuffix();
  if (!doc.Save(temp) || !env.MoveOver(temp, path)) env.RemoveFile(temp);
}

}  // namespace

void SetProgramPath(TipApp& app, std::u16string_view executable_path) {
  const auto slash = executable_path.rfind(u'\\');
  const std::size_t cut = slash == std::u16string_view::npos ? 0 : slash + 1;
  app.folder = std::u16string(executable_path.substr(0, cut));
  app.program_name = std::u16string(executable_path.substr(cut));
}

std::optional<TipDocumentChoice> ChooseTipDocument(std::u16string_view argument, std::u16string_view folder) {
  if (argument.empty()) return std::nullopt;
  if (argument.size() > 2 && argument.find(u":\\", 1) != std::u16string_view::npos) {
    return TipDocumentChoice{std::u16string(argument), u"1", true};
  }
  return TipDocumentChoice{std::u16string(folder) + u"VexoTips.xml", std::u16string(argument), false};
}

long long ReadTipNumber(const std::optional<std::u16string>& value) {
  if (!value) return -1;
  std::u16string_view text = *value;
  auto space = [](char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
  };
  while (!text.empty() && space(text.front())) text.remove_prefix(1);
  while (!text.empty() && space(text.back())) text.remove_suffix(1);
  std::string ansi = ToAnsi(text);
  if (ansi.size() > 19) ansi.resize(19);
  std::size_t i = 0;
  bool negative = false;
  if (i < ansi.size() && (ansi[i] == '+' || ansi[i] == '-')) negative = ansi[i++] == '-';
  long long number = 0;
  for (; i < ansi.size() && ansi[i] >= '0' && ansi[i] <= '9'; ++i) {
    const int digit = ansi[i] - '0';
    if (number > (LLONG_MAX - digit) / 10) {
      number = LLONG_MAX;  // 19 digits can just exceed the range: hold at the largest
      break;
    }
    number = number * 10 + digit;
  }
  return negative ? -number : number;
}

bool FlashMovieUsable(TipEnvironment& env, const TipApp& app) {
  const std::u16string_view path = app.local_path;
  const std::u16string_view folder = app.folder;
  constexpr std::u16string_view kExtension = u".swf";
  if (folder.empty() || path.size() <= folder.size() + kExtension.size()) return false;
  if (!EqualsIgnoringAsciiCase(path.substr(0, folder.size()), folder)) return false;
  const std::u16string_view name = path.substr(folder.size());
  if (name.find_first_of(u"\\/:") != std::u16string_view::npos || name.find(u"..") != std::u16string_view::npos) {
    return false;
  }
  if (!EqualsIgnoringAsciiCase(name.substr(name.size() - kExtension.size()), kExtension)) return false;
  return env.Exists(std::u16string(path));
}

bool ReadTipItem(TipEnvironment& env, TipApp& app, std::u16string_view argument) {
  const auto choice = ChooseTipDocument(argument, app.folder);
  if (!choice) return false;
  auto doc = env.NewDocument();
  if (!doc || !doc->Load(choice->path)) return false;
  auto root = doc->SelectSingleNode(kTipsRoot);
  if (!root) return false;

  bool taken = false;
  const std::size_t count = root->ChildCount();
  for (std::size_t i = 0; i < count; ++i) {
    auto item = root->Child(i);
    if (!item || !EqualsIgnoringAsciiCase(Text(*item, u"id"), choice->id)) continue;
    // The first item with the id decides; a refused item leaves the document as it is.
    const long long stick_time = Number(*item, u"sticktime");
    if (stick_time <= 0) return false;
    const long long version = Number(*item, u"ver");
    if (version == -1 || version > 1) return false;
    const long long tip_type = Number(*item, u"tiptype");
    if (tip_type == -1) return false;
    if (tip_type == 0) {
      app.width = Number(*item, u"width");
      app.height = Number(*item, u"height");
      app.local_path = Text(*item, u"localpath");
      const long long placement = Number(*item, u"pos");
      app.placement = placement < 0 ? 2 : placement;
    } else if (tip_type == 1) {
      app.title = Text(*item, u"mtitle");
      app.content = Text(*item, u"mcontent");
      app.click_url = Text(*item, u"clickurl");
    } else {
      return false;
    }
    app.tip_type = tip_type;
    // The count goes back as a 4-byte number, as it always has; a huge one stays huge.
    item->SetAttribute(u"sticktime", Decimal(stick_time - 1 > INT_MAX ? INT_MAX : stick_time - 1));
    taken = true;
    break;
  }
  root.reset();
  // Counted before anything is shown: a popup that then fails still used up a showing.
  SaveInPlace(env, *doc, choice->path);
  doc.reset();
  if (choice->delete_after) env.RemoveFile(choice->path);
  return taken;
}
