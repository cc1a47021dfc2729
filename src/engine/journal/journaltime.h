#pragma once
// Times in the journal: local time as "YYYY-MM-DD HH:MM:SS", the way a
// spreadsheet reads it, and the seconds between two of them.

#include <optional>
#include <string>
#include <string_view>

#include "engine/ports/clock.h"

namespace tarvik {

std::string formatJournalTime(const LocalTime& t);
// nullopt unless text is exactly that form with a real date and time.
std::optional<LocalTime> parseJournalTime(std::string_view text);

// Seconds from the civil epoch, for differences between two local times.
long long journalSeconds(const LocalTime& t);
LocalTime fromJournalSeconds(long long seconds);

// Whole minutes of a stretch from start to end, as the status line's
// elapsed time and the router count them (2分 for 2 minutes 59 seconds);
// 0 when the clock went back in between.
int wholeMinutes(const LocalTime& start, const LocalTime& end);

int daysInMonth(int year, int month);

}  // namespace tarvik
