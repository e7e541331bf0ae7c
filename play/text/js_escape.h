#pragma once
// Titles, episode labels and media addresses travel inside links and list files in the form
// of the script function escape(). These give exactly the results of the script functions
// escape and unescape, without evaluating any script, so quotes and line breaks are plain text.
#include <string>
#include <string_view>

std::u16string JsEscape(std::u16string_view text);
std::u16string JsUnescape(std::u16string_view text);
