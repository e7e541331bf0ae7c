#pragma once
#include "play/ports/files.h"

class Win32Files final : public Files {
 public:
  bool Exists(std::u16string_view path) override;
  bool FolderExists(std::u16string_view path) override;
  bool IsFullPath(std::u16string_view path) override;
  std::optional<std::string> ReadBytes(std::u16string_view path) override;
  bool ReplaceBytes(std::u16string_view path, std::string_view bytes) override;
  bool Delete(std::u16string_view path) override;
  std::vector<std::u16string> List(std::u16string_view folder_and_pattern) override;
};
