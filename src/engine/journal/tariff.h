#pragma once
// What an outgoing connection costs. The line is charged by time, per
// started unit, except within the flat-rate period for the destinations
// registered with the flat-rate service. A connection is cut by the clock
// into its flat-rate and metered stretches (at midnight and at both ends of
// the period); the metered ones together cost ceil(seconds / unit) units,
// counted per connection. Calls this side did not place cost nothing.

#include <string>
#include <string_view>
#include <vector>

#include "engine/journal/journalrecord.h"
#include "engine/settings/settingsstore.h"

namespace tarvik {

struct Tariff {
  int unitSeconds = 180;
  int yenPerUnit = 10;
  // The flat-rate period in whole hours of the clock, running over
  // midnight when it ends at an earlier hour than it begins; none when
  // both are the same hour.
  int flatFrom = 23, flatTo = 8;
  std::vector<int> flatDestinations;  // router destination numbers 0..15

  // Whether the destination ("#n", as the journal names it) has the flat rate.
  bool hasFlatRate(std::string_view destination) const;
  // Whether the hour (0..23) lies in the flat-rate period.
  bool flatHour(int hour) const;
};

// The tariff of the settings. Numbers outside their range have already
// fallen back to their defaults when the file was read.
Tariff tariffOf(const SettingsStore& settings);

// "0, 3,#5" -> {0, 3, 5}: numbers 0..15, each with or without '#',
// separated by commas; anything else in the list is left out.
std::vector<int> parseFlatDestinations(std::string_view text);

// A piece of a connection that lies within one day and wholly inside or
// wholly outside the flat-rate hours. Times in journal seconds.
struct ClockStretch {
  long long from = 0, to = 0;
  bool flatHours = false;
};

// The connection's time cut at midnight and at the ends of the flat-rate
// period, in order. A connection of no length (seen within one poll, or
// with the clock set back) is one stretch of no length at its start.
std::vector<ClockStretch> clockStretches(const JournalRecord& record, const Tariff& tariff);
// The same, only those within from..to (journal seconds), cut at both: a
// month's share of a connection costs that month's days, not the
// connection's. A connection of no length is there when its start is.
std::vector<ClockStretch> clockStretches(const JournalRecord& record, const Tariff& tariff, long long from,
                                         long long to);

struct CallCost {
  long long meteredSeconds = 0;
  long long freeSeconds = 0;  // inside the flat-rate period, for a flat-rate destination
  int units = 0;
  long long yen = 0;
};

// The cost of one journal record. A connection of no length still took a
// unit when it fell in metered time: the line charges the first unit on
// connecting, and the journal counts such a call as one minute online.
CallCost callCost(const JournalRecord& record, const Tariff& tariff);

}  // namespace tarvik
