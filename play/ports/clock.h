#pragma once
#include <cstdint>

// Local wall-clock time, field by field as the system reports it.
struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
  // Milliseconds from an arbitrary start; only differences mean anything.
  virtual std::uint64_t MonotonicMs() = 0;
};
