#include "play/text/js_escape.h"

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

bool KeptAsIs(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'@' || c == u'*' ||
         c == u'_' || c == u'+' || c == u'-' || c == u'.' || c == u'/';
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// The value of `count` hex digits at text[at], or -1 when they are not all there.
int HexRun(std::u16string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return -1;
  int value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const int digit = HexValue(text[at + i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

}  // namespace

std::u16string JsEscape(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() * 3);
  // Works on UTF-16 units, so a character outside the BMP becomes its two surrogates.
  for (char16_t c : text) {
    if (KeptAsIs(c)) {
      out.push_back(c);
    } else if (c < 256) {
      out += u'%';
      out += kHexDigits[c >> 4];
      out += kHexDigits[c & 0xF];
    } else {
      out += u"%u";
      out += kHexDigits[(c >> 12) & 0xF];
      out += kHexDigits[(c >> 8) & 0xF];
      out += kHexDigits[(c >> 4) & 0xF];
      out += kHexDigits[c & 0xF];
    }
  }
  return out;
}

std::u16string JsUnescape(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'%') {
      if (i + 1 < text.size() && text[i + 1] == u'u') {
        const int value = HexRun(text, i + 2, 4);
        if (value >= 0) {
          out.push_back(static_cast<char16_t>(value));
          i += 5;
          continue;
        }
      }
      const int value = HexRun(text, i + 1, 2);
      if (value >= 0) {
        out.push_back(static_cast<char16_t>(value));
        i += 2;
        continue;
      }
    }
    // A '%' that starts no valid sequence stays as it is.
    out.push_back(text[i]);
  }
  return out;
}

std::u16string EscapeOnly(std::u16string_view text, std::u16string_view characters) {
  std::u16string out;
  for (char16_t c : text) {
    if (characters.find(c) == std::u16string_view::npos) {
      out += c;
    } else {
      out += {u'%', kHexDigits[(c >> 4) & 15], kHexDigits[c & 15]};
    }
  }
  return out;
}
