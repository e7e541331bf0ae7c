#pragma once
#include "play/ports/clock.h"

class Win32Clock final : public Clock {
 public:
  LocalTime Now() override;
  std::uint64_t MonotonicMs() override;
};
