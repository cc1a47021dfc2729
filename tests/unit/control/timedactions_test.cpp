#include "engine/control/timedactions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/base/sjis.h"

namespace tarvik {
namespace {

ChannelState channel(const std::string& status, const std::string& mode = "",
                     const std::string& number = "") {
  ChannelState c;
  c.text(ChannelState::StatusText) = toSjis(status);
  c.text(ChannelState::ConnectMode) = toSjis(mode);
  c.text(ChannelState::PhoneNumber) = number;
  return c;
}

TEST(ClockText, HourWithoutLeadingZeroTwoDigitMinute) {
  EXPECT_EQ(ClockText(7, 5), "7:05");
  EXPECT_EQ(ClockText(23, 1), "23:01");
  EXPECT_EQ(ClockText(0, 0), "0:00");
  EXPECT_EQ(ClockText(12, 59), "12:59");
}

TEST(LineFree, LooksAtB1StatusAndMode) {
  EXPECT_TRUE(LineFree(channel("空き")));
  EXPECT_TRUE(LineFree(channel("空き", "PPP")));
  EXPECT_FALSE(LineFree(channel("空き", "アナログ")));
  EXPECT_FALSE(LineFree(channel("接続中")));
  EXPECT_FALSE(LineFree(channel("")));
}

TEST(TimedDisconnect, Spares1840120Calls) {
  struct Case {
    std::string b1, b2;
    TimedDisconnect expected;
  } cases[] = {
      {"0312345678", "0398765432", TimedDisconnect::All},
      {"18401200000", "0398765432", TimedDisconnect::B2},
      {"0312345678", "1840120", TimedDisconnect::B1},
      {"1840120123", "1840120999", TimedDisconnect::None},
      {"", "", TimedDisconnect::All},
      {"184012", "01840120", TimedDisconnect::All},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TimedActions::disconnectFor(c.b1, c.b2), c.expected) << c.b1 << " / " << c.b2;
  }
}

// Runs ticks every `stepSeconds` from (h, m, s) for `count` ticks and lists
// what fired as "H:MM what".
struct Ticker {
  TimedActions actions;
  TimedSettings settings;
  bool lineFree = true;
  ChannelState b1 = channel("空き"), b2 = channel("空き");

  std::vector<std::string> ticks(int h, int m, int s, int stepSeconds, int count) {
    std::vector<std::string> fired;
    int t = (h * 60 + m) * 60 + s;
    for (int i = 0; i < count; ++i, t += stepSeconds) {
      int hour = (t / 3600) % 24, minute = (t / 60) % 60;
      TickPlan plan = actions.tick(hour, minute, lineFree, settings, b1, b2);
      std::string at = ClockText(hour, minute) + " ";
      if (plan.startupDial) fired.push_back(at + "startup");
      if (plan.flatRateSound) fired.push_back(at + "sound6");
      if (plan.timedDial) fired.push_back(at + "dial");
      if (plan.disconnectFired) fired.push_back(at + "disconnect");
      if (plan.warning) fired.push_back(at + "warning");
    }
    return fired;
  }
};

using Fired = std::vector<std::string>;

TEST(TimedActions, EachActionFiresOnceInItsMinute) {
  Ticker run;
  run.settings = {"23:01", "7:58", "7:55", false, true};
  // 22:59:30 to 23:02:30, every 5 s: twelve ticks fall into 23:01.
  EXPECT_EQ(run.ticks(22, 59, 30, 5, 37), (Fired{"23:00 sound6", "23:01 dial"}));
  // 7:54 to 7:59 the next morning.
  EXPECT_EQ(run.ticks(7, 54, 0, 5, 72), (Fired{"7:55 warning", "7:58 disconnect"}));
}

TEST(TimedActions, MidnightAndLeadingZeros) {
  Ticker run;
  run.settings = {"0:00", "00:01", "", false, true};
  // The OFF time with a leading zero never matches; an empty time never fires.
  EXPECT_EQ(run.ticks(23, 59, 50, 5, 30), (Fired{"23:59 sound6", "0:00 dial"}));
}

TEST(TimedActions, SameMinuteOnlyTheFirstThatCanFire) {
  Ticker free;
  free.settings = {"23:30", "", "23:30", false, true};
  EXPECT_EQ(free.ticks(23, 29, 55, 5, 6), (Fired{"23:29 sound6", "23:30 dial"}));

  Ticker busy;
  busy.lineFree = false;
  busy.settings = free.settings;
  EXPECT_EQ(busy.ticks(23, 29, 55, 5, 6), (Fired{"23:29 sound6", "23:30 warning"}));
}

TEST(TimedActions, ConnectSkippedForABusyLineIsRetriedWithinTheMinuteOnly) {
  Ticker run;
  run.settings = {"21:00", "", "", false, true};
  run.lineFree = false;
  EXPECT_EQ(run.ticks(21, 0, 0, 20, 2), Fired{});
  run.lineFree = true;
  EXPECT_EQ(run.ticks(21, 0, 40, 20, 1), Fired{"21:00 dial"});

  Ticker late;
  late.settings = run.settings;
  late.lineFree = false;
  EXPECT_EQ(late.ticks(21, 0, 0, 30, 2), Fired{});
  late.lineFree = true;
  EXPECT_EQ(late.ticks(21, 1, 0, 30, 2), Fired{});
}

TEST(TimedActions, JigenOffKeepsTheWarning) {
  Ticker run;
  run.settings = {"", "7:58", "7:58", false, false};
  EXPECT_EQ(run.ticks(7, 58, 0, 5, 3), Fired{"7:58 warning"});
}

TEST(TimedActions, DisconnectDecidesByNumbers) {
  Ticker run;
  run.settings = {"", "7:58", "", false, true};
  run.b1 = channel("接続中", "PPP", "1840120555");
  run.b2 = channel("接続中", "PPP", "0312345678");
  TickPlan plan = run.actions.tick(7, 58, false, run.settings, run.b1, run.b2);
  EXPECT_TRUE(plan.disconnectFired);
  EXPECT_EQ(plan.disconnect, TimedDisconnect::B2);
  EXPECT_TRUE(plan.suppressPoll());
}

TEST(TimedActions, StartupConnectOnlyOnTheFirstNightTickWithB1Free) {
  struct Case {
    int hour;
    bool startupConnect, lineFree, expected;
  } cases[] = {
      {23, true, true, true},  {2, true, true, true},    {7, true, true, true},    {8, true, true, false},
      {12, true, true, false}, {23, false, true, false}, {23, true, false, false},
  };
  for (const Case& c : cases) {
    Ticker run;
    run.settings.startupConnect = c.startupConnect;
    run.lineFree = c.lineFree;
    Fired fired = run.ticks(c.hour, 30, 0, 5, 3);
    bool dialled = !fired.empty() && fired.front().ends_with("startup");
    EXPECT_EQ(dialled, c.expected) << c.hour;
    EXPECT_LE(std::count_if(fired.begin(), fired.end(), [](auto& f) { return f.ends_with("startup"); }), 1);
  }
}

TEST(TimedActions, StripAndFlatRateSoundOverANight) {
  Ticker run;
  std::vector<std::string> strip;
  for (auto [h, m] : {std::pair{22, 59}, {23, 0}, {7, 59}, {8, 0}}) {
    strip.push_back(run.actions.tick(h, m, true, run.settings, run.b1, run.b2).night ? "night" : "day");
  }
  EXPECT_EQ(strip, (std::vector<std::string>{"day", "night", "night", "day"}));

  // Started after midnight: no sound that night; the next night it plays once.
  Ticker late;
  EXPECT_EQ(late.ticks(0, 30, 0, 600, 6 * 24), (Fired{"23:00 sound6"}));
}

}  // namespace
}  // namespace tarvik
