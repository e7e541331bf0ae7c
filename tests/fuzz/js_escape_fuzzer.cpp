// escape() and unescape() as the pages' scripts compute them: equal to a plain model written
// from the language's definition, and unescape undoes escape for any text, lone surrogates
// included.
#include "play/text/js_escape.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr char16_t kHex[] = u"0123456789ABCDEF";

std::u16string ModelEscape(std::u16string_view text) {
  static const std::u16string_view kKept = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789@*_+-./";
  std::u16string out;
  for (char16_t c : text) {
    if (kKept.find(c) != std::u16string_view::npos) {
      out += c;
    } else if (c < 256) {
      out += {u'%', kHex[c >> 4], kHex[c & 15]};
    } else {
      out += {u'%', u'u', kHex[c >> 12], kHex[(c >> 8) & 15], kHex[(c >> 4) & 15], kHex[c & 15]};
    }
  }
  return out;
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The value of `count` hex digits at `at`, or -1.
long HexRun(std::u16string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return -1;
  long value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    const int digit = HexValue(text[i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

std::u16string ModelUnescape(std::u16string_view text) {
  std::u16string out;
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] == u'%') {
      if (k + 1 < text.size() && text[k + 1] == u'u') {
        if (const long unit = HexRun(text, k + 2, 4); unit >= 0) {
          out += static_cast<char16_t>(unit);
          k += 5;
          continue;
        }
      }
      if (const long unit = HexRun(text, k + 1, 2); unit >= 0) {
        out += static_cast<char16_t>(unit);
        k += 2;
        continue;
      }
    }
    out += text[k];
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  // The bytes as single code units (where '%' sequences are likely), and in pairs as UTF-16
  // code units of every value.
  std::u16string narrow(data, data + size);
  std::u16string wide;
  for (std::size_t i = 0; i + 1 < size; i += 2) wide += static_cast<char16_t>(data[i] | data[i + 1] << 8);

  for (const std::u16string& text : {narrow, wide}) {
    const std::u16string escaped = JsEscape(text);
    FUZZ_CHECK(escaped == ModelEscape(text));
    FUZZ_CHECK(JsUnescape(escaped) == text);
    FUZZ_CHECK(JsUnescape(text) == ModelUnescape(text));
  }
  return 0;
}
