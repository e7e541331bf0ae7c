#pragma once
// Files kept in memory, so a fuzzer's thousands of runs per second never touch the disk. Every
// write is counted, so a target can tell which files an operation wrote.
#include <map>

#include "play/ports/files.h"
#include "play/ports/wildcard.h"
#include "play/text/text_procedures.h"

class MemoryFiles final : public Files {
 public:
  bool Exists(std::u16string_view path) override { return files.count(std::u16string(path)) > 0; }
  bool FolderExists(std::u16string_view path) override { return true; }
  bool IsFullPath(std::u16string_view path) override { return IsFullWindowsPath(path); }
  std::optional<std::string> ReadBytes(std::u16string_view path) override {
    const auto found = files.find(std::u16string(path));
    if (found == files.end()) return std::nullopt;
    return found->second;
  }
  bool ReplaceBytes(std::u16string_view path, std::string_view bytes) override {
    files[std::u16string(path)] = std::string(bytes);
    ++writes[std::u16string(path)];
    return true;
  }
  bool Delete(std::u16string_view path) override { return files.erase(std::u16string(path)) > 0; }
  std::vector<std::u16string> List(std::u16string_view folder_and_pattern) override {
    const auto slash = folder_and_pattern.rfind(u'\\');
    const std::u16string_view folder = folder_and_pattern.substr(0, slash + 1);
    const std::u16string_view pattern = folder_and_pattern.substr(slash + 1);
    std::vector<std::u16string> names;
    for (const auto& [path, bytes] : files) {
      if (path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0) continue;
      const std::u16string_view name = std::u16string_view(path).substr(folder.size());
      if (name.find(u'\\') == std::u16string_view::npos && MatchesWildcard(pattern, name)) names.emplace_back(name);
    }
    return names;
  }

  std::map<std::u16string, std::string> files;
  std::map<std::u16string, int> writes;
};
