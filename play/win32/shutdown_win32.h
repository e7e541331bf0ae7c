#pragma once
// Switches the computer off: the shutdown privilege first, then the exit request. Where the
// environment variable VEXO_SHUTDOWN_LOG names a file, the request is written there instead
// (tests: under Wine a real shutdown would end every program of the prefix).
void ShutdownComputer(bool force);
