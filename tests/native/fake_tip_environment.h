#pragma once
// The popup's outside world for host tests: pugixml, and Windows paths mapped the way Wine
// maps them, "Z:\" being the host's root.
#include <filesystem>

#include "common/text/utf.h"
#include "common/xml/xml_doc_pugi.h"
#include "tests/shared/test_folder.h"
#include "tip_popup/tip_environment.h"

class FakeTipEnvironment final : public TipEnvironment {
 public:
  std::unique_ptr<XmlDoc> NewDocument() override { return CreatePugiXmlDoc(); }
  bool MoveOver(const std::u16string& from, const std::u16string& to) override {
    std::error_code ec;
    std::filesystem::rename(Host(from), Host(to), ec);
    return !ec;
  }
  bool RemoveFile(const std::u16string& path) override {
    std::error_code ec;
    return std::filesystem::remove(Host(path), ec);
  }

  bool Exists(const std::u16string& path) override { return std::filesystem::is_regular_file(Host(path)); }
  std::u16string TempSuffix() override { return u".~test"; }

  static std::string Host(std::u16string_view path) {
    if (path.substr(0, 3) == u"Z:\\") path.remove_prefix(2);
    std::string host = Utf16ToUtf8(path);
    for (char& c : host) {
      if (c == '\\') c = '/';
    }
    return host;
  }
  static std::u16string WindowsFolder(const TestFolder& folder) {
    std::u16string text = u"Z:" + folder.Text() + u"/";
    for (char16_t& c : text) {
      if (c == u'/') c = u'\\';
    }
    return text;
  }
};
