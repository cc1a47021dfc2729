#include "startedclock.h"

namespace tarvik::app {
namespace {

constexpr std::int64_t kSecondsPerDay = 86'400;

bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeap(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and
// back (the civil-from-days algorithms, in eras of 400 years).
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146'097 + doe - 719'468;
}

void civilFromDays(std::int64_t z, LocalTime& t) {
  z += 719'468;
  const std::int64_t era = (z >= 0 ? z : z - 146'096) / 146'097;
  const std::int64_t doe = z - era * 146'097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36'524 - doe / 146'096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2));
}

// The digits at text[at, at + count) as a number; -1 when one is not a digit.
int digits(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::optional<LocalTime> parseLocalTime(std::string_view text) {
  // "YYYY-MM-DD HH:MM:SS": the separators at their places, digits between.
  constexpr std::string_view kForm = "0000-00-00 00:00:00";
  if (text.size() != kForm.size()) return std::nullopt;
  for (std::size_t i = 0; i < kForm.size(); ++i) {
    if (kForm[i] != '0' && text[i] != kForm[i]) return std::nullopt;
  }
  const LocalTime t{digits(text, 0, 4),  digits(text, 5, 2),  digits(text, 8, 2),
                    digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2)};
  if (t.year < 0 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > daysInMonth(t.year, t.month)) {
    return std::nullopt;
  }
  if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59) {
    return std::nullopt;
  }
  return t;
}

LocalTime addSeconds(const LocalTime& t, std::int64_t seconds) {
  std::int64_t total = daysFromCivil(t.year, t.month, t.day) * kSecondsPerDay + t.hour * 3600 + t.minute * 60 +
                       t.second + seconds;
  std::int64_t days = total / kSecondsPerDay;
  std::int64_t inDay = total % kSecondsPerDay;
  if (inDay < 0) {
    inDay += kSecondsPerDay;
    --days;
  }
  LocalTime out;
  civilFromDays(days, out);
  out.hour = static_cast<int>(inDay / 3600);
  out.minute = static_cast<int>(inDay / 60 % 60);
  out.second = static_cast<int>(inDay % 60);
  return out;
}

StartedClock::StartedClock(const Clock& pace, const LocalTime& start)
    : pace_(pace), start_(start), startTick_(pace.tickMs()) {}

LocalTime StartedClock::now() const {
  // Unsigned difference: right across one wrap of the 32-bit tick.
  const std::uint32_t elapsedMs = pace_.tickMs() - startTick_;
  return addSeconds(start_, elapsedMs / 1000);
}

}  // namespace tarvik::app
