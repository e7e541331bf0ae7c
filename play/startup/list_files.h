#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "play/ports/files.h"

// Fills `names` with the names of the files in `folder` that match `pattern` ("*.*", "*.htm"),
// in the order the file system gives them. True when at least one matched; when none did,
// `names` is left as it was.
bool ListFiles(Files& files, std::u16string_view folder, std::vector<std::u16string>& names,
               std::u16string_view pattern);
