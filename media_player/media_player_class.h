#pragma once
// The class id of the product's own player control, for play.exe and the tests.
#include <windows.h>

// {E1C24F98-0161-4903-919F-EAFC37068410}
inline constexpr CLSID kMediaPlayerClass = {
    0xE1C24F98, 0x0161, 0x4903, {0x91, 0x9F, 0xEA, 0xFC, 0x37, 0x06, 0x84, 0x10}};
