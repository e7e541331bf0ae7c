#pragma once
// The system's ANSI code page (936 on the target systems). config.ini and the list files
// are stored in it, and display widths are measured in its bytes.
#include <string>
#include <string_view>

// Characters the code page cannot represent become '?', as the system converter does.
std::string ToAnsi(std::u16string_view text);
std::u16string FromAnsi(std::string_view bytes);
// Text of another code page (936 GBK, 950 Big5, 1252 Western...): a byte it cannot read
// becomes '?' on the host build and what the system's table says on Windows.
std::u16string FromCodePage(int code_page, std::string_view bytes);
// True when the character takes two bytes in the code page (a Chinese character under 936).
bool IsDoubleByteInAnsi(char16_t ch);
