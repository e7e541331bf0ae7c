#pragma once
// Reads PopMessage.xml into the element tree.
#include <memory>
#include <optional>
#include <string>

#include "common/xml/xml_doc.h"
#include "tip_popup/skin/skin_element.h"

class SkinImageLoader {
 public:
  virtual ~SkinImageLoader() = default;
  // The bitmap file at `path` at its own size; nullptr when it is missing or unusable.
  virtual std::shared_ptr<SkinImage> Load(const std::u16string& path) = 0;
};

// "#rrggbb" as read with "#%2x%2x%2x"; nothing when it does not parse.
std::optional<SkinColor> ParseSkinColor(std::u16string_view text);

// Elements deeper than this are left out: a skin is a handful of levels, and a hostile one
// must not exhaust the stack.
inline constexpr int kMaxSkinDepth = 32;

// The root element (the skin's first "subview") with the tip's title and body filled in;
// nullptr when the document, "skin" or "subview" is missing.
std::unique_ptr<SkinElement> LoadSkin(XmlDoc& doc, const std::u16string& program_folder, SkinImageLoader& images,
                                      const std::u16string& title, const std::u16string& body);

// One element and, below it, its children.
std::unique_ptr<SkinElement> LoadSkinElement(const XmlNode& node, const std::u16string& image_folder,
                                             SkinImageLoader& images, int depth = 0);
