#pragma once
// The time-of-day checks of each poll tick: day/night strip, the start-up
// connect inside the flat-rate night, the flat-rate sound, timed connect,
// timed disconnect (sparing "1840120" calls) and the warning.
//
// tick() only decides; the core carries the plan out in order, so the
// decisions stay testable without ports.

#include <string>

#include "engine/monitor/channelstate.h"

namespace tarvik {

// "7:05", "23:01": hour without a leading zero, two-digit minute.
std::string ClockText(int hour, int minute);

// B1 free: its status contains "空" and its mode does not contain "アナログ".
bool LineFree(const ChannelState& b1);

enum class TimedDisconnect { None, All, B1, B2 };

struct TimedSettings {
  std::string on, off, warning;  // [TIME] ON, OFF, WARNING (H:MM texts)
  bool startupConnect = false;   // the option of the same name
  bool jigen = true;             // JIGEN's check mark
};

struct TickPlan {
  bool night = false;          // strip green (23:00-7:59), else blue
  bool startupDial = false;    // first tick inside the night with B1 free
  bool flatRateSound = false;  // [SOUND] 6, once a night
  bool timedDial = false;      // [TIME] ON reached with B1 free
  TimedDisconnect disconnect = TimedDisconnect::None;
  bool disconnectFired = false;  // OFF reached (also when both calls are exempt)
  bool warning = false;          // panel red, [SOUND] 7
  // Any dial or disconnect above: the tick's own status poll is skipped.
  bool suppressPoll() const { return startupDial || timedDial || disconnectFired; }
};

class TimedActions {
 public:
  TickPlan tick(int hour, int minute, bool lineFree, const TimedSettings& settings, const ChannelState& b1,
                const ChannelState& b2);

  // Which channels a timed disconnect drops: a call to a number starting
  // with "1840120" is spared.
  static TimedDisconnect disconnectFor(const std::string& b1Number, const std::string& b2Number);

  // A new run: the first tick may dial at night, the flat-rate sound may
  // play again.
  void startRun() {
    FirstTickDone = false;
    FlatRateSoundDone = false;
  }

 private:
  std::string LastTimedAction;
  bool FirstTickDone = false;
  bool FlatRateSoundDone = false;
};

}  // namespace tarvik
