#pragma once
// The HTML page that shows a list in a pane: one row per entry, linking to open://n and
// delk://n, or the empty-list row.
#include <string>
#include <string_view>
#include <vector>

#include "play/ports/code_page.h"

// `lines` are all lines of the list file; `title_field` is 1 for date.dat and 0 for date_f.dat.
std::u16string BuildListPage(const std::vector<std::u16string>& lines, std::size_t title_field,
                             const CodePage& code_page);

// "&", "<", ">" and the double quote as character references.
std::u16string HtmlEscape(std::u16string_view text);
