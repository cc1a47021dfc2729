#pragma once
// Times in the journal: local time as "YYYY-MM-DD HH:MM:SS", the way a
// spreadsheet reads it, and the seconds between two of them.

#include <optional>
#include <string>
#include <string_view>

#include "ports/clock.h"

namespace tarvik {

std::string formatJournalTime(const LocalTime& t);
// nullopt unless text is exactly that form with a real date and time.
std::optional<LocalTime> parseJournalTime(std::string_view text);

// Seconds from the civil epoch, for differences between two local times.
long long journalSeconds(const LocalTime& t);
LocalTime fromJournalSeconds(long long seconds);

// Started minutes of a stretch from start to end: any part of a minute
// counts as one, as the line is charged (so a stretch seen within one second
// is one minute); 0 when the clock went back in between.
int startedMinutes(const LocalTime& start, const LocalTime& end);

int daysInMonth(int year, int month);

}  // namespace tarvik
