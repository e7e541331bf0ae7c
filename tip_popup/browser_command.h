#pragma once
#include <optional>
#include <string>
#include <string_view>

// The browser to start for a link, from the default value of the http scheme's open command:
// the quoted program at the start of the value, or "IEXPLORE.EXE" when the value is missing
// or does not start with a quoted program. Registered arguments are dropped; the link is passed alone.
std::u16string BrowserProgram(const std::optional<std::u16string>& open_command);

// Whether a tip's link may be handed to the browser: IsOpenableWebAddress.
#include "common/text/web_address.h"
