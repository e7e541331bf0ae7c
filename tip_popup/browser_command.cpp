#include "tip_popup/browser_command.h"

std::u16string BrowserProgram(const std::optional<std::u16string>& open_command) {
  constexpr std::u16string_view kFallback = u"IEXPLORE.EXE";
  // Only the usual form, a quoted program first, names a program; cutting an unquoted value
  // at a later quote would give a path that never exists.
  if (!open_command || open_command->size() < 2 || open_command->front() != u'"') return std::u16string(kFallback);
  const auto quote = open_command->find(u'"', 1);
  if (quote == std::u16string::npos) return std::u16string(kFallback);
  return open_command->substr(1, quote - 1);
}
