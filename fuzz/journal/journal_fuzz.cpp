// Tarvik-journal.csv as a crash, a full disk or a hand in a spreadsheet may
// have left it: any bytes. Reading never fails and keeps only records that
// survive a line of their own; the month summary of any month it touches
// adds up, and the usage table and the month's CSV stay within bounds.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/journal/journalfile.h"
#include "engine/journal/monthsummary.h"
#include "engine/journal/usagetable.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

// A tariff from the input's first bytes, within the ranges the settings keep.
tarvik::Tariff tariffOf(std::string_view input) {
  auto byte = [&](std::size_t i) { return i < input.size() ? static_cast<unsigned char>(input[i]) : 0; };
  tarvik::Tariff tariff;
  tariff.flatFrom = byte(0) % 24;
  tariff.flatTo = byte(1) % 24;
  tariff.unitSeconds = 1 + byte(2) * 14;
  tariff.yenPerUnit = byte(3);
  tariff.flatDestinations = {0, byte(4) % 16};
  return tariff;
}

// Every line ends in '\n'; none has more '#' than the bar's width.
void checkTable(const std::string& table) {
  check(table.empty() || table.back() == '\n');
  std::size_t from = 0;
  for (std::size_t end = table.find('\n'); end != std::string::npos; end = table.find('\n', from)) {
    const std::string_view line(table.data() + from, end - from);
    if (line.size() > 11 && line[4] == '-' && line[7] == '-' && line[10] == ' ')
      check(std::count(line.begin(), line.end(), '#') <= 40);
    from = end + 1;
  }
}

void checkMonth(const std::vector<tarvik::JournalRecord>& records, int year, int month,
                const tarvik::Tariff& tariff) {
  const tarvik::MonthSummary s = tarvik::summarizeMonth(records, year, month, tariff);
  long long days = 0, flatDays = 0, destinations = 0, claimed = 0;
  for (std::size_t i = 0; i < s.minutesPerDay.size(); ++i) {
    check(s.minutesPerDay[i] >= 0);
    check(s.flatMinutesPerDay[i] >= 0 && s.flatMinutesPerDay[i] <= s.minutesPerDay[i]);
    days += s.minutesPerDay[i];
    flatDays += s.flatMinutesPerDay[i];
  }
  for (const tarvik::DestinationTotal& d : s.destinations) destinations += d.minutes;
  for (const tarvik::JournalRecord& r : records)
    if (r.event == tarvik::JournalEvent::Outgoing) claimed += r.minutes;
  check(days == s.minutes && flatDays == s.flatMinutes && destinations == s.minutes);
  check(s.minutes <= claimed);  // no record gives a month more than its own minutes
  check(s.yen >= 0);
  checkTable(tarvik::usageTable(s));

  // The month's CSV reads back whole.
  tarvik::JournalReading again;
  tarvik::readJournalText(tarvik::monthCsv(records, year, month), "month.csv", again);
  check(again.damaged == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  tarvik::JournalReading reading;
  tarvik::readJournalText(input, "Tarvik-journal.csv", reading);
  for (const tarvik::JournalRecord& r : reading.records) {
    check(tarvik::plausibleRecord(r));
    const std::string line = tarvik::journalLine(r);
    const auto back = tarvik::parseJournalLine(line);
    check(back && tarvik::journalLine(*back) == line);
  }
  const tarvik::Tariff tariff = tariffOf(input);
  // The months the first records begin in, and one no record may touch.
  std::vector<std::pair<int, int>> months{{2026, 12}};
  for (const tarvik::JournalRecord& r : reading.records) {
    if (months.size() == 4) break;
    months.emplace_back(r.start.year, r.start.month);
  }
  for (const auto& [year, month] : months) checkMonth(reading.records, year, month, tariff);
  return 0;
}
