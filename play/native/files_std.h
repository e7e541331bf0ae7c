#pragma once
// The files port over the C++ file system library, for the host build. Windows paths are
// accepted: backslashes are taken as folder separators.
#include "play/ports/files.h"

class StdFiles final : public Files {
 public:
  bool Exists(std::u16string_view path) override;
  bool FolderExists(std::u16string_view path) override;
  bool IsFullPath(std::u16string_view path) override;
  std::optional<std::string> ReadBytes(std::u16string_view path) override;
  bool ReplaceBytes(std::u16string_view path, std::string_view bytes) override;
  bool Delete(std::u16string_view path) override;
  std::vector<std::u16string> List(std::u16string_view folder_and_pattern) override;
};
