#pragma once
// Subtitle files come in whatever encoding the tool or the person who made them used: UTF-8
// (with or without a BOM), UTF-16 with a BOM, and, for Chinese, GBK or Big5 without any
// mark. The encoding is found without asking: a BOM first, then strict UTF-8 validity, then
// a score of the most common characters in each of GBK and Big5. Anything else is read as
// Western (code page 1252), which turns every byte into something readable.
#include <string>
#include <string_view>

enum class TextEncoding { kUtf8, kUtf16Le, kUtf16Be, kGbk, kBig5, kWestern };

struct DetectedEncoding {
  TextEncoding encoding = TextEncoding::kUtf8;
  std::size_t bom_length = 0;  // bytes of a byte order mark to skip
};

DetectedEncoding DetectTextEncoding(std::string_view bytes);

// The Windows code page of a single- or double-byte encoding (936, 950, 1252), 0 for the
// Unicode ones.
int CodePageOf(TextEncoding encoding);

// The text as UTF-8, with no BOM, no NUL and with Windows and Mac line ends turned into LF.
std::string SubtitleTextToUtf8(std::string_view bytes);
