#pragma once
// GUI-thread timers. Ticks come back to the core as calls of the handler
// named after the timer (Timer1Timer, Timer2Timer, TIMEMANTimer, ...).

namespace tarvik {

enum class TimerId {
  Timer1,            // poll tick, [OPTION] TIME seconds
  Timer2,            // one-second elapsed-time display
  TIMEMAN,           // 2500 ms one-shot log fetch
  ExchangeWatchdog,  // one-second check for exchanges that never end
};

// Every timer, for the wirings that give each its handler.
inline constexpr TimerId kTimerIds[] = {TimerId::Timer1, TimerId::Timer2, TimerId::TIMEMAN,
                                        TimerId::ExchangeWatchdog};

class Timers {
 public:
  virtual ~Timers() = default;
  virtual void start(TimerId id, int intervalMs, bool singleShot) = 0;
  virtual void stop(TimerId id) = 0;
  virtual bool isActive(TimerId id) const = 0;
};

}  // namespace tarvik
