#pragma once
// Titles, episode labels and media addresses travel inside links and list files in the form
// of the script function escape(). These give exactly the results of the script functions
// escape and unescape, without evaluating any script, so quotes and line breaks are plain text.
#include <string>
#include <string_view>

std::u16string JsEscape(std::u16string_view text);
std::u16string JsUnescape(std::u16string_view text);

// Only the characters in `characters` (all below U+0100) escaped, as escape() writes them
// ("%7C" for "|"); everything else stays as it is. For texts that must not carry a separator
// into the format they are put in, and still read back with JsUnescape.
std::u16string EscapeOnly(std::u16string_view text, std::u16string_view characters);

// A text the program puts into a private link or a page address it builds: "&" and ":" escaped,
// so a text from the site can neither add fields to an eevexo:// link nor carry a private
// scheme into an address that a pane hands back to the program. The catalogue's texts come
// escaped already and stay as they are.
inline std::u16string LinkField(std::u16string_view text) { return EscapeOnly(text, u"&:"); }
