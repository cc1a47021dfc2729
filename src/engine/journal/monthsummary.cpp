#include "engine/journal/monthsummary.h"

#include <algorithm>
#include <map>

#include "engine/journal/journaltime.h"

namespace tarvik {
namespace {

bool inMonth(const LocalTime& t, int year, int month) { return t.year == year && t.month == month; }

struct Share {
  LocalTime day;  // time of day ignored
  long long minutes;
  bool free;  // inside the flat-rate period, for a flat-rate destination
};

struct Window {
  long long from, to;  // journal seconds, to not included
};

Window monthWindow(int year, int month) {
  const LocalTime first{year, month, 1, 0, 0, 0};
  const LocalTime next =
      month == 12 ? LocalTime{year + 1, 1, 1, 0, 0, 0} : LocalTime{year, month + 1, 1, 0, 0, 0};
  return {journalSeconds(first), journalSeconds(next)};
}

// The record's minutes shared out over its stretches of the clock within
// the month, in proportion to their time: the minutes up to each cut are
// those of the whole in the same proportion, rounded down.
std::vector<Share> minuteShares(const JournalRecord& r, const Tariff& tariff, const Window& month) {
  const bool flatRate = tariff.hasFlatRate(r.destination);
  const std::vector<ClockStretch> stretches = clockStretches(r, tariff, month.from, month.to);
  const long long start = journalSeconds(r.start);
  const long long end = r.end ? std::max(journalSeconds(*r.end), start) : start;
  const long long total = end - start;
  auto minutesUpTo = [&](long long at) { return at >= end ? r.minutes : r.minutes * (at - start) / total; };
  std::vector<Share> shares;
  for (const ClockStretch& s : stretches) {
    const long long given = s.from == start ? 0 : minutesUpTo(s.from);
    shares.push_back({fromJournalSeconds(s.from), minutesUpTo(s.to) - given, s.flatHours && flatRate});
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
  const Window window = monthWindow(year, month);
  std::map<std::string, DestinationTotal> byDestination;
  std::vector<std::string> order;
  for (const JournalRecord& r : records) {
    // The reader refuses such records and reports them; one from anywhere
    // else is held to the same bound.
    if (!plausibleRecord(r)) continue;
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
        for (const Share& share : minuteShares(r, tariff, window)) {
          const auto day = static_cast<std::size_t>(share.day.day - 1);
          const long long free = share.free ? share.minutes : 0;
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
