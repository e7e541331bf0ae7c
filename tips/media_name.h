#pragma once
// Movie files live directly in the store folder, named after the last path segment of their
// address. The address comes from the server, so the name is checked before it becomes a path.
#include <string>
#include <string_view>

// True for a plain file name: not empty, no folder separators, no drive colon, no "..", and
// none of the characters Windows refuses in a name.
bool IsSafeMediaName(std::string_view name);

// Store folder + the movie's name, or the empty text when the address gives no safe name.
std::string MediaPathForUrl(std::string_view store_folder, std::string_view flash_url);

// True when `path` names a file directly inside `store_folder` (which ends in a backslash);
// only such files may be deleted for a dropped item.
bool IsInsideStoreFolder(std::string_view path, std::string_view store_folder);
