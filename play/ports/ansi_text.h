#pragma once
// ANSI text files (system code page, CR LF), read and written whole through the ports.
#include <optional>
#include <string>
#include <string_view>

#include "play/ports/code_page.h"
#include "play/ports/files.h"

std::optional<std::u16string> ReadAnsiText(Files& files, const CodePage& code_page, std::u16string_view path);
bool ReplaceAnsiText(Files& files, const CodePage& code_page, std::u16string_view path, std::u16string_view text);
