#pragma once
// The tips work's outside world for host tests: pugixml documents, real files in a test
// folder, and a "server" that is a map from address to body.
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "common/xml/xml_doc_pugi.h"
#include "tests/shared/test_folder.h"
#include "tips/tips_environment.h"

class FakeTipsEnvironment final : public TipsEnvironment {
 public:
  // The store folder is the test folder, or a folder inside it named `sub`.
  explicit FakeTipsEnvironment(const TestFolder& folder, const std::string& sub = "")
      : store((sub.empty() ? folder.path() : folder.path() / sub).string() + "\\") {
    std::filesystem::create_directories(Host(store));
  }

  std::unique_ptr<XmlDoc> NewDocument() override { return has_dom ? CreatePugiXmlDoc() : nullptr; }
  bool Exists(const std::string& path) override { return std::filesystem::is_regular_file(Host(path)); }
  bool RemoveFile(const std::string& path) override {
    removed.push_back(path);
    std::error_code ec;
    return std::filesystem::remove(Host(path), ec);
  }
  bool MoveOver(const std::string& from, const std::string& to) override {
    std::error_code ec;
    std::filesystem::rename(Host(from), Host(to), ec);
    return !ec;
  }
  int Download(const std::string& url, const std::string& path, std::uint64_t max_bytes) override {
    downloads.push_back(url);
    limits.push_back(max_bytes);
    if (stop_after_downloads >= 0 && static_cast<int>(downloads.size()) >= stop_after_downloads) stop = true;
    auto it = server.find(url);
    if (it == server.end() || it->second.size() > max_bytes) return -1;
    std::ofstream(Host(path), std::ios::binary) << it->second;
    return 0;
  }
  std::string TempSuffix() override { return ".~test"; }
  LocalDate Today() override { return today; }
  bool StopRequested() override { return stop; }

  // The store folder as the library sees it: a Windows-style folder ending in a backslash.
  static std::string Host(std::string path) {
    for (char& c : path) {
      if (c == '\\') c = '/';
    }
    return path;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Host(store + name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Host(store + name), std::ios::binary) << bytes;
  }
  bool Has(const std::string& name) const { return std::filesystem::exists(Host(store + name)); }

  std::string store;
  std::map<std::string, std::string> server;
  std::vector<std::string> downloads;
  std::vector<std::uint64_t> limits;
  std::vector<std::string> removed;
  LocalDate today{2026, 12, 7};
  bool has_dom = true;
  bool stop = false;
  int stop_after_downloads = -1;
};
