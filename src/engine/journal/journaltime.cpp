#include "engine/journal/journaltime.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace tarvik {
namespace {

bool number(std::string_view text, std::size_t pos, std::size_t len, int& out) {
  out = 0;
  for (std::size_t i = pos; i < pos + len; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    out = out * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

std::string formatJournalTime(const LocalTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return buf;
}

std::optional<LocalTime> parseJournalTime(std::string_view text) {
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':')
    return std::nullopt;
  LocalTime t;
  if (!number(text, 0, 4, t.year) || !number(text, 5, 2, t.month) || !number(text, 8, 2, t.day) ||
      !number(text, 11, 2, t.hour) || !number(text, 14, 2, t.minute) || !number(text, 17, 2, t.second))
    return std::nullopt;
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > daysInMonth(t.year, t.month) || t.hour > 23 ||
      t.minute > 59 || t.second > 59)
    return std::nullopt;
  return t;
}

long long journalSeconds(const LocalTime& t) {
  using namespace std::chrono;
  const sys_days day = year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)},
                                      std::chrono::day{static_cast<unsigned>(t.day)}};
  return static_cast<long long>(day.time_since_epoch().count()) * 86400 + t.hour * 3600 + t.minute * 60 +
         t.second;
}

LocalTime fromJournalSeconds(long long seconds) {
  using namespace std::chrono;
  long long days = seconds / 86400;
  long long rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    days -= 1;
  }
  const year_month_day ymd{sys_days{std::chrono::days{days}}};
  LocalTime t;
  t.year = static_cast<int>(ymd.year());
  t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  t.hour = static_cast<int>(rest / 3600);
  t.minute = static_cast<int>(rest / 60 % 60);
  t.second = static_cast<int>(rest % 60);
  return t;
}

int wholeMinutes(const LocalTime& start, const LocalTime& end) {
  const long long seconds = journalSeconds(end) - journalSeconds(start);
  return seconds < 0 ? 0 : static_cast<int>(seconds / 60);
}

int daysInMonth(int yearNumber, int monthNumber) {
  using namespace std::chrono;
  const year_month_day_last last{year{yearNumber} / month{static_cast<unsigned>(monthNumber)} /
                                 std::chrono::last};
  return static_cast<int>(static_cast<unsigned>(last.day()));
}

}  // namespace tarvik
