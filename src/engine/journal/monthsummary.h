#pragma once
// One month of the call journal, summed up: minutes online per day and per
// destination, the number of calls, failed and busy dials, and the incoming
// calls with the missed ones.

#include <string>
#include <vector>

#include "journal/journalrecord.h"

namespace tarvik {

struct DestinationTotal {
  std::string destination;  // "#n", empty when unknown
  std::string name;
  std::string number;
  int calls = 0;
  int minutes = 0;
};

struct MonthSummary {
  int year = 0, month = 0;
  std::vector<int> minutesPerDay;              // [0] is the 1st
  std::vector<DestinationTotal> destinations;  // most minutes first
  int calls = 0;                               // connections that began this month
  int minutes = 0;                             // minutes online this month
  int failed = 0, busy = 0;
  std::vector<JournalRecord> incoming;  // in time order
  int missed = 0;
  int unreachable = 0;  // stretches without an answer from the router
};

// A connection that runs past midnight has its minutes shared out between
// the days it touched, in proportion to its time on each.
MonthSummary summarizeMonth(const std::vector<JournalRecord>& records, int year, int month);

// The month as CSV (the journal's own columns), the records in time order.
std::string monthCsv(const std::vector<JournalRecord>& records, int year, int month);

}  // namespace tarvik
