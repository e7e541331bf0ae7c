#include "common/xml/xml_doc_pugi.h"

#include <pugixml.hpp>

#include <fstream>

#include "common/text/utf.h"

namespace {

// Paths arrive as the programs' UTF-16; the host file system takes UTF-8 with '/'. A drive
// "Z:" is the host's root, as under Wine.
std::string HostPath(std::u16string_view path) {
  if (path.size() >= 3 && (path[0] == u'Z' || path[0] == u'z') && path[1] == u':' && path[2] == u'\\')
    path.remove_prefix(2);
  std::string utf8 = Utf16ToUtf8(path);
  for (char& c : utf8) {
    if (c == '\\') c = '/';
  }
  return utf8;
}

class PugiNode final : public XmlNode {
 public:
  explicit PugiNode(pugi::xml_node node) : node_(node) {}

  std::u16string Name() const override {
    switch (node_.type()) {
      case pugi::node_element: return Utf8ToUtf16(node_.name());
      case pugi::node_comment: return u"#comment";
      case pugi::node_cdata: return u"#cdata-section";
      case pugi::node_pi: return Utf8ToUtf16(node_.name());
      default: return u"#text";
    }
  }

  std::optional<std::u16string> GetAttribute(std::u16string_view name) const override {
    if (node_.type() != pugi::node_element) return std::nullopt;
    const pugi::xml_attribute attribute = node_.attribute(Utf16ToUtf8(name).c_str());
    if (!attribute) return std::nullopt;
    return Utf8ToUtf16(attribute.value());
  }

  bool SetAttribute(std::u16string_view name, std::u16string_view value) override {
    if (node_.type() != pugi::node_element) return false;
    const std::string key = Utf16ToUtf8(name);
    pugi::xml_attribute attribute = node_.attribute(key.c_str());
    if (!attribute) attribute = node_.append_attribute(key.c_str());
    return attribute.set_value(Utf16ToUtf8(value).c_str());
  }

  std::size_t ChildCount() const override {
    return static_cast<std::size_t>(std::distance(node_.begin(), node_.end()));
  }

  std::unique_ptr<XmlNode> Child(std::size_t index) const override {
    std::size_t i = 0;
    for (pugi::xml_node child : node_.children()) {
      if (i++ == index) return std::make_unique<PugiNode>(child);
    }
    return nullptr;
  }

 private:
  pugi::xml_node node_;
};

class PugiDoc final : public XmlDoc {
 public:
  bool Load(std::u16string_view path) override {
    // Comments and processing instructions are child nodes in the platform DOM too.
    const auto result =
        doc_.load_file(HostPath(path).c_str(), pugi::parse_default | pugi::parse_comments | pugi::parse_pi);
    if (!result) {
      doc_.reset();
      return false;
    }
    path_ = std::u16string(path);
    return true;
  }

  std::unique_ptr<XmlNode> SelectSingleNode(std::u16string_view query) override {
    const pugi::xml_node node = doc_.child(Utf16ToUtf8(query).c_str());
    if (!node) return nullptr;
    return std::make_unique<PugiNode>(node);
  }

  bool Save(std::u16string_view path) override {
    const std::u16string target = path.empty() ? path_ : std::u16string(path);
    if (target.empty()) return false;
    return doc_.save_file(HostPath(target).c_str(), "\t", pugi::format_default, pugi::encoding_utf8);
  }

 private:
  pugi::xml_document doc_;
  std::u16string path_;
};

}  // namespace

std::unique_ptr<XmlDoc> CreatePugiXmlDoc() { return std::make_unique<PugiDoc>(); }
