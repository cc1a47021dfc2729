#include "engine/journal/monthsummary.h"

#include <algorithm>
#include <map>

#include "engine/journal/journaltime.h"

namespace tarvik {
namespace {

bool inMonth(const LocalTime& t, int year, int month) { return t.year == year && t.month == month; }

struct Share {
  LocalTime day;  // time of day ignored
  int minutes;
  bool free;  // inside the flat-rate period, for a flat-rate destination
};

// The record's minutes shared out over its stretches of the clock, in
// proportion to their time: the minutes up to each cut are those of the
// whole in the same proportion, rounded down.
std::vector<Share> minuteShares(const JournalRecord& r, const Tariff& tariff) {
  const bool flatRate = tariff.hasFlatRate(r.destination);
  const std::vector<ClockStretch> stretches = clockStretches(r, tariff);
  const long long start = stretches.front().from;
  const long long total = stretches.back().to - start;
  std::vector<Share> shares;
  int given = 0;
  for (const ClockStretch& s : stretches) {
    const int upTo = &s == &stretches.back()
                         ? r.minutes
                         : static_cast<int>(static_cast<long long>(r.minutes) * (s.to - start) / total);
    shares.push_back({fromJournalSeconds(s.from), upTo - given, s.flatHours && flatRate});
    given = upTo;
  }
  return shares;
}

bool earlier(const JournalRecord& a, const JournalRecord& b) {
  return journalSeconds(a.start) < journalSeconds(b.start);
}

}  // namespace

MonthSummary summarizeMonth(const std::vector<JournalRecord>& records, int year, int month,
                            const Tariff& tariff) {
  MonthSummary s;
  s.year = year;
  s.month = month;
  s.minutesPerDay.assign(static_cast<std::size_t>(daysInMonth(year, month)), 0);
  s.flatMinutesPerDay = s.minutesPerDay;
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
          const long long yen = callCost(r, tariff).yen;
          ++s.calls;
          s.yen += yen;
          ++totalFor().calls;
          totalFor().yen += yen;
        }
        for (const Share& share : minuteShares(r, tariff)) {
          if (!inMonth(share.day, year, month)) continue;
          const auto day = static_cast<std::size_t>(share.day.day - 1);
          const int free = share.free ? share.minutes : 0;
          s.minutesPerDay[day] += share.minutes;
          s.flatMinutesPerDay[day] += free;
          s.minutes += share.minutes;
          s.flatMinutes += free;
          totalFor().minutes += share.minutes;
          totalFor().flatMinutes += free;
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
