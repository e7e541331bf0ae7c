// The yardstick for start-up benchmarks: a Win32 program that starts and ends.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
