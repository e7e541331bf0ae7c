#include "play/startup/list_files.h"

bool ListFiles(Files& files, std::u16string_view folder, std::vector<std::u16string>& names,
               std::u16string_view pattern) {
  std::u16string query(folder);
  if (query.empty() || query.back() != u'\\') query += u'\\';
  query += pattern;
  std::vector<std::u16string> found = files.List(query);
  if (found.empty()) return false;
  names = std::move(found);
  return true;
}
