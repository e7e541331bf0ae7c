#pragma once
// Movie files live directly in the store folder, which is also VexoTip.exe's own folder, named
// after the last path segment of their address. The address comes from the server, so only a
// plain movie name is accepted: nothing the server sends may name the program, its skin or
// any other file there.
#include <string>
#include <string_view>

inline constexpr std::size_t kMaxMovieNameLength = 64;

// A plain name ending in ".swf" (any letter case) of ASCII letters, digits, '-', '_' and '.',
// at most 64 characters, with something before ".swf" and without "..".
bool IsAcceptedMovieName(std::string_view name);

// Store folder + the movie's name, or the empty text when the address gives no accepted name.
std::string MediaPathForUrl(std::string_view store_folder, std::string_view flash_url);

// The store folder as the library uses it: ending in a backslash (a host may leave it off).
std::string StoreFolderWithBackslash(std::string_view folder);

// Whether two paths name the same file, as Windows compares names (ASCII case folded, '/'
// as '\').
bool SamePath(std::string_view a, std::string_view b);
