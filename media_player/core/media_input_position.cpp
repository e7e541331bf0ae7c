#include "media_player/core/media_input_position.h"

#include <limits>

std::optional<std::int64_t> SeekTarget(SeekFrom from, std::int64_t offset, std::int64_t position, std::int64_t size) {
  std::int64_t base = 0;
  switch (from) {
    case SeekFrom::kSizeQuery: return size >= 0 ? std::optional<std::int64_t>(size) : std::nullopt;
    case SeekFrom::kStart: base = 0; break;
    case SeekFrom::kCurrent: base = position; break;
    case SeekFrom::kEnd:
      if (size < 0) return std::nullopt;
      base = size;
      break;
  }
  if ((offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset)) return std::nullopt;
  const std::int64_t target = base + offset;
  if (target < 0) return std::nullopt;
  return target;
}
