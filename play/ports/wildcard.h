#pragma once
#include <string_view>

// File-name wildcard match as the Windows file functions do it: '*' any run, '?' one
// character, letters without regard to case, and "*.*" matching names without a dot too.
bool MatchesWildcard(std::u16string_view pattern, std::u16string_view name);
