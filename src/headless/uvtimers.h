#pragma once
// The core's Timers port on libuv timers: one per TimerId, each with the
// handler the core names after it (Timer1Timer, Timer2Timer, ...).

#include <array>
#include <functional>

#include "headless/eventloop.h"
#include "engine/ports/timers.h"

namespace tarvik::app {

class UvTimers : public Timers {
 public:
  explicit UvTimers(EventLoop& loop);
  ~UvTimers() override;
  UvTimers(const UvTimers&) = delete;
  UvTimers& operator=(const UvTimers&) = delete;

  void setHandler(TimerId id, std::function<void()> handler);

  void start(TimerId id, int intervalMs, bool singleShot) override;
  void stop(TimerId id) override;
  bool isActive(TimerId id) const override;

 private:
  static constexpr std::size_t kCount = static_cast<std::size_t>(TimerId::ExchangeWatchdog) + 1;
  struct Slot {
    uv_timer_t timer;
    std::function<void()> handler;
  };
  uv_loop_t* loop_;
  std::array<Slot*, kCount> slots_{};  // freed by the loop once closed
};

}  // namespace tarvik::app
