#pragma once
// The Clock port for tests that drive timed behaviour (--clock-start): the
// local time starts at a given moment when the clock is made and runs on
// from there, at the pace of another clock's millisecond tick. The tick is
// the other clock's own.

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/ports/clock.h"

namespace tarvik::app {

class StartedClock : public Clock {
 public:
  StartedClock(const Clock& pace, const LocalTime& start);
  LocalTime now() const override;
  std::uint32_t tickMs() const override { return pace_.tickMs(); }

 private:
  const Clock& pace_;
  LocalTime start_;
  std::uint32_t startTick_;
};

// "YYYY-MM-DD HH:MM:SS" as a moment of the calendar; nothing when the text
// is not in that form or names no such day or time of day.
std::optional<LocalTime> parseLocalTime(std::string_view text);

// `t` moved on by `seconds` over the calendar (days, months, leap years).
LocalTime addSeconds(const LocalTime& t, std::int64_t seconds);

}  // namespace tarvik::app
