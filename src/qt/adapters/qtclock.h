#pragma once
// The core's Clock port: local wall time and a monotonic millisecond tick.

#include <QElapsedTimer>

#include "engine/ports/clock.h"

namespace tarvik {

class QtClock : public Clock {
 public:
  QtClock();
  LocalTime now() const override;
  std::uint32_t tickMs() const override;

 private:
  QElapsedTimer sinceStart_;
};

}  // namespace tarvik
