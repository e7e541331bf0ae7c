#include "play/native/profile_strings_emulated.h"

#include <algorithm>

#include "play/native/ini_document.h"

namespace {

IniDocument Load(Files& files, const CodePage& code_page, std::u16string_view path) {
  auto bytes = files.ReadBytes(path);
  if (!bytes) return IniDocument::Parse(u"");
  const std::string& b = *bytes;
  if (b.size() >= 2 && static_cast<unsigned char>(b[0]) == 0xFF && static_cast<unsigned char>(b[1]) == 0xFE) {
    std::u16string text;
    for (std::size_t i = 2; i + 1 < b.size(); i += 2) {
      text.push_back(
          static_cast<char16_t>(static_cast<unsigned char>(b[i]) | (static_cast<unsigned char>(b[i + 1]) << 8)));
    }
    return IniDocument::Parse(text, IniDocument::Encoding::kUtf16Le);
  }
  return IniDocument::Parse(code_page.FromAnsi(b), IniDocument::Encoding::kAnsi);
}

std::string Encode(const IniDocument& doc, const CodePage& code_page) {
  const std::u16string text = doc.Text();
  if (doc.encoding() != IniDocument::Encoding::kUtf16Le) return code_page.ToAnsi(text);
  std::string out = "\xFF\xFE";
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

// Copies a value the way the system does: a value wrapped in matching single or double quotes
// loses them, and the copy is cut to size - 1 characters plus NUL.
std::size_t CopyValue(std::u16string_view value, char16_t* buffer, std::size_t size) {
  if (size == 0 || buffer == nullptr) return 0;
  bool quoted = false;
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()) {
    quoted = true;
    value.remove_prefix(1);
  }
  std::size_t count = std::min(value.size(), size - 1);
  std::copy_n(value.data(), count, buffer);
  buffer[count] = u'\0';
  if (quoted && size >= value.size() && count > 0) buffer[--count] = u'\0';
  return count;
}

}  // namespace

std::size_t EmulatedProfileStrings::GetString(std::u16string_view section, std::u16string_view key,
                                              std::u16string_view default_value, char16_t* buffer, std::size_t size,
                                              std::u16string_view path) {
  const IniDocument doc = Load(files_, code_page_, path);
  if (auto value = doc.Find(section, key)) return CopyValue(*value, buffer, size);
  // The default loses its trailing blanks.
  while (!default_value.empty() && default_value.back() == u' ') default_value.remove_suffix(1);
  return CopyValue(default_value, buffer, size);
}

bool EmulatedProfileStrings::WriteString(std::u16string_view section, std::u16string_view key,
                                         std::u16string_view value, std::u16string_view path) {
  IniDocument doc = Load(files_, code_page_, path);
  if (!doc.Set(section, key, value)) return true;
  return files_.ReplaceBytes(path, Encode(doc, code_page_));
}
