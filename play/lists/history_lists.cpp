#include "play/lists/history_lists.h"

#include <optional>

#include "common/text/decimal.h"
#include "play/lists/list_page.h"
#include "play/ports/ansi_text.h"
#include "play/text/js_escape.h"
#include "play/text/text_procedures.h"

namespace {

constexpr std::size_t kKeptOldLines = 100;
constexpr std::u16string_view kCrLf = u"\r\n";

bool HasFields(std::u16string_view line) { return line.find(u'|') != std::u16string_view::npos; }

// A field read as a whole decimal number; nothing when it is not one.
std::optional<long long> NumberOf(std::u16string_view field) {
  while (!field.empty() && field.front() == u' ') field.remove_prefix(1);
  while (!field.empty() && field.back() == u' ') field.remove_suffix(1);
  if (field.empty() || field.size() > 18) return std::nullopt;
  bool negative = false;
  if (field.front() == u'-' || field.front() == u'+') {
    negative = field.front() == u'-';
    field.remove_prefix(1);
    if (field.empty()) return std::nullopt;
  }
  long long value = 0;
  for (char16_t c : field) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  return negative ? -value : value;
}

std::u16string Join(const std::vector<std::u16string>& fields) {
  std::u16string out;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) out += u'|';
    out += fields[i];
  }
  return out;
}

// A field never holds the separator or a line break, which would split its entry into more
// fields or lines; they are stored as escape() writes them, the form the list's texts are read in.
std::u16string ListField(std::u16string_view text) { return EscapeOnly(text, u"|\r\n"); }

void RemoveFinalCrLf(std::u16string& text) {
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, kCrLf) == 0) text.resize(text.size() - 2);
}

}  // namespace

std::vector<std::u16string> SplitListLine(std::u16string_view line) {
  std::vector<std::u16string> fields;
  std::size_t start = 0;
  while (true) {
    const auto bar = line.find(u'|', start);
    fields.emplace_back(line.substr(start, bar == std::u16string_view::npos ? std::u16string_view::npos : bar - start));
    if (bar == std::u16string_view::npos) return fields;
    start = bar + 1;
  }
}

HistoryLists::HistoryLists(Files& files, const CodePage& code_page, std::u16string folder, PageWritten page_written,
                           StoredPath stored_path)
    : files_(files),
      code_page_(code_page),
      folder_(std::move(folder)),
      page_written_(std::move(page_written)),
      stored_path_(std::move(stored_path)) {}

std::optional<std::vector<std::u16string>> HistoryLists::ReadLines(std::u16string_view list_file) {
  const auto text = ReadAnsiText(files_, code_page_, PathOf(list_file));
  if (!text) return std::nullopt;
  // A list edited by hand with another editor still matches its entries.
  return SplitLines(*text);
}

std::u16string HistoryLists::Line(std::u16string_view list_file, long long n) {
  const auto lines = ReadLines(list_file);
  if (!lines || n < 1 || static_cast<std::size_t>(n) > lines->size()) return {};
  return (*lines)[static_cast<std::size_t>(n - 1)];
}

long long HistoryLists::FindLine(std::u16string_view list_file,
                                 const std::function<bool(const std::vector<std::u16string>& fields)>& matches) {
  const auto lines = ReadLines(list_file);
  if (!lines) return 0;
  for (std::size_t i = 0; i < lines->size(); ++i) {
    if (!(*lines)[i].empty() && matches(SplitListLine((*lines)[i]))) return static_cast<long long>(i + 1);
  }
  return 0;
}

void HistoryLists::Write(std::u16string_view list_file, std::u16string_view text) {
  ReplaceAnsiText(files_, code_page_, PathOf(list_file), text);
}

void HistoryLists::AddWebEntry(long long id, std::u16string_view name, std::u16string_view label,
                               std::u16string_view media, long long v, long long v1, long long position) {
  const auto lines = ReadLines(kWebListFile);
  if (!lines) return;
  std::u16string kept;
  for (std::size_t i = 0; i < lines->size() && i < kKeptOldLines; ++i) {
    const std::u16string& line = (*lines)[i];
    if (!HasFields(line)) continue;
    if (NumberOf(SplitListLine(line)[0]) == id) continue;  // the item moves to the top
    kept += line + u"\r\n";
  }
  RemoveFinalCrLf(kept);
  const std::u16string entry = Join(
      {Decimal(id), ListField(name), ListField(label), ListField(media), Decimal(v), Decimal(v1), Decimal(position)});
  Write(kWebListFile, entry + u"\r\n" + kept + u"\r\n");
  WriteListPage(kWebListFile);
}

std::optional<std::u16string> HistoryLists::LocalPathForStorage(std::u16string_view path) const {
  const std::u16string full(path);
  const auto holds = [this](const std::u16string& text) {
    return code_page_.FromAnsi(code_page_.ToAnsi(text)) == text;
  };
  if (holds(full)) return ListField(full);
  if (!stored_path_) return std::nullopt;
  std::u16string short_form = stored_path_(full);
  if (short_form.empty() || !holds(short_form)) return std::nullopt;
  return ListField(short_form);
}

void HistoryLists::AddLocalEntry(std::u16string_view name, std::u16string_view path, long long position) {
  const auto stored = LocalPathForStorage(path);
  if (!stored) return;  // it plays, but could never be reopened from the list
  const auto lines = ReadLines(kLocalListFile);
  if (!lines) return;
  std::u16string kept;
  for (std::size_t i = 0; i < lines->size() && i < kKeptOldLines; ++i) {
    const std::u16string& line = (*lines)[i];
    if (!HasFields(line)) continue;
    if (SplitListLine(line)[1] == *stored) continue;
    kept += line + u"\r\n";
  }
  RemoveFinalCrLf(kept);
  Write(kLocalListFile, Join({ListField(name), *stored, Decimal(position)}) + u"\r\n" + kept + u"\r\n");
  WriteListPage(kLocalListFile);
}

void HistoryLists::Clear(std::u16string_view list_file) {
  if (!files_.Exists(PathOf(list_file))) return;
  Write(list_file, u"\r\n");
  WriteListPage(list_file);
}

void HistoryLists::RemoveEntry(std::u16string_view list_file, long long n) {
  const auto lines = ReadLines(list_file);
  if (!lines) return;
  std::u16string kept;
  for (std::size_t i = 0; i < lines->size(); ++i) {
    if (static_cast<long long>(i) + 1 != n) kept += (*lines)[i] + u"\r\n";
  }
  RemoveFinalCrLf(kept);
  RemoveFinalCrLf(kept);
  Write(list_file, kept + u"\r\n");
  WriteListPage(list_file);
}

void HistoryLists::SaveWebPosition(long long id, long long position) {
  const auto lines = ReadLines(kWebListFile);
  if (!lines) return;
  std::u16string text;
  for (const std::u16string& line : *lines) {
    if (!HasFields(line)) continue;
    auto fields = SplitListLine(line);
    // A line whose id is no number, or that lacks fields, is kept as it is.
    if (fields.size() >= 7 && NumberOf(fields[0]) == id) {
      fields.resize(7);
      fields[6] = Decimal(position);
      text += Join(fields) + u"\r\n";
    } else {
      text += line + u"\r\n";
    }
  }
  RemoveFinalCrLf(text);
  Write(kWebListFile, text + u"\r\n");
}

void HistoryLists::SaveLocalPosition(std::u16string_view path, long long position) {
  const auto stored = LocalPathForStorage(path);
  if (!stored) return;
  const auto lines = ReadLines(kLocalListFile);
  if (!lines) return;
  std::u16string text;
  for (const std::u16string& line : *lines) {
    if (!HasFields(line)) continue;
    const auto fields = SplitListLine(line);
    if (fields[1] == *stored) {
      text += Join({fields[0], fields[1], Decimal(position)}) + u"\r\n";
    } else {
      text += line + u"\r\n";
    }
  }
  RemoveFinalCrLf(text);
  Write(kLocalListFile, text + u"\r\n");
}

void HistoryLists::WriteListPage(std::u16string_view list_file) {
  const bool web = list_file == kWebListFile;
  const auto lines = ReadLines(list_file);
  const std::u16string page = BuildListPage(lines.value_or(std::vector<std::u16string>{}), web ? 1 : 0, code_page_);
  const std::u16string page_path = PathOf(web ? kWebListPage : kLocalListPage);
  ReplaceAnsiText(files_, code_page_, page_path, page);
  if (page_written_) page_written_(list_file, page_path);
}
