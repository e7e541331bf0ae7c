#pragma once
// The one check for every address the programs hand to the shell or a browser: an http or
// https address with something after the scheme and no blank, quote or control character,
// which could otherwise end the address early or add switches to the program that opens it.
#include <string_view>

bool IsOpenableWebAddress(std::u16string_view address);
