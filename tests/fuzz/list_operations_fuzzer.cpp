// The two list files, as a user's editor or an older version left them, through every list
// operation in any order. Each operation changes only what it was asked to: an added entry
// goes on top and the kept entries follow in their order, within the bound of 101; a removal
// takes exactly the line it names; a saved position changes one field of the matching entries.
#include <fuzzer/FuzzedDataProvider.h>

#include "common/codepage.h"
#include "play/lists/history_lists.h"
#include "play/ports/ansi_text.h"
#include "play/text/text_procedures.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/memory_files.h"

namespace {

constexpr std::u16string_view kFolder = u"C:\\Vexo";

struct Lists {
  MemoryFiles files;
  SystemCodePage code_page;
  HistoryLists lists{files, code_page, std::u16string(kFolder)};

  std::vector<std::u16string> Lines(std::u16string_view list_file) {
    return SplitLines(ReadAnsiText(files, code_page, lists.PathOf(list_file)).value_or(u""));
  }
  // The text as it reads back once stored in the code page.
  std::u16string Stored(std::u16string_view text) const { return code_page.FromAnsi(code_page.ToAnsi(text)); }
  std::vector<std::u16string> Entries(const std::vector<std::u16string>& lines) const {
    std::vector<std::u16string> entries;
    for (const std::u16string& line : lines) {
      if (line.find(u'|') != std::u16string::npos) entries.push_back(Stored(line));
    }
    return entries;
  }
  std::vector<std::u16string> Entries(std::u16string_view list_file) { return Entries(Lines(list_file)); }
};

std::optional<long long> IdOf(std::u16string_view line) {
  const std::u16string first = SplitListLine(line)[0];
  std::u16string_view digits = first;
  while (!digits.empty() && digits.front() == u' ') digits.remove_prefix(1);
  while (!digits.empty() && digits.back() == u' ') digits.remove_suffix(1);
  bool negative = false;
  if (!digits.empty() && (digits.front() == u'-' || digits.front() == u'+')) {
    negative = digits.front() == u'-';
    digits.remove_prefix(1);
  }
  if (digits.empty() || digits.size() > 17) return std::nullopt;
  long long value = 0;
  for (char16_t c : digits) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  return negative ? -value : value;
}

std::u16string Field(FuzzedDataProvider& input) { return FromAnsi(input.ConsumeRandomLengthString(24)); }

// After an entry was added: it comes first, then the entries of the first 100 old lines that
// the new one does not replace, in their order.
void CheckAdded(const std::vector<std::u16string>& old_lines, const std::vector<std::u16string>& after, Lists& l,
                const std::function<bool(const std::u16string&)>& replaced) {
  FUZZ_CHECK(!after.empty() && after.size() <= 101);
  std::vector<std::u16string> kept;
  for (std::size_t i = 0; i < old_lines.size() && i < 100; ++i) {
    if (old_lines[i].find(u'|') != std::u16string::npos && !replaced(old_lines[i]))
      kept.push_back(l.Stored(old_lines[i]));
  }
  FUZZ_CHECK(std::vector<std::u16string>(after.begin() + 1, after.end()) == kept);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  // date.dat, date_f.dat, then the operations.
  const auto parts = SplitInput(data, size, 3);
  Lists l;
  l.files.files[l.lists.PathOf(kWebListFile)] = std::string(parts[0]);
  l.files.files[l.lists.PathOf(kLocalListFile)] = std::string(parts[1]);
  FuzzedDataProvider input(reinterpret_cast<const unsigned char*>(parts[2].data()), parts[2].size());

  for (int step = 0; step < 8 && input.remaining_bytes() > 0; ++step) {
    const bool web = input.ConsumeBool();
    const std::u16string_view list = web ? kWebListFile : kLocalListFile;
    const std::vector<std::u16string> before = l.Lines(list);
    const std::vector<std::u16string> entries_before = l.Entries(before);
    switch (input.ConsumeIntegralInRange(0, 3)) {
      case 0:
        if (web) {
          const long long id = input.ConsumeIntegralInRange<long long>(-3, 200);
          const auto name = Field(input), label = Field(input), media = Field(input);
          l.lists.AddWebEntry(id, name, label, media, 1, 2, 0);
          CheckAdded(before, l.Entries(list), l, [id](const std::u16string& line) { return IdOf(line) == id; });
        } else {
          const auto name = Field(input), path = Field(input);
          const std::u16string stored = l.Stored(path);
          // A path the code page cannot hold is not kept at all; Windows paths hold no '|' or line break.
          if (stored != path || path.find_first_of(u"|\r\n") != std::u16string::npos) break;
          l.lists.AddLocalEntry(name, path, 0);
          CheckAdded(before, l.Entries(list), l,
                     [&stored](const std::u16string& line) { return SplitListLine(line)[1] == stored; });
        }
        break;
      case 1: {
        const long long n = input.ConsumeIntegralInRange<long long>(-1, static_cast<long long>(before.size()) + 1);
        l.lists.RemoveEntry(list, n);
        std::vector<std::u16string> expected;
        for (std::size_t i = 0; i < before.size(); ++i) {
          if (static_cast<long long>(i) + 1 != n && before[i].find(u'|') != std::u16string::npos) {
            expected.push_back(l.Stored(before[i]));
          }
        }
        FUZZ_CHECK(l.Entries(list) == expected);
        FUZZ_CHECK(l.files.Exists(l.lists.PathOf(web ? kWebListPage : kLocalListPage)));
        break;
      }
      case 2: {
        const long long position = input.ConsumeIntegralInRange<long long>(-5, 100000);
        const long long id = input.ConsumeIntegralInRange<long long>(-3, 200);
        if (web) l.lists.SaveWebPosition(id, position);
        else l.lists.SaveLocalPosition(Field(input), position);
        const auto after = l.Entries(list);
        FUZZ_CHECK(after.size() == entries_before.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
          if (after[i] == entries_before[i]) continue;
          // Only the position changed (or was added to a line that lacked it): the fields before
          // it are the old ones.
          const auto old_fields = SplitListLine(entries_before[i]);
          const auto new_fields = SplitListLine(after[i]);
          FUZZ_CHECK(new_fields.size() == (web ? 7u : 3u));
          for (std::size_t f = 0; f + 1 < new_fields.size(); ++f) {
            FUZZ_CHECK(f < old_fields.size() && new_fields[f] == old_fields[f]);
          }
        }
        break;
      }
      case 3:
        l.lists.Clear(list);
        FUZZ_CHECK(l.Entries(list).empty());
        break;
    }
  }
  return 0;
}
