#pragma once
// A month of the call journal as a plain-text table (UTF-8), for
// `tarvik --usage`: minutes online per day with a bar, the metered and
// flat-rate minutes and the estimated cost, totals per destination with
// their cost, and the incoming calls, the missed ones marked.

#include <string>

#include "engine/journal/monthsummary.h"

namespace tarvik {

std::string usageTable(const MonthSummary& summary);

// "YYYY-MM" -> year and month; false for anything else.
bool parseYearMonth(const std::string& text, int& year, int& month);

}  // namespace tarvik
