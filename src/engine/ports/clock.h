#pragma once
#include <cstdint>

namespace tarvik {

struct LocalTime {
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime now() const = 0;
  // A millisecond tick that only moves forward (may wrap in 32 bits).
  virtual std::uint32_t tickMs() const = 0;
};

}  // namespace tarvik
