#include "play/panes/link_page.h"

#include <algorithm>

#include "common/codepage.h"
#include "common/text/ascii_case.h"
#include "common/text/utf.h"

namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f'; }

std::u16string Lower(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = FoldAsciiCase(c);
  return out;
}

// One tag: its lower-case name (with a leading '/' for an end tag) and its attributes.
struct Tag {
  std::u16string name;
  std::vector<std::pair<std::u16string, std::u16string>> attributes;
  std::u16string Attribute(std::u16string_view wanted) const {
    for (const auto& [name_, value] : attributes) {
      if (name_ == wanted) return value;
    }
    return {};
  }
  bool Has(std::u16string_view wanted) const {
    return std::any_of(attributes.begin(), attributes.end(), [&](const auto& a) { return a.first == wanted; });
  }
};

// Parses the tag starting at html[at] == '<'; returns the position after it.
std::size_t ReadTag(std::u16string_view html, std::size_t at, Tag& tag) {
  std::size_t i = at + 1;
  const std::size_t n = html.size();
  std::size_t start = i;
  while (i < n && !IsSpace(html[i]) && html[i] != u'>' && !(html[i] == u'/' && i > start)) ++i;
  tag.name = Lower(html.substr(start, i - start));
  while (i < n && html[i] != u'>') {
    while (i < n && (IsSpace(html[i]) || html[i] == u'/')) ++i;
    if (i >= n || html[i] == u'>') break;
    start = i;
    while (i < n && !IsSpace(html[i]) && html[i] != u'=' && html[i] != u'>') ++i;
    std::u16string name = Lower(html.substr(start, i - start));
    while (i < n && IsSpace(html[i])) ++i;
    std::u16string value;
    if (i < n && html[i] == u'=') {
      ++i;
      while (i < n && IsSpace(html[i])) ++i;
      if (i < n && (html[i] == u'"' || html[i] == u'\'')) {
        const char16_t quote = html[i++];
        start = i;
        while (i < n && html[i] != quote) ++i;
        value = std::u16string(html.substr(start, i - start));
        if (i < n) ++i;
      } else {
        start = i;
        while (i < n && !IsSpace(html[i]) && html[i] != u'>') ++i;
        value = std::u16string(html.substr(start, i - start));
      }
    }
    if (!name.empty()) tag.attributes.emplace_back(std::move(name), DecodeHtmlEntities(value));
  }
  return i < n ? i + 1 : n;
}

std::u16string CollapseSpace(std::u16string_view text) {
  std::u16string out;
  bool space = false;
  for (char16_t c : text) {
    if (IsSpace(c) || c == 0xA0) {
      space = !out.empty();
      continue;
    }
    if (space) out += u' ';
    space = false;
    out += c;
  }
  return out;
}

std::u16string_view SchemeOf(std::u16string_view address) {
  const auto colon = address.find(u':');
  if (colon == std::u16string_view::npos || colon == 0) return {};
  for (std::size_t i = 0; i < colon; ++i) {
    const char16_t c = address[i];
    const bool ok = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                    (i > 0 && ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.'));
    if (!ok) return {};
  }
  return address.substr(0, colon);
}

}  // namespace

std::u16string DecodeHtmlEntities(std::u16string_view text) {
  static const std::pair<std::u16string_view, char16_t> kNamed[] = {
      {u"amp", u'&'},  {u"lt", u'<'},     {u"gt", u'>'},   {u"quot", u'"'},  {u"apos", u'\''},
      {u"nbsp", 0xA0}, {u"middot", 0xB7}, {u"copy", 0xA9}, {u"laquo", 0xAB}, {u"raquo", 0xBB}};
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'&') {
      out += text[i];
      continue;
    }
    const auto semi = text.find(u';', i);
    if (semi == std::u16string_view::npos || semi - i > 10) {
      out += text[i];
      continue;
    }
    const std::u16string_view name = text.substr(i + 1, semi - i - 1);
    char32_t code = 0;
    bool known = false;
    if (!name.empty() && name[0] == u'#') {
      const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
      known = name.size() > (hex ? 2u : 1u);
      for (std::size_t k = hex ? 2 : 1; k < name.size() && known; ++k) {
        const char16_t c = name[k];
        int digit = -1;
        if (c >= u'0' && c <= u'9') digit = c - u'0';
        else if (hex && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
        else if (hex && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
        if (digit < 0 || code > 0x10FFFF) known = false;
        else code = code * (hex ? 16 : 10) + static_cast<char32_t>(digit);
      }
      if (known && (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))) code = 0xFFFD;
    } else {
      for (const auto& [entity, value] : kNamed) {
        if (name == entity) {
          code = value;
          known = true;
        }
      }
    }
    if (!known) {
      out += text[i];
      continue;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
    i = semi;
  }
  return out;
}

std::u16string ResolveAddress(std::u16string_view base, std::u16string_view reference) {
  while (!reference.empty() && IsSpace(reference.front())) reference.remove_prefix(1);
  while (!reference.empty() && IsSpace(reference.back())) reference.remove_suffix(1);
  while (!base.empty() && IsSpace(base.front())) base.remove_prefix(1);
  while (!base.empty() && IsSpace(base.back())) base.remove_suffix(1);
  if (reference.empty()) return std::u16string(base);
  // A drive path or a scheme of its own ("eevexo://", "http:", "C:\...") stands alone.
  if (reference.size() > 2 && reference[1] == u':' && (reference[2] == u'\\' || reference[2] == u'/')) {
    return std::u16string(reference);
  }
  if (!SchemeOf(reference).empty()) return std::u16string(reference);
  if (reference.front() == u'#') {
    return std::u16string(base.substr(0, base.find(u'#'))) + std::u16string(reference);
  }

  const bool windows_path = base.size() > 2 && base[1] == u':' && base[2] == u'\\';
  const char16_t separator = windows_path ? u'\\' : u'/';
  std::u16string root;  // scheme and authority, or the drive
  std::u16string path;
  if (windows_path) {
    root = std::u16string(base.substr(0, 2));
    path = std::u16string(base.substr(2));
  } else {
    // Without a scheme of its own the base cannot anchor anything: the reference stays as it is.
    const auto scheme_end = base.find(u"://");
    if (scheme_end == std::u16string_view::npos || scheme_end == 0 || SchemeOf(base).size() != scheme_end) {
      return std::u16string(reference);
    }
    const auto path_start = base.find(u'/', scheme_end + 3);
    root = std::u16string(base.substr(0, path_start == std::u16string_view::npos ? base.size() : path_start));
    path = path_start == std::u16string_view::npos ? u"/" : std::u16string(base.substr(path_start));
    path = path.substr(0, path.find_first_of(u"?#"));
  }
  std::u16string ref(reference);
  if (windows_path) std::replace(ref.begin(), ref.end(), u'/', u'\\');
  if (ref.size() >= 2 && ref[0] == u'/' && ref[1] == u'/' && !windows_path) {
    return std::u16string(base.substr(0, base.find(u':') + 1)) + ref;
  }
  std::u16string joined;
  if (ref.front() == separator) {
    joined = ref;
  } else {
    const auto last = path.rfind(separator);
    joined = (last == std::u16string::npos ? std::u16string(1, separator) : path.substr(0, last + 1)) + ref;
  }
  // Remove "." and ".." segments of the path part (not of the query).
  const auto query = joined.find_first_of(u"?#");
  std::u16string tail = query == std::u16string::npos ? u"" : joined.substr(query);
  std::u16string segments_text = joined.substr(0, query);
  std::vector<std::u16string> segments;
  std::size_t start = 1;
  while (start <= segments_text.size()) {
    auto end = segments_text.find(separator, start);
    if (end == std::u16string::npos) end = segments_text.size();
    const std::u16string segment = segments_text.substr(start, end - start);
    if (segment == u"..") {
      if (!segments.empty()) segments.pop_back();
      if (end == segments_text.size()) segments.emplace_back();
    } else if (segment == u".") {
      if (end == segments_text.size()) segments.emplace_back();
    } else {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::u16string normal;
  for (const auto& segment : segments) normal += separator + segment;
  if (normal.empty()) normal = std::u16string(1, separator);
  return root + normal + tail;
}

bool LooksLikeUtf8(std::string_view bytes) {
  const std::u16string decoded = Utf8ToUtf16(bytes);
  return decoded.find(u'\uFFFD') == std::u16string::npos || bytes.find("\xEF\xBF\xBD") != std::string_view::npos;
}

std::u16string DecodePageBytes(std::string_view bytes, bool (*is_utf8)(std::string_view)) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return Utf8ToUtf16(bytes.substr(3));
  const bool utf8 = is_utf8 ? is_utf8(bytes) : LooksLikeUtf8(bytes);
  return utf8 ? Utf8ToUtf16(bytes) : FromAnsi(bytes);
}

LinkPage ParseLinkPage(std::u16string_view html, std::u16string_view base) {
  LinkPage page;
  bool in_anchor = false;
  bool in_title = false;
  bool in_script = false;
  std::u16string script_end;  // "/script" or "/style": the only tag that counts inside
  PageLink current;
  std::u16string text;
  std::u16string title_text;
  std::size_t i = 0;
  while (i < html.size()) {
    if (html[i] != u'<') {
      const auto next = html.find(u'<', i);
      const std::u16string_view chunk =
          html.substr(i, next == std::u16string_view::npos ? std::u16string_view::npos : next - i);
      if (in_script) {
      } else if (in_anchor) {
        text += chunk;
      } else if (in_title) {
        title_text += chunk;
      }
      i = next == std::u16string_view::npos ? html.size() : next;
      continue;
    }
    if (html.substr(i, 4) == u"<!--") {
      const auto end = html.find(u"-->", i + 4);
      i = end == std::u16string_view::npos ? html.size() : end + 3;
      continue;
    }
    Tag tag;
    const std::size_t after = ReadTag(html, i, tag);
    if (in_script && tag.name != script_end) {
      i = i + 1;  // script text may hold '<': only its end tag counts
      continue;
    }
    i = after;
    if (tag.name == u"script" || tag.name == u"style") {
      in_script = true;
      script_end = u"/" + tag.name;
    } else if (in_script && tag.name == script_end) {
      in_script = false;
    } else if (tag.name == u"title") in_title = true;
    else if (tag.name == u"/title") in_title = false;
    else if (tag.name == u"a" && tag.Has(u"href")) {
      in_anchor = true;
      current = PageLink{ResolveAddress(base, tag.Attribute(u"href")), u"", tag.Attribute(u"title")};
      text.clear();
    } else if (tag.name == u"img" && in_anchor) {
      text += u" " + tag.Attribute(u"alt") + u" ";
    } else if (tag.name == u"/a" && in_anchor) {
      in_anchor = false;
      current.text = CollapseSpace(DecodeHtmlEntities(text));
      if (current.text.empty()) current.text = current.title.empty() ? current.href : current.title;
      page.links.push_back(std::move(current));
    }
  }
  if (in_anchor) {  // an anchor the page never closed still counts
    current.text = CollapseSpace(DecodeHtmlEntities(text));
    if (current.text.empty()) current.text = current.href;
    page.links.push_back(std::move(current));
  }
  page.title = CollapseSpace(DecodeHtmlEntities(title_text));
  return page;
}
