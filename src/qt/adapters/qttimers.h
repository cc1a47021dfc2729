#pragma once
// The core's Timers port on QTimer: one timer per TimerId, each with the
// handler the core names after it (Timer1Timer, Timer2Timer, ...).

#include <QObject>
#include <QTimer>
#include <array>
#include <functional>

#include "engine/ports/timers.h"

namespace tarvik {

class QtTimers : public Timers {
 public:
  QtTimers();
  ~QtTimers() override;

  void setHandler(TimerId id, std::function<void()> handler);

  void start(TimerId id, int intervalMs, bool singleShot) override;
  void stop(TimerId id) override;
  bool isActive(TimerId id) const override;

 private:
  static constexpr std::size_t kCount = static_cast<std::size_t>(TimerId::ExchangeWatchdog) + 1;
  std::array<QTimer, kCount> timers_;
  std::array<std::function<void()>, kCount> handlers_;
};

}  // namespace tarvik
