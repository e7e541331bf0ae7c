#include "media_player/core/subtitle_encoding.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "common/codepage.h"
#include "common/text/utf.h"

namespace {

// The hundred or so characters that make up most of any Chinese dialogue, with the full-width
// punctuation of subtitles, as GBK encodes the simplified forms and Big5 the traditional ones.
// Sorted, for a binary search.
constexpr std::array<std::uint16_t, 109> kCommonGbk = {
    0xa1a2, 0xa1a3, 0xa1b0, 0xa1b1, 0xa3a1, 0xa3ac, 0xa3ba, 0xa3bf, 0xb1be, 0xb2bb, 0xb2bf, 0xb3c9, 0xb3f6, 0xb4d3,
    0xb4f3, 0xb5ab, 0xb5b1, 0xb5bd, 0xb5c0, 0xb5c3, 0xb5c4, 0xb5d8, 0xb6a8, 0xb6af, 0xb6bc, 0xb6d4, 0xb6e0, 0xb6f8,
    0xb7a2, 0xb7a8, 0xb7bd, 0xb7d6, 0xb8f6, 0xb9fa, 0xb9fd, 0xbac3, 0xbacd, 0xbaf3, 0xbbb9, 0xbbe1, 0xbcd2, 0xbdf8,
    0xbead, 0xbecd, 0xbfaa, 0xbfb4, 0xbfc9, 0xc0b4, 0xc0ed, 0xc0ef, 0xc1cb, 0xc3b4, 0xc3bb, 0xc3c7, 0xc3e6, 0xc4c7,
    0xc4dc, 0xc4e3, 0xc4ea, 0xc6e4, 0xc6f0, 0xc7b0, 0xc8a5, 0xc8bb, 0xc8cb, 0xc8d5, 0xc8e7, 0xc9cf, 0xc9fa, 0xcab1,
    0xcab5, 0xcac2, 0xcac7, 0xcbb5, 0xcbf9, 0xcbfb, 0xcbfd, 0xccec, 0xcdac, 0xceaa, 0xced2, 0xcfc2, 0xcfd6, 0xcfeb,
    0xd0a1, 0xd0a9, 0xd0c4, 0xd0d0, 0xd1a7, 0xd1f9, 0xd2aa, 0xd2b2, 0xd2bb, 0xd2d4, 0xd2f2, 0xd3c3, 0xd3d0, 0xd3da,
    0xd4da, 0xd5e2, 0xd6ae, 0xd6bb, 0xd6d0, 0xd6d6, 0xd6f7, 0xd7c5, 0xd7d3, 0xd7d4, 0xd7f7};
constexpr std::array<std::uint16_t, 109> kCommonBig5 = {
    0xa141, 0xa142, 0xa143, 0xa147, 0xa148, 0xa149, 0xa175, 0xa176, 0xa440, 0xa446, 0xa448, 0xa455, 0xa457, 0xa45d,
    0xa46a, 0xa46c, 0xa470, 0xa4a3, 0xa4a4, 0xa4a7, 0xa4c0, 0xa4d1, 0xa4df, 0xa4e8, 0xa4e9, 0xa544, 0xa548, 0xa54c,
    0xa558, 0xa568, 0xa569, 0xa575, 0xa5bb, 0xa5cd, 0xa5ce, 0xa650, 0xa65d, 0xa661, 0xa662, 0xa668, 0xa66e, 0xa66f,
    0xa670, 0xa67e, 0xa6a8, 0xa6b3, 0xa6d3, 0xa6db, 0xa6e6, 0xa6fd, 0xa740, 0xa741, 0xa7da, 0xa853, 0xa8ba, 0xa8c6,
    0xa8c7, 0xa8d3, 0xa8e4, 0xa8ec, 0xa94d, 0xa977, 0xa9d2, 0xa9f3, 0xaa6b, 0xaaba, 0xab65, 0xabe1, 0xac4f, 0xacb0,
    0xacdd, 0xad6e, 0xadb1, 0xadcc, 0xadd3, 0xae61, 0xaec9, 0xafe0, 0xb05f, 0xb0ca, 0xb0ea, 0xb16f, 0xb171, 0xb27a,
    0xb27b, 0xb36f, 0xb3a1, 0xb3a3, 0xb44e, 0xb54d, 0xb56f, 0xb5db, 0xb669, 0xb67d, 0xb751, 0xb77c, 0xb7ed, 0xb867,
    0xb8cc, 0xb944, 0xb94c, 0xb9ea, 0xb9ef, 0xbad8, 0xbba1, 0xbbf2, 0xbccb, 0xbec7, 0xc1d9};

bool IsStrictUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    int length = 0;
    std::uint32_t point = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2, point = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3, point = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4, point = c & 0x07;
    } else {
      return false;
    }
    if (i + length > bytes.size()) return false;
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      point = (point << 6) | (next & 0x3F);
    }
    // No overlong forms, no surrogates, nothing past U+10FFFF.
    if ((length == 3 && point < 0x800) || (length == 4 && (point < 0x10000 || point > 0x10FFFF)) ||
        (point >= 0xD800 && point <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

// How many of the common characters `bytes` holds when read as a double-byte encoding whose
// second bytes are those `trail_ok` accepts; -1 when it cannot be that encoding: more than
// a quarter as many broken pairs as common characters (a few stray bytes of a damaged line
// leave a long text in its encoding, but Western text has no common characters at all).
template <typename TrailOk>
int CommonScore(std::string_view bytes, const std::array<std::uint16_t, 109>& common, TrailOk trail_ok) {
  int score = 0, broken = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) continue;
    if (lead == 0x80 || lead == 0xFF || i + 1 >= bytes.size() || !trail_ok(static_cast<unsigned char>(bytes[i + 1]))) {
      ++broken;
      continue;
    }
    const auto pair = static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(bytes[i + 1]));
    if (std::binary_search(common.begin(), common.end(), pair)) ++score;
    ++i;
  }
  return broken > 0 && broken * 4 > score ? -1 : score;
}

// UTF-16 without a BOM: text of Latin letters has a zero byte in every other place.
TextEncoding GuessUtf16(std::string_view bytes, bool* found) {
  std::size_t even_zeros = 0, odd_zeros = 0;
  const std::size_t n = std::min<std::size_t>(bytes.size() & ~std::size_t{1}, 4096);
  for (std::size_t i = 0; i < n; i += 2) {
    even_zeros += bytes[i] == 0;
    odd_zeros += bytes[i + 1] == 0;
  }
  *found = n >= 8 && (odd_zeros * 3 > n || even_zeros * 3 > n) &&
           (odd_zeros == 0 || even_zeros == 0 || std::max(odd_zeros, even_zeros) > 4 * std::min(odd_zeros, even_zeros));
  return odd_zeros > even_zeros ? TextEncoding::kUtf16Le : TextEncoding::kUtf16Be;
}

// UTF-16 bytes as text; an odd last byte is dropped.
std::u16string Utf16Units(std::string_view bytes, bool big_endian) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    const auto a = static_cast<unsigned char>(bytes[2 * i]), b = static_cast<unsigned char>(bytes[2 * i + 1]);
    units[i] = static_cast<char16_t>(big_endian ? (a << 8 | b) : (b << 8 | a));
  }
  return units;
}

}  // namespace

DetectedEncoding DetectTextEncoding(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return {TextEncoding::kUtf8, 3};
  if (bytes.substr(0, 2) == "\xFF\xFE") return {TextEncoding::kUtf16Le, 2};
  if (bytes.substr(0, 2) == "\xFE\xFF") return {TextEncoding::kUtf16Be, 2};
  bool utf16 = false;
  const TextEncoding wide = GuessUtf16(bytes, &utf16);
  if (utf16) return {wide, 0};
  if (IsStrictUtf8(bytes)) return {TextEncoding::kUtf8, 0};
  const int gbk = CommonScore(bytes, kCommonGbk, [](unsigned char t) { return t >= 0x40 && t != 0x7F && t != 0xFF; });
  const int big5 = CommonScore(bytes, kCommonBig5,
                               [](unsigned char t) { return (t >= 0x40 && t <= 0x7E) || (t >= 0xA1 && t <= 0xFE); });
  if (gbk < 0 && big5 < 0) return {TextEncoding::kWestern, 0};
  // Our users' own code page wins a tie.
  return {big5 > gbk ? TextEncoding::kBig5 : TextEncoding::kGbk, 0};
}

int CodePageOf(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kGbk: return 936;
    case TextEncoding::kBig5: return 950;
    case TextEncoding::kWestern: return 1252;
    default: return 0;
  }
}

std::string SubtitleTextToUtf8(std::string_view bytes) {
  const DetectedEncoding found = DetectTextEncoding(bytes);
  const std::string_view body = bytes.substr(found.bom_length);
  std::string text;
  switch (found.encoding) {
    // A BOM does not make the rest valid: bad bytes become U+FFFD, as the parsers want UTF-8.
    case TextEncoding::kUtf8: text = Utf16ToUtf8(Utf8ToUtf16(body)); break;
    case TextEncoding::kUtf16Le: text = Utf16ToUtf8(Utf16Units(body, false)); break;
    case TextEncoding::kUtf16Be: text = Utf16ToUtf8(Utf16Units(body, true)); break;
    default: text = Utf16ToUtf8(FromCodePage(CodePageOf(found.encoding), body)); break;
  }
  // CR LF and lone CR become LF; NUL bytes would end the text early for the parsers.
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] != '\0') {
      out += text[i];
    }
  }
  return out;
}
