#include "tests/shared/test_folder.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

TestFolder::TestFolder() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = fs::temp_directory_path() / ("vexo-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(path_);
}

TestFolder::~TestFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::u16string TestFolder::Text() const { return path_.u16string(); }

std::u16string TestFolder::File(std::u16string_view name) const { return (path_ / fs::path(name)).u16string(); }

void TestFolder::Write(std::u16string_view name, std::string_view bytes) const {
  std::ofstream out(path_ / fs::path(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TestFolder::Read(std::u16string_view name) const {
  std::ifstream in(path_ / fs::path(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TestFolder::Has(std::u16string_view name) const { return fs::exists(path_ / fs::path(name)); }
