#pragma once
// The core's Timers port on SetTimer: WM_TIMER of the message window runs
// the handler the core names after each timer (Timer1Timer, ...).

#include <array>
#include <functional>

#include "win32/messagewindow.h"
#include "engine/ports/timers.h"

namespace tarvik::win32 {

class WinTimers : public Timers {
 public:
  explicit WinTimers(MessageWindow& window);
  ~WinTimers() override;
  WinTimers(const WinTimers&) = delete;
  WinTimers& operator=(const WinTimers&) = delete;

  void setHandler(TimerId id, std::function<void()> handler);

  void start(TimerId id, int intervalMs, bool singleShot) override;
  void stop(TimerId id) override;
  bool isActive(TimerId id) const override;

 private:
  static constexpr std::size_t kCount = static_cast<std::size_t>(TimerId::ExchangeWatchdog) + 1;
  struct Slot {
    UINT_PTR id = 0;
    bool active = false;
    bool singleShot = false;
    std::function<void()> handler;
  };
  void tick(Slot& slot);

  MessageWindow& window_;
  std::array<Slot, kCount> slots_;
};

}  // namespace tarvik::win32
