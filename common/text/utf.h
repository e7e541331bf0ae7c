#pragma once
// UTF-8 <-> UTF-16. Sources are UTF-8; the programs hold UTF-16 text and meet the
// system code page only at the OS boundary (see common/codepage.h).
#include <string>
#include <string_view>

// Malformed UTF-8 becomes U+FFFD, one per bad byte, so nothing is silently dropped.
std::u16string Utf8ToUtf16(std::string_view utf8);
// Lone surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// The longest start of `text` of at most `units` UTF-16 units that does not end in half of a
// surrogate pair (a field of fixed size must not cut a character in two).
std::u16string_view FitUtf16(std::u16string_view text, std::size_t units);
