#pragma once
// A fresh, empty folder under the system's temporary folder, removed again at the end of
// the test. Paths come out in the platform's own form (backslashes under Windows).
#include <filesystem>
#include <string>

class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder, or a file inside it, as the programs' UTF-16 path text.
  std::u16string Text() const;
  std::u16string File(std::u16string_view name) const;

  void Write(std::u16string_view name, std::string_view bytes) const;
  std::string Read(std::u16string_view name) const;
  bool Has(std::u16string_view name) const;

 private:
  std::filesystem::path path_;
};
