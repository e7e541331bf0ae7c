#pragma once
// Where a seek of the demuxer's input lands: from the start, from where it is, or from the
// end (which needs the size), and the size itself when the demuxer asks for it.
#include <cstdint>
#include <optional>

enum class SeekFrom { kStart, kCurrent, kEnd, kSizeQuery };
// The new position, the size for kSizeQuery, or nothing when it cannot be told (no size yet,
// or before the start).
std::optional<std::int64_t> SeekTarget(SeekFrom from, std::int64_t offset, std::int64_t position, std::int64_t size);
