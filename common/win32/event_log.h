#pragma once
// The event log that tests read: when the environment variable names a file, one line of
// UTF-8 is appended to it per event. Without the variable nothing is written.
#include <string_view>

void AppendEventLog(const wchar_t* variable, std::string_view line);
