#pragma once
// Small text procedures shared by the start-up, playback, list and chrome code.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "play/ports/code_page.h"

// Whole seconds as "mm:ss", or "h:mm:ss" once there are hours (75 -> "01:15", 3725 -> "1:02:05").
// A negative count, as a player reports before it knows, reads as 0.
std::u16string FormatPlayTime(long long seconds);

// The lines of a text as the system's line reading has them: CR LF, CR or LF ends a line; a
// final line without an end counts, an empty text has no lines.
std::vector<std::u16string> SplitLines(std::u16string_view text);

// Whether the address is a web address (http:// or https://, any case, with something after
// the scheme): the only addresses the program hands to the shell from what a site sends.
// Whether a media address from the content site may go to the player: an address with a
// scheme of its own ("http://", "https://", the maker's player's own), never a local file, a
// share or a "file:" address, which only the user may choose.
bool IsSiteMediaAddress(std::u16string_view media);

// Whether a Windows path names its place by itself: a drive's root ("X:\...") or a share
// ("\\host\share..."); not a relative path, a drive's current folder ("X:name", "\name"),
// nor the device namespaces ("\\.\", "\\?\").
bool IsFullWindowsPath(std::u16string_view path);

// The host (with its port, if any) of an address: what lies between "://" and the next '/'.
std::u16string HostOfAddress(std::u16string_view address);

// The text after the last backslash; the empty text when there is none.
std::u16string FileNameOfPath(std::u16string_view path);

// The text before the last '.'; the empty text when there is none.
std::u16string StripExtension(std::u16string_view name);

// The longest start of `text` whose width stays within `limit`, where a character that takes
// two bytes in the code page counts 2 and any other 1. Texts of at most limit / 2 characters
// come back whole.
std::u16string TruncateToByteWidth(std::u16string_view text, long long limit, const CodePage& code_page);

// The text between the first `start_marker` and the next `end_marker`: mode 1 keeps both
// markers, mode 2 drops them. Nothing when the positions cannot be found (see the cases in
// the tests) or the mode is neither 1 nor 2.
std::optional<std::u16string> TextBetween(std::u16string_view text, std::u16string_view start_marker,
                                          std::u16string_view end_marker, int mode);
