#pragma once
#include <string>

// The path's short (8.3) form when the volume has one, else the path as it is.
std::u16string ShortPathIfPossible(const std::u16string& path);
