#include "tip_popup/skin/skin_loader.h"

#include <algorithm>

#include "tip_popup/tip_item.h"

namespace {

SkinKind KindOfTag(std::u16string_view tag) {
  if (SkinIdEquals(tag, u"button")) return SkinKind::kButton;
  if (SkinIdEquals(tag, u"subtext")) return SkinKind::kTextLine;
  if (SkinIdEquals(tag, u"window")) return SkinKind::kWindowHolder;
  return SkinKind::kPlain;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

std::unique_ptr<XmlNode> FirstChildNamed(const XmlNode& parent, std::u16string_view name) {
  const std::size_t count = parent.ChildCount();
  for (std::size_t i = 0; i < count; ++i) {
    auto child = parent.Child(i);
    if (child && child->Name() == name) return child;
  }
  return nullptr;
}

}  // namespace

std::optional<SkinColor> ParseSkinColor(std::u16string_view text) {
  if (text.empty() || text.front() != u'#') return std::nullopt;
  std::size_t at = 1;
  unsigned parts[3] = {};
  for (unsigned& part : parts) {
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t')) ++at;  // %x skips blanks
    int digits = 0;
    part = 0;
    while (digits < 2 && at < text.size() && HexDigit(text[at]) >= 0) {
      part = part * 16 + static_cast<unsigned>(HexDigit(text[at++]));
      ++digits;
    }
    if (digits == 0) return std::nullopt;
  }
  return static_cast<SkinColor>(parts[0] | (parts[1] << 8) | (parts[2] << 16));
}

std::unique_ptr<SkinElement> LoadSkinElement(const XmlNode& node, const std::u16string& image_folder,
                                             SkinImageLoader& images, int depth) {
  const std::u16string tag = node.Name();
  auto element = std::make_unique<SkinElement>(KindOfTag(tag), tag);
  auto text = [&](std::u16string_view name) { return node.GetAttribute(name).value_or(u""); };
  auto number = [&](std::u16string_view name) { return ReadTipNumber(node.GetAttribute(name)); };
  // Offsets and stretches of any size are taken, as far as a window could ever reach.
  auto coordinate = [&](std::u16string_view name) {
    return std::clamp(number(name), -kSkinCoordinateLimit, kSkinCoordinateLimit);
  };

  element->id = text(u"id");
  element->hand_cursor = text(u"cursor") == u"hand";
  element->offset_x = coordinate(u"offsetx");
  element->offset_y = coordinate(u"offsety");
  element->stretch_x = coordinate(u"stretchx");
  element->stretch_y = coordinate(u"stretchy");
  element->layer = number(u"zorder");
  const std::u16string horizontal = text(u"horizontal");
  element->anchor_right = horizontal == u"right" || horizontal == u"center";
  const std::u16string vertical = text(u"vertical");
  element->anchor_bottom = vertical == u"bottom" || vertical == u"center";
  if (const std::u16string image = text(u"image"); !image.empty()) element->image = images.Load(image_folder + image);
  if (SkinIdEquals(element->id, u"close")) element->tooltip_string = kStringCloseTip;
  if (SkinIdEquals(element->id, u"view")) {
    element->tooltip_string = kStringViewTip;
    if (text(u"text") == u"true") {
      element->caption_string = kStringViewCaption;
      element->text_left = number(u"textleft");
      element->text_top = number(u"texttop");
    }
  }
  element->text_color = ParseSkinColor(text(u"textcolor")).value_or(0);
  element->over_color = ParseSkinColor(text(u"overcolor")).value_or(0);

  if (depth < kMaxSkinDepth) {
    const std::size_t count = node.ChildCount();
    for (std::size_t i = 0; i < count; ++i) {
      auto child = node.Child(i);
      // Only elements are skin elements; comments and text between them are not.
      if (!child || child->Name().empty() || child->Name().front() == u'#') continue;
      element->AddChild(LoadSkinElement(*child, image_folder, images, depth + 1));
    }
  }
  return element;
}

std::unique_ptr<SkinElement> LoadSkin(XmlDoc& doc, const std::u16string& program_folder, SkinImageLoader& images,
                                      const std::u16string& title, const std::u16string& body) {
  if (!doc.Load(program_folder + u"PopMessage.xml")) return nullptr;
  auto skin = doc.SelectSingleNode(u"skin");
  if (!skin) return nullptr;
  const std::u16string path = skin->GetAttribute(u"path").value_or(u"");
  auto subview = FirstChildNamed(*skin, u"subview");
  if (!subview) return nullptr;
  const std::u16string image_folder = path.empty() ? program_folder : program_folder + path + u"\\";
  // The tag "subview" makes a plain element, as the root must be.
  auto root = LoadSkinElement(*subview, image_folder, images);
  if (SkinElement* title_line = root->Find(u"maintext")) title_line->text = title;
  if (SkinElement* rich_text = root->Find(u"RICHEDIT_1")) rich_text->text = body;
  return root;
}
