#pragma once
// The core's Clock port in plain C++: the local time from the C library,
// and a millisecond tick on the monotonic clock.

#include <chrono>

#include "engine/ports/clock.h"

namespace tarvik::app {

class LocalClock : public Clock {
 public:
  LocalTime now() const override;
  // Milliseconds since this clock was made, on a clock that setting the
  // wall clock (as the program itself may do) never moves; wraps in 32 bits.
  std::uint32_t tickMs() const override;

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace tarvik::app
