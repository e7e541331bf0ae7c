#pragma once
// The two lists the program remembers, in its own folder: the web history date.dat (id, name,
// label, media, v, v1, position) and the local list date_f.dat (name, path, position). One
// entry a line, newest first, fields joined by "|", ANSI text with CR LF. Every change reads
// the file, rewrites it whole through a temporary file, and regenerates the list page.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "play/ports/code_page.h"
#include "play/ports/files.h"

inline constexpr std::u16string_view kWebListFile = u"date.dat";
inline constexpr std::u16string_view kLocalListFile = u"date_f.dat";
inline constexpr std::u16string_view kWebListPage = u"c.htm";
inline constexpr std::u16string_view kLocalListPage = u"f.htm";

class HistoryLists {
 public:
  // Called after a page was written, with the list file it shows and the page's path; the
  // main window reloads the pane that shows it.
  using PageWritten = std::function<void(std::u16string_view list_file, const std::u16string& page_path)>;
  // The form a local path is stored in: a path the code page cannot hold would come back as
  // "?" and be lost, so the main window hands its short form where the volume has one.
  using StoredPath = std::function<std::u16string(const std::u16string& path)>;

  HistoryLists(Files& files, const CodePage& code_page, std::u16string folder, PageWritten page_written = {},
               StoredPath stored_path = {});

  void AddWebEntry(long long id, std::u16string_view name, std::u16string_view label, std::u16string_view media,
                   long long v, long long v1, long long position);
  void AddLocalEntry(std::u16string_view name, std::u16string_view path, long long position);
  void RemoveEntry(std::u16string_view list_file, long long n);
  // Rewrites the list as one empty line and regenerates its page; a missing list stays missing.
  void Clear(std::u16string_view list_file);
  void SaveWebPosition(long long id, long long position);
  void SaveLocalPosition(std::u16string_view path, long long position);
  // Builds c.htm from date.dat, or f.htm from any other list file, and reports it written.
  void WriteListPage(std::u16string_view list_file);

  // Line n (from 1) of a list file; empty when there is no such line.
  std::u16string Line(std::u16string_view list_file, long long n);
  // The number (from 1) of the first line whose fields satisfy `matches`; 0 for none.
  long long FindLine(std::u16string_view list_file,
                     const std::function<bool(const std::vector<std::u16string>& fields)>& matches);

  std::u16string PathOf(std::u16string_view name) const { return folder_ + u"\\" + std::u16string(name); }

 private:
  std::optional<std::vector<std::u16string>> ReadLines(std::u16string_view list_file);
  void Write(std::u16string_view list_file, std::u16string_view text);
  // The path as the list stores it: itself, or its short form where the code page cannot hold
  // it; nothing when neither can be held (the entry could never be found again).
  std::optional<std::u16string> LocalPathForStorage(std::u16string_view path) const;

  Files& files_;
  const CodePage& code_page_;
  std::u16string folder_;
  PageWritten page_written_;
  StoredPath stored_path_;
};

// The "|"-separated fields of a list line.
std::vector<std::u16string> SplitListLine(std::u16string_view line);
