#pragma once
// The tips document through an XML DOM: on Windows the platform's MSXML by late binding,
// on the host build pugixml. Only the members both programs need are offered.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class XmlNode {
 public:
  virtual ~XmlNode() = default;
  // nodeName: the tag of an element ("#comment", "#text" and the like for other nodes).
  virtual std::u16string Name() const = 0;
  // The attribute's text; nothing when it is absent or the node has no attributes (a comment).
  virtual std::optional<std::u16string> GetAttribute(std::u16string_view name) const = 0;
  virtual bool SetAttribute(std::u16string_view name, std::u16string_view value) = 0;
  // childNodes: the length of the list and its items, in document order.
  virtual std::size_t ChildCount() const = 0;
  virtual std::unique_ptr<XmlNode> Child(std::size_t index) const = 0;
};

class XmlDoc {
 public:
  virtual ~XmlDoc() = default;
  // Loads synchronously; false for a missing file or a document that does not parse.
  virtual bool Load(std::u16string_view path) = 0;
  // The element the query names (the root element's name, for our documents), or nothing.
  virtual std::unique_ptr<XmlNode> SelectSingleNode(std::u16string_view query) = 0;
  // Writes the document to `path`, or to the path it was loaded from when `path` is empty.
  virtual bool Save(std::u16string_view path = {}) = 0;
};

// Makes a new, empty document; nullptr when no DOM implementation is available.
using XmlDocFactory = std::function<std::unique_ptr<XmlDoc>()>;
