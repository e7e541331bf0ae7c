#pragma once
#include "play/ports/clock.h"

class StdClock final : public Clock {
 public:
  LocalTime Now() override;
  std::uint64_t MonotonicMs() override;
};
