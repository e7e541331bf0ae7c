#pragma once
// FFmpeg's libraries are loaded when the control first decodes, not with the control: a
// program that makes the control at its start, if only to know that it is there, does not
// wait for a dozen megabytes of libraries it may not use for minutes. They load from the
// control's own folder, where they ship, wherever the program that uses it runs from.

// Every library is in the control's folder (a look at the files, nothing loaded).
bool DecodingLibrariesPresent();
// Loads the libraries the first time, and sends what they log to the debugger output; false
// when one of them cannot be loaded, and then nothing may call into them.
bool LoadDecodingLibraries();
