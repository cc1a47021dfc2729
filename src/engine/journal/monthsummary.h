#pragma once
// One month of the call journal, summed up: minutes online per day and per
// destination, metered and at the flat rate, the estimated cost, the number
// of calls, failed and busy dials, and the incoming calls with the missed
// ones.

#include <string>
#include <vector>

#include "engine/journal/journalrecord.h"
#include "engine/journal/tariff.h"

namespace tarvik {

struct DestinationTotal {
  std::string destination;  // "#n", empty when unknown
  std::string name;
  std::string number;
  int calls = 0;
  long long minutes = 0;
  long long flatMinutes = 0;  // of minutes, those free under the flat rate
  long long yen = 0;          // the estimated cost of its calls
  long long meteredMinutes() const { return minutes - flatMinutes; }
};

struct MonthSummary {
  int year = 0, month = 0;
  std::vector<long long> minutesPerDay;        // [0] is the 1st
  std::vector<long long> flatMinutesPerDay;    // of those, free under the flat rate
  std::vector<DestinationTotal> destinations;  // most minutes first
  int calls = 0;                               // connections that began this month
  long long minutes = 0;                       // minutes online this month
  long long flatMinutes = 0;                   // of those, free under the flat rate
  long long yen = 0;                           // estimated cost of the calls begun this month
  long long meteredMinutes() const { return minutes - flatMinutes; }
  int failed = 0, busy = 0;
  std::vector<JournalRecord> incoming;  // in time order
  int missed = 0;
  int unreachable = 0;  // stretches without an answer from the router
};

// A connection that runs past midnight has its minutes shared out between
// the days it touched, in proportion to its time on each; in the same way
// between its metered and flat-rate stretches. Its cost counts in the month
// it began. Only the month's own days are cut out of a connection, and a
// record with figures no connection can have (plausibleRecord) is left out,
// so the work and the sums follow the month asked for. Minutes are summed
// in long long: a month of records at their longest stays far within it.
MonthSummary summarizeMonth(const std::vector<JournalRecord>& records, int year, int month,
                            const Tariff& tariff = {});

// The month as CSV (the journal's own columns), the records in time order.
std::string monthCsv(const std::vector<JournalRecord>& records, int year, int month);

}  // namespace tarvik
