#include "play/ports/code_page.h"

#include "common/codepage.h"

std::string SystemCodePage::ToAnsi(std::u16string_view text) const { return ::ToAnsi(text); }
std::u16string SystemCodePage::FromAnsi(std::string_view bytes) const { return ::FromAnsi(bytes); }
bool SystemCodePage::IsDoubleByte(char16_t ch) const { return IsDoubleByteInAnsi(ch); }
