#pragma once
// Loudness applied to 16-bit samples before they go to the sound device, so that each
// control has its own volume whatever the system mixer does.
#include <cstddef>
#include <cstdint>

// Scales `count` samples in place for a volume of 0..100 (a square law, so that the lower half
// of the slider is not all near silence); muted or 0 is silence. Returns the loudest sample
// after scaling.
int ScalePcm16(std::int16_t* samples, std::size_t count, long volume, bool muted);

// The pitch of the first of `channels` interleaved channels in `count` samples at `rate`, in
// Hz, from the time between its first and last rising crossings of zero; 0 for silence or
// less than two periods.
int ToneOfPcm16(const std::int16_t* samples, std::size_t count, int channels, int rate);
