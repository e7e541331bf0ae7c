// Host-build stand-in for the system code page, over iconv. The code page defaults to 936,
// the one of the target systems, so the native tests see the same bytes as Windows does;
// VEXO_ANSI_CODEPAGE names another one (any iconv name, e.g. CP1252).
#include <iconv.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "common/codepage.h"

namespace {

const char* CodePageName() {
  const char* name = std::getenv("VEXO_ANSI_CODEPAGE");
  return name && *name ? name : "CP936";
}

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts one unit; false when the input cannot be converted.
  bool Convert(const char* in, std::size_t in_size, std::string& out) {
    char buffer[16];
    char* in_ptr = const_cast<char*>(in);
    char* out_ptr = buffer;
    std::size_t out_left = sizeof buffer;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd_, &in_ptr, &in_size, &out_ptr, &out_left) == static_cast<std::size_t>(-1) || in_size != 0) {
      return false;
    }
    out.append(buffer, static_cast<std::size_t>(out_ptr - buffer));
    return true;
  }

 private:
  iconv_t cd_;
};

// Opening a converter costs far more than a conversion: each thread keeps the ones it opened.
Converter& CachedConverter(const char* to, const char* from) {
  thread_local std::map<std::pair<std::string, std::string>, std::unique_ptr<Converter>> converters;
  std::unique_ptr<Converter>& converter = converters[{to, from}];
  if (!converter) converter = std::make_unique<Converter>(to, from);
  return *converter;
}

std::string Utf16LeBytes(char16_t ch) { return std::string{static_cast<char>(ch & 0xFF), static_cast<char>(ch >> 8)}; }

}  // namespace

std::string ToAnsi(std::u16string_view text) {
  Converter& converter = CachedConverter(CodePageName(), "UTF-16LE");
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] < 0x80) {
      out.push_back(static_cast<char>(text[i]));
      continue;
    }
    std::string unit = Utf16LeBytes(text[i]);
    // A surrogate pair converts as one character; the code page has none of them anyway.
    if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size()) {
      unit += Utf16LeBytes(text[i + 1]);
      if (!converter.ok() || !converter.Convert(unit.data(), unit.size(), out)) out += '?';
      ++i;
      continue;
    }
    if (!converter.ok() || !converter.Convert(unit.data(), unit.size(), out)) out += '?';
  }
  return out;
}

namespace {

const char* IconvName(int code_page) {
  switch (code_page) {
    case 936: return "CP936";
    case 950: return "BIG5";
    case 1252: return "CP1252";
    default: return CodePageName();
  }
}

std::u16string FromNamedCodePage(const char* name, std::string_view bytes) {
  Converter& converter = CachedConverter("UTF-16LE", name);
  std::u16string out;
  std::size_t i = 0;
  while (i < bytes.size()) {
    // Every ANSI code page keeps ASCII as it is.
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      out.push_back(static_cast<char16_t>(bytes[i++]));
      continue;
    }
    std::string wide;
    // A lead byte takes its trail byte with it; try one byte first, then two.
    std::size_t used = 0;
    for (std::size_t n = 1; n <= 2 && i + n <= bytes.size(); ++n) {
      if (converter.ok() && converter.Convert(bytes.data() + i, n, wide)) {
        used = n;
        break;
      }
      wide.clear();
    }
    if (used == 0) {
      out.push_back(u'?');
      ++i;
      continue;
    }
    for (std::size_t k = 0; k + 1 < wide.size(); k += 2) {
      out.push_back(
          static_cast<char16_t>(static_cast<unsigned char>(wide[k]) | (static_cast<unsigned char>(wide[k + 1]) << 8)));
    }
    i += used;
  }
  return out;
}

}  // namespace

std::u16string FromAnsi(std::string_view bytes) { return FromNamedCodePage(CodePageName(), bytes); }
std::u16string FromCodePage(int code_page, std::string_view bytes) {
  return FromNamedCodePage(IconvName(code_page), bytes);
}

bool IsDoubleByteInAnsi(char16_t ch) { return ToAnsi(std::u16string_view(&ch, 1)).size() == 2; }
