#include "engine/journal/tariff.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "engine/journal/journaltime.h"

namespace tarvik {
namespace {

constexpr long long kDay = 86400;
constexpr long long kHour = 3600;
constexpr int kDestinations = 16;

long long dayStartOf(long long seconds) {
  const long long days = seconds / kDay - (seconds % kDay < 0 ? 1 : 0);
  return days * kDay;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// "#3" or "3" -> 3; -1 for anything that is not a destination number.
int destinationNumber(std::string_view text) {
  text = trimmed(text);
  if (!text.empty() && text.front() == '#') text.remove_prefix(1);
  if (text.empty() || text.size() > 2) return -1;
  int value = -1;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 0 || value >= kDestinations) return -1;
  return value;
}

}  // namespace

bool Tariff::hasFlatRate(std::string_view destination) const {
  const int number = destinationNumber(destination);
  return number >= 0 &&
         std::find(flatDestinations.begin(), flatDestinations.end(), number) != flatDestinations.end();
}

bool Tariff::flatHour(int hour) const {
  if (flatFrom == flatTo) return false;
  if (flatFrom < flatTo) return hour >= flatFrom && hour < flatTo;
  return hour >= flatFrom || hour < flatTo;
}

Tariff tariffOf(const SettingsStore& settings) {
  const auto& t = settings.tariff;
  Tariff tariff;
  tariff.unitSeconds = t.UNIT;
  tariff.yenPerUnit = t.YEN;
  tariff.flatFrom = t.FLATFROM;
  tariff.flatTo = t.FLATTO;
  tariff.flatDestinations = parseFlatDestinations(t.FLATDEST);
  return tariff;
}

std::vector<int> parseFlatDestinations(std::string_view text) {
  std::vector<int> numbers;
  while (true) {
    const std::size_t comma = text.find(',');
    const int number = destinationNumber(text.substr(0, comma));
    if (number >= 0 && std::find(numbers.begin(), numbers.end(), number) == numbers.end())
      numbers.push_back(number);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return numbers;
}

std::vector<ClockStretch> clockStretches(const JournalRecord& record, const Tariff& tariff) {
  return clockStretches(record, tariff, std::numeric_limits<long long>::min(),
                        std::numeric_limits<long long>::max());
}

std::vector<ClockStretch> clockStretches(const JournalRecord& record, const Tariff& tariff, long long from,
                                         long long to) {
  const long long start = journalSeconds(record.start);
  const long long end = record.end ? std::max(journalSeconds(*record.end), start) : start;
  auto flatAt = [&](long long seconds) {
    return tariff.flatHour(static_cast<int>((seconds - dayStartOf(seconds)) / kHour));
  };
  if (end == start) {
    if (start < from || start >= to) return {};
    return {{start, start, flatAt(start)}};
  }
  std::vector<ClockStretch> stretches;
  const long long last = std::min(end, to);
  for (long long at = std::max(start, from); at < last;) {
    const long long day = dayStartOf(at);
    long long next = std::min(last, day + kDay);
    for (int hour : {tariff.flatFrom, tariff.flatTo}) {
      const long long cut = day + hour * kHour;
      if (cut > at) next = std::min(next, cut);
    }
    stretches.push_back({at, next, flatAt(at)});
    at = next;
  }
  return stretches;
}

CallCost callCost(const JournalRecord& record, const Tariff& tariff) {
  CallCost cost;
  if (record.event != JournalEvent::Outgoing) return cost;
  const bool flatRate = tariff.hasFlatRate(record.destination);
  const std::vector<ClockStretch> stretches = clockStretches(record, tariff);
  for (const ClockStretch& s : stretches)
    (s.flatHours && flatRate ? cost.freeSeconds : cost.meteredSeconds) += s.to - s.from;
  const long long unit = std::max(1, tariff.unitSeconds);
  cost.units = static_cast<int>((cost.meteredSeconds + unit - 1) / unit);
  const ClockStretch& first = stretches.front();
  if (first.to == first.from && stretches.size() == 1 && !(first.flatHours && flatRate)) cost.units = 1;
  cost.yen = static_cast<long long>(cost.units) * tariff.yenPerUnit;
  return cost;
}

}  // namespace tarvik
