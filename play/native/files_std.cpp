#include "play/native/files_std.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <thread>

#include "common/text/utf.h"
#include "play/ports/wildcard.h"

namespace fs = std::filesystem;

namespace {

fs::path ToPath(std::u16string_view path) {
  std::string utf8 = Utf16ToUtf8(path);
  std::replace(utf8.begin(), utf8.end(), '\\', '/');
  return fs::path(utf8);
}

}  // namespace

bool StdFiles::Exists(std::u16string_view path) {
  std::error_code ec;
  return fs::is_regular_file(ToPath(path), ec);
}

bool StdFiles::FolderExists(std::u16string_view path) {
  std::error_code ec;
  return fs::is_directory(ToPath(path), ec);
}

bool StdFiles::IsFullPath(std::u16string_view path) { return !path.empty() && ToPath(path).is_absolute(); }

std::optional<std::string> StdFiles::ReadBytes(std::u16string_view path) {
  std::ifstream in(ToPath(path), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool StdFiles::ReplaceBytes(std::u16string_view path, std::string_view bytes) {
  const fs::path target = ToPath(path);
  // A name of this process and thread: two writers of one file never share their temporary.
  fs::path temp = target;
  static const unsigned process_tag = std::random_device()();
  temp += ".~" + std::to_string(process_tag) + "-" +
          std::to_string(std::hash<std::thread::id>()(std::this_thread::get_id()));
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      fs::remove(temp, ignored);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) fs::remove(temp, ec);
  return !ec;
}

bool StdFiles::Delete(std::u16string_view path) {
  std::error_code ec;
  return fs::remove(ToPath(path), ec);
}

std::vector<std::u16string> StdFiles::List(std::u16string_view folder_and_pattern) {
  const auto cut = folder_and_pattern.find_last_of(u"\\/");
  const std::u16string_view folder = cut == std::u16string_view::npos ? u"." : folder_and_pattern.substr(0, cut);
  const std::u16string_view pattern =
      cut == std::u16string_view::npos ? folder_and_pattern : folder_and_pattern.substr(cut + 1);
  std::vector<std::u16string> names;
  std::error_code ec;
  for (fs::directory_iterator it(ToPath(folder.empty() ? u"/" : folder), ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    std::u16string name = Utf8ToUtf16(it->path().filename().string());
    if (MatchesWildcard(pattern, name)) names.push_back(std::move(name));
  }
  // NTFS hands names out in its own sorted order; sort so the host build is as predictable.
  std::sort(names.begin(), names.end());
  return names;
}
