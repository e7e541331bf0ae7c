#pragma once
// Replacing a file so that a crash or a power cut leaves either the old or the new content:
// the new content is written to a temporary file beside the target, under a name no other
// process or thread uses at the same time, then moved over the target in one step.
#include <string>
#include <string_view>

// ".~<process>-<thread>": appended to the target's path, it names the temporary file.
std::wstring TemporarySuffixOfThisThread();

// Puts the temporary file's content on the disk, then moves it over `to` and returns once the
// move itself is on the disk. False (and `to` as it was) when either step fails.
bool MoveOverDurably(const std::wstring& from, const std::wstring& to);
// The same for paths in the system code page, as the tips library is handed them.
bool MoveOverDurably(const std::string& from, const std::string& to);

// The two steps of MoveOverDurably apart, for a writer that still holds the file's handle
// (which saves opening it again) or that puts the content on the disk later: puts what was
// written through `file` on the disk; moves `from` over `to` in one step and returns once the
// move, not the content, is on the disk.
bool FlushToDisk(void* file);
bool MoveOverInOneStep(const std::string& from, const std::string& to);

// Writes `bytes` to a temporary file beside `target` and moves it over durably; false (and
// `target` as it was, no temporary left) when any step fails.
bool ReplaceFileDurably(const std::wstring& target, std::string_view bytes);
