#pragma once
// Loudness applied to 16-bit samples before they go to the sound device, so that each
// control has its own volume whatever the system mixer does.
#include <cstddef>
#include <cstdint>

// Scales `count` samples in place for a volume of 0..100 (a square law, so that the lower half
// of the slider is not all near silence); muted or 0 is silence. Returns the loudest sample
// after scaling.
int ScalePcm16(std::int16_t* samples, std::size_t count, long volume, bool muted);
