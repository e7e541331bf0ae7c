#include "play/native/ini_document.h"

namespace {

bool IsProfileSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

char16_t FoldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - u'a' + u'A');
  // Full-width Latin letters fold too, as the system's comparison does.
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0xFF41 + 0xFF21);
  if (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) return static_cast<char16_t>(c - 0x20);
  return c;
}

IniDocument::Line ParseLine(std::u16string_view raw) {
  IniDocument::Line line;
  line.text = std::u16string(raw);
  const std::u16string_view body = TrimProfileSpace(raw);
  if (!body.empty() && body.front() == u'[') {
    const auto close = body.rfind(u']');
    if (close != std::u16string_view::npos) {
      line.is_section = true;
      line.name = std::u16string(body.substr(1, close - 1));
      return line;
    }
  }
  const auto equals = body.find(u'=');
  if (equals == std::u16string_view::npos) {
    line.name = std::u16string(body);
  } else {
    line.name = std::u16string(TrimProfileSpace(body.substr(0, equals)));
    line.value = std::u16string(TrimProfileSpace(body.substr(equals + 1)));
  }
  return line;
}

}  // namespace

std::u16string_view TrimProfileSpace(std::u16string_view text) {
  while (!text.empty() && IsProfileSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsProfileSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

IniDocument IniDocument::Parse(std::u16string_view text, Encoding encoding) {
  IniDocument doc;
  doc.encoding_ = encoding;
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find(u'\n', start);
    if (end == std::u16string_view::npos) end = text.size();
    auto raw = text.substr(start, end - start);
    if (!raw.empty() && raw.back() == u'\r') raw.remove_suffix(1);
    doc.lines_.push_back(ParseLine(raw));
    start = end + 1;
  }
  return doc;
}

std::optional<std::size_t> IniDocument::FindSection(std::u16string_view section) const {
  section = TrimProfileSpace(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].is_section && EqualsNoCase(lines_[i].name, section)) return i;
  }
  return std::nullopt;
}

std::size_t IniDocument::SectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < lines_.size() && !lines_[i].is_section) ++i;
  return i;
}

std::optional<std::u16string> IniDocument::Find(std::u16string_view section, std::u16string_view key) const {
  key = TrimProfileSpace(key);
  const auto header = FindSection(section);
  if (!header || key.empty()) return std::nullopt;
  const std::size_t end = SectionEnd(*header);
  for (std::size_t i = *header + 1; i < end; ++i) {
    if (EqualsNoCase(lines_[i].name, key)) return lines_[i].value;
  }
  return std::nullopt;
}

bool IniDocument::Set(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
  section = TrimProfileSpace(section);
  key = TrimProfileSpace(key);
  // Leading blanks of a value are dropped on writing; trailing ones are kept in the file and
  // only trimmed when read.
  while (!value.empty() && IsProfileSpace(value.front())) value.remove_prefix(1);

  auto header = FindSection(section);
  if (!header) {
    Line head;
    head.text = u"[" + std::u16string(section) + u"]";
    head.is_section = true;
    head.name = std::u16string(section);
    lines_.push_back(std::move(head));
    header = lines_.size() - 1;
  }
  const std::size_t end = SectionEnd(*header);
  std::size_t insert_at = *header + 1;
  for (std::size_t i = *header + 1; i < end; ++i) {
    Line& line = lines_[i];
    if (EqualsNoCase(line.name, key)) {
      if (line.value && *line.value == value) {
        // Same value: leave the line as it stands.
        return false;
      }
      line.text = line.name + u"=" + std::u16string(value);
      line.value = std::u16string(TrimProfileSpace(value));
      return true;
    }
    // A new key goes after the last non-blank line of the section.
    if (!TrimProfileSpace(line.text).empty()) insert_at = i + 1;
  }
  Line entry;
  entry.name = std::u16string(key);
  entry.value = std::u16string(TrimProfileSpace(value));
  entry.text = entry.name + u"=" + std::u16string(value);
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at), std::move(entry));
  return true;
}

std::u16string IniDocument::Text() const {
  std::u16string out;
  for (const Line& line : lines_) {
    out += line.text;
    out += u"\r\n";
  }
  return out;
}
