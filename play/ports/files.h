#pragma once
// Files on disk. Paths are Windows paths; text files that the program calls ANSI go
// through the code page (see ansi_text.h).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Files {
 public:
  virtual ~Files() = default;

  virtual bool Exists(std::u16string_view path) = 0;
  virtual bool FolderExists(std::u16string_view path) = 0;
  // Whether `path` names a place by itself (a drive's root or a share on Windows), rather
  // than relative to a working folder or a drive's current folder.
  virtual bool IsFullPath(std::u16string_view path) = 0;
  // The whole file, or nothing when it cannot be read.
  virtual std::optional<std::string> ReadBytes(std::u16string_view path) = 0;
  // Writes a temporary file beside `path` and then replaces `path` with it, so a reader or a
  // crash never meets a half-written file. False when any step fails; `path` is then untouched.
  virtual bool ReplaceBytes(std::u16string_view path, std::string_view bytes) = 0;
  virtual bool Delete(std::u16string_view path) = 0;
  // Names (without folder) of the files matching a folder plus a wildcard pattern such as
  // "C:\\dir\\*.htm", in the order the file system gives them. Folders are not listed.
  virtual std::vector<std::u16string> List(std::u16string_view folder_and_pattern) = 0;
};
