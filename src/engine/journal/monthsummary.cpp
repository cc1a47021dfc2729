#include "journal/monthsummary.h"

#include <algorithm>
#include <map>

#include "journal/journaltime.h"

namespace tarvik {
namespace {

bool inMonth(const LocalTime& t, int year, int month) { return t.year == year && t.month == month; }

struct DayShare {
  LocalTime day;  // time of day ignored
  int minutes;
};

// The record's minutes shared out over the days from its start to its end.
std::vector<DayShare> dayShares(const JournalRecord& r) {
  const long long start = journalSeconds(r.start);
  const long long end = r.end ? std::max(journalSeconds(*r.end), start) : start;
  if (end == start) return {{r.start, r.minutes}};
  std::vector<DayShare> shares;
  const long long total = end - start;
  int given = 0;
  long long from = start;
  while (from < end) {
    const long long nextDay = (from / 86400 + 1) * 86400;
    const long long to = std::min(end, nextDay);
    int minutes = static_cast<int>(static_cast<long long>(r.minutes) * (to - start) / total) - given;
    if (to == end) minutes = r.minutes - given;
    given += minutes;
    shares.push_back({fromJournalSeconds(from), minutes});
    from = to;
  }
  return shares;
}

bool earlier(const JournalRecord& a, const JournalRecord& b) {
  return journalSeconds(a.start) < journalSeconds(b.start);
}

}  // namespace

MonthSummary summarizeMonth(const std::vector<JournalRecord>& records, int year, int month) {
  MonthSummary s;
  s.year = year;
  s.month = month;
  s.minutesPerDay.assign(static_cast<std::size_t>(daysInMonth(year, month)), 0);
  std::map<std::string, DestinationTotal> byDestination;
  std::vector<std::string> order;
  for (const JournalRecord& r : records) {
    switch (r.event) {
      case JournalEvent::Outgoing: {
        const std::string key = r.destination + "\t" + r.name + "\t" + r.number;
        DestinationTotal* total = nullptr;
        auto totalFor = [&]() -> DestinationTotal& {
          if (!total) {
            auto [it, added] =
                byDestination.try_emplace(key, DestinationTotal{r.destination, r.name, r.number});
            if (added) order.push_back(key);
            total = &it->second;
          }
          return *total;
        };
        if (inMonth(r.start, year, month)) {
          ++s.calls;
          ++totalFor().calls;
        }
        for (const DayShare& share : dayShares(r)) {
          if (!inMonth(share.day, year, month)) continue;
          s.minutesPerDay[static_cast<std::size_t>(share.day.day - 1)] += share.minutes;
          s.minutes += share.minutes;
          totalFor().minutes += share.minutes;
        }
        break;
      }
      case JournalEvent::Incoming:
        if (!inMonth(r.start, year, month)) break;
        s.incoming.push_back(r);
        if (r.missed()) ++s.missed;
        break;
      case JournalEvent::Failed:
        if (inMonth(r.start, year, month)) ++s.failed;
        break;
      case JournalEvent::Busy:
        if (inMonth(r.start, year, month)) ++s.busy;
        break;
      case JournalEvent::Unreachable:
        if (inMonth(r.start, year, month)) ++s.unreachable;
        break;
    }
  }
  for (const std::string& key : order) s.destinations.push_back(byDestination[key]);
  std::stable_sort(
      s.destinations.begin(), s.destinations.end(),
      [](const DestinationTotal& a, const DestinationTotal& b) { return a.minutes > b.minutes; });
  std::stable_sort(s.incoming.begin(), s.incoming.end(), earlier);
  return s;
}

std::string monthCsv(const std::vector<JournalRecord>& records, int year, int month) {
  std::vector<JournalRecord> chosen;
  for (const JournalRecord& r : records) {
    const bool touches = inMonth(r.start, year, month) || (r.end && inMonth(*r.end, year, month));
    if (touches) chosen.push_back(r);
  }
  std::stable_sort(chosen.begin(), chosen.end(), earlier);
  std::string out = journalHeader() + "\r\n";
  for (const JournalRecord& r : chosen) out += journalLine(r) + "\r\n";
  return out;
}

}  // namespace tarvik
