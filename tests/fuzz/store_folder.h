#pragma once
// The tips library's and the popup's outside world for the fuzzers: one real store folder
// (under the temporary folder, emptied before each run), Windows paths with "Z:" as the host's
// root as under Wine, and a server that answers every movie address. Every path that is
// written, moved over or removed must be a file the store folder may hold: the two documents,
// their temporaries, or an accepted movie name.
#include <filesystem>
#include <fstream>
#include <string>

#include "common/codepage.h"
#include "common/text/utf.h"
#include "common/xml/xml_doc_pugi.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/shared/test_folder.h"
#include "tip_popup/tip_environment.h"
#include "tips/media_name.h"
#include "tips/tips_document.h"
#include "tips/tips_environment.h"

class StoreFolder {
 public:
  StoreFolder() {
    std::string text = "Z:" + folder_.path().string() + "/";
    for (char& c : text) {
      if (c == '/') c = '\\';
    }
    windows_ = text;
  }
  // The folder as the programs see it, with its trailing backslash.
  const std::string& windows() const { return windows_; }

  void Empty() {
    for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) std::filesystem::remove_all(entry);
  }
  void Write(std::string_view name, std::string_view bytes) const {
    std::ofstream(folder_.path() / std::string(name), std::ios::binary) << bytes;
  }

  bool Exists(const std::string& path) const { return std::filesystem::is_regular_file(Host(path)); }
  bool Remove(const std::string& path) const {
    CheckWritable(path);
    std::error_code ec;
    return std::filesystem::remove(Host(path), ec);
  }
  bool MoveOver(const std::string& from, const std::string& to) const {
    CheckWritable(from);
    CheckWritable(to);
    std::error_code ec;
    std::filesystem::rename(Host(from), Host(to), ec);
    return !ec;
  }
  // The server answers every address with a movie.
  int Download(const std::string& path) const {
    CheckWritable(path);
    std::ofstream(Host(path), std::ios::binary) << "FWS movie";
    return 0;
  }

  static constexpr std::string_view kTempSuffix = ".~fuzz";

 private:
  void CheckWritable(const std::string& path) const {
    FUZZ_CHECK(path.size() > windows_.size() && path.compare(0, windows_.size(), windows_) == 0);
    std::string name = path.substr(windows_.size());
    if (name.size() > kTempSuffix.size() &&
        name.compare(name.size() - kTempSuffix.size(), kTempSuffix.size(), kTempSuffix) == 0) {
      name.resize(name.size() - kTempSuffix.size());
    }
    const bool document = name == kLocalDocumentName || name == kDownloadedDocumentName;
    FUZZ_CHECK(document || IsAcceptedMovieName(name));
  }
  static std::string Host(std::string_view path) {
    std::string host(path.substr(path.substr(0, 3) == "Z:\\" ? 2 : 0));
    for (char& c : host) {
      if (c == '\\') c = '/';
    }
    return host;
  }

  TestFolder folder_;
  std::string windows_;
};

// The library's side: narrow paths in the code page.
class LibrarySide final : public TipsEnvironment {
 public:
  explicit LibrarySide(const StoreFolder& store) : store_(store) {}
  std::unique_ptr<XmlDoc> NewDocument() override { return CreatePugiXmlDoc(); }
  bool Exists(const std::string& path) override { return store_.Exists(path); }
  bool RemoveFile(const std::string& path) override { return store_.Remove(path); }
  bool MoveOver(const std::string& from, const std::string& to) override { return store_.MoveOver(from, to); }
  int Download(const std::string&, const std::string& path, std::uint64_t) override { return store_.Download(path); }
  std::string TempSuffix() override { return std::string(StoreFolder::kTempSuffix); }
  LocalDate Today() override { return {2026, 12, 7}; }
  bool StopRequested() override { return false; }

 private:
  const StoreFolder& store_;
};

// The popup's side: wide paths.
class PopupSide final : public TipEnvironment {
 public:
  explicit PopupSide(const StoreFolder& store) : store_(store) {}
  std::unique_ptr<XmlDoc> NewDocument() override { return CreatePugiXmlDoc(); }
  bool MoveOver(const std::u16string& from, const std::u16string& to) override {
    return store_.MoveOver(ToAnsi(from), ToAnsi(to));
  }
  bool RemoveFile(const std::u16string& path) override { return store_.Remove(ToAnsi(path)); }
  bool Exists(const std::u16string& path) override { return store_.Exists(ToAnsi(path)); }
  std::u16string TempSuffix() override { return Utf8ToUtf16(StoreFolder::kTempSuffix); }

 private:
  const StoreFolder& store_;
};
