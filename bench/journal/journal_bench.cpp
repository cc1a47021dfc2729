// What `tarvik --usage` and the window 利用状況 cost: reading a journal,
// summing up one month and printing its table. A month's summary costs the
// records and the days of that month, not the length a record claims: a
// year of calls, a journal with absurd records (year 125, minutes past an
// int, 0000 to 9999) and connections of a day to a month are compared.

#include <benchmark/benchmark.h>

#include <string>

#include "engine/journal/journalfile.h"
#include "engine/journal/journaltime.h"
#include "engine/journal/monthsummary.h"
#include "engine/journal/usagetable.h"

namespace tarvik {
namespace {

std::string line(const char* start, const char* end, long long minutes) {
  return std::string("outgoing,") + start + "," + end + ",B1,#0,Tarvik ISP,0312345678,203.0.113.9," +
         std::to_string(minutes) + ",\r\n";
}

// Three calls a day for a year, the last one over midnight.
std::string yearOfCalls() {
  std::string journal = journalHeader() + "\r\n";
  for (int day = 0; day < 365; ++day) {
    JournalRecord r;
    r.event = JournalEvent::Outgoing;
    r.destination = "#0";
    r.number = "0312345678";
    for (int hour : {9, 13, 23}) {
      r.start = fromJournalSeconds(journalSeconds({2026, 1, 1, hour, 0, 0}) + day * 86400LL);
      r.end = fromJournalSeconds(journalSeconds(r.start) + 90 * 60);
      r.minutes = 90;
      journal += journalLine(r) + "\r\n";
    }
  }
  return journal;
}

// A real month and thirty records a router's absurd counts once made, with
// the lines a damaged digit makes.
std::string absurdJournal() {
  std::string journal = journalHeader() + "\r\n" + line("2026-12-03 10:00:00", "2026-12-03 10:30:00", 30);
  for (int i = 0; i < 30; ++i) journal += line("0125-12-03 10:00:00", "2026-12-03 10:30:00", 999999999);
  journal += line("2026-12-04 10:00:00", "2026-12-04 11:00:00", 2000000000);
  journal += line("0000-01-01 00:00:00", "9999-12-31 23:59:59", 60);
  journal += line("2026-12-04 10:00:00", "6026-12-04 10:20:00", 20);
  return journal;
}

void usage(benchmark::State& state, const std::string& journal) {
  for (auto _ : state) {
    JournalReading reading;
    readJournalText(journal, kJournalFileName, reading);
    benchmark::DoNotOptimize(usageTable(summarizeMonth(reading.records, 2026, 12)));
  }
}

void BM_UsageOfAYearOfCalls(benchmark::State& state) { usage(state, yearOfCalls()); }
BENCHMARK(BM_UsageOfAYearOfCalls);

void BM_UsageOfAnAbsurdJournal(benchmark::State& state) { usage(state, absurdJournal()); }
BENCHMARK(BM_UsageOfAnAbsurdJournal);

// One connection of range(0) days, ending in the month summed up or
// beginning after it: the summary cuts only the month's days out of it.
void BM_MonthOfOneConnection(benchmark::State& state) {
  const long long days = state.range(0);
  JournalRecord r;
  r.event = JournalEvent::Outgoing;
  r.destination = "#0";
  r.end = LocalTime{2026, 12, 20, 10, 0, 0};
  r.start = fromJournalSeconds(journalSeconds(*r.end) - days * 86400);
  r.minutes = static_cast<int>(days * 1440);
  const std::vector<JournalRecord> records{r};
  for (auto _ : state) {
    benchmark::DoNotOptimize(summarizeMonth(records, 2026, 12));
    benchmark::DoNotOptimize(summarizeMonth(records, 2027, 6));
  }
}
BENCHMARK(BM_MonthOfOneConnection)->Arg(1)->Arg(7)->Arg(31);

}  // namespace
}  // namespace tarvik
