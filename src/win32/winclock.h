#pragma once
// The core's Clock port: the system's local time and its millisecond tick.

#include "engine/ports/clock.h"

namespace tarvik::win32 {

class WinClock : public Clock {
 public:
  LocalTime now() const override;
  std::uint32_t tickMs() const override;
};

}  // namespace tarvik::win32
