#include "engine/control/timedactions.h"

#include "engine/base/bytes.h"
#include "engine/base/sjis.h"

namespace tarvik {

std::string ClockText(int hour, int minute) {
  std::string text = std::to_string(hour) + ":";
  if (minute < 10) text += '0';
  return text + std::to_string(minute);
}

bool LineFree(const ChannelState& b1) {
  static const std::string kAnalog = toSjis("アナログ");
  return showsFree(b1) && !contains(b1.text(ChannelState::ConnectMode), kAnalog);
}

TimedDisconnect TimedActions::disconnectFor(const std::string& b1Number, const std::string& b2Number) {
  constexpr std::string_view kExempt = "1840120";
  bool b1Exempt = b1Number.starts_with(kExempt);
  bool b2Exempt = b2Number.starts_with(kExempt);
  if (b1Exempt && b2Exempt) return TimedDisconnect::None;
  if (b1Exempt) return TimedDisconnect::B2;
  if (b2Exempt) return TimedDisconnect::B1;
  return TimedDisconnect::All;
}

TickPlan TimedActions::tick(int hour, int minute, bool lineFree, const TimedSettings& settings,
                            const ChannelState& b1, const ChannelState& b2) {
  TickPlan plan;
  const std::string clock = ClockText(hour, minute);

  plan.night = hour < 8 || hour > 22;
  if (!plan.night) {
    FlatRateSoundDone = false;
  } else if (!FirstTickDone && settings.startupConnect && lineFree) {
    plan.startupDial = true;
  }
  FirstTickDone = true;

  if (hour == 23 && !FlatRateSoundDone) {
    FlatRateSoundDone = true;
    plan.flatRateSound = true;
  }

  // The three timed actions share LastTimedAction: each fires at most once
  // in its minute, and of two set to the same minute only the first whose
  // other conditions hold.
  if (settings.on == clock && LastTimedAction != clock && lineFree) {
    LastTimedAction = clock;
    plan.timedDial = true;
  }
  if (settings.off == clock && LastTimedAction != clock && settings.jigen) {
    LastTimedAction = clock;
    plan.disconnectFired = true;
    plan.disconnect = disconnectFor(b1.text(ChannelState::PhoneNumber), b2.text(ChannelState::PhoneNumber));
  }
  if (settings.warning == clock && LastTimedAction != clock) {
    LastTimedAction = clock;
    plan.warning = true;
  }
  return plan;
}

}  // namespace tarvik
