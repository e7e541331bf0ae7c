#include "play/ports/ansi_text.h"

std::optional<std::u16string> ReadAnsiText(Files& files, const CodePage& code_page, std::u16string_view path) {
  auto bytes = files.ReadBytes(path);
  if (!bytes) return std::nullopt;
  return code_page.FromAnsi(*bytes);
}

bool ReplaceAnsiText(Files& files, const CodePage& code_page, std::u16string_view path, std::u16string_view text) {
  return files.ReplaceBytes(path, code_page.ToAnsi(text));
}
