#pragma once
#include <string>

// Starts the browser registered for http with the address as its only parameters.
void OpenInBrowser(const std::u16string& address);
