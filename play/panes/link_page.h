#pragma once
// What the link-list pane shows of a page: its title and its links, each with the text a
// reader would see (the anchor's text, or an image's alt text), addresses made absolute.
#include <string>
#include <string_view>
#include <vector>

struct PageLink {
  std::u16string href;
  std::u16string text;
  std::u16string title;  // the anchor's title attribute, shown as its tool tip
  bool operator==(const PageLink&) const = default;
};

struct LinkPage {
  std::u16string title;
  std::vector<PageLink> links;
};

// Reads the links of an HTML page (already decoded to UTF-16). Relative addresses are
// resolved against `base`; addresses with a scheme of their own are kept as they are.
LinkPage ParseLinkPage(std::u16string_view html, std::u16string_view base);

// `reference` made absolute against `base` (http and file addresses, and Windows paths).
std::u16string ResolveAddress(std::u16string_view base, std::u16string_view reference);

// Page bytes as text: UTF-8 when they are valid UTF-8 (or say so), else the code page's.
std::u16string DecodePageBytes(std::string_view bytes, bool (*is_utf8)(std::string_view) = nullptr);
bool LooksLikeUtf8(std::string_view bytes);

// "&amp;", "&lt;", "&#26222;", "&#x4E00;" and the other common references, decoded.
std::u16string DecodeHtmlEntities(std::u16string_view text);
