#include "engine/journal/usagetable.h"

#include <algorithm>
#include <cstdio>

#include "engine/journal/journaltime.h"

namespace tarvik {
namespace {

constexpr long long kBarWidth = 40;

std::string format(const char* pattern, auto... values) {
  char buf[256];
  std::snprintf(buf, sizeof buf, pattern, values...);
  return buf;
}

std::string destinationLabel(const DestinationTotal& d) {
  std::string label = d.destination;
  for (const std::string* part : {&d.name, &d.number}) {
    if (part->empty()) continue;
    if (!label.empty()) label += ' ';
    label += *part;
  }
  return label.empty() ? "(不明)" : label;
}

}  // namespace

std::string usageTable(const MonthSummary& s) {
  std::string out = format("利用状況 %04d-%02d\n\n", s.year, s.month);
  out += "日付          分\n";
  const long long most = std::max(1LL, *std::max_element(s.minutesPerDay.begin(), s.minutesPerDay.end()));
  for (std::size_t i = 0; i < s.minutesPerDay.size(); ++i) {
    const long long minutes = s.minutesPerDay[i];
    // The longest day fills the width; a record can give a day no more
    // than a month of minutes, so the product stays far within long long.
    const long long bar = minutes <= 0 ? 0 : std::max(1LL, minutes * kBarWidth / most);
    out += format("%04d-%02d-%02d %5lld ", s.year, s.month, static_cast<int>(i + 1), minutes) +
           std::string(static_cast<std::size_t>(bar), '#') + "\n";
  }
  out += format("合計       %5lld 分  接続 %d 回  失敗 %d 回  話中 %d 回\n", s.minutes, s.calls, s.failed,
                s.busy);
  out += format("従量       %5lld 分\n定額       %5lld 分\n", s.meteredMinutes(), s.flatMinutes);
  // One line a script can read: the label, a tab, the yen without separators.
  out += format("料金概算\t%lld円\n\n", s.yen);

  out += "接続先別      回    分      円\n";
  if (s.destinations.empty()) out += "(なし)\n";
  for (const DestinationTotal& d : s.destinations)
    out += format("          %5d %5lld %7lld  ", d.calls, d.minutes, d.yen) + destinationLabel(d) + "\n";

  out += format("\n着信 %zu 件 (不在 %d 件)\n", s.incoming.size(), s.missed);
  if (s.incoming.empty()) out += "(なし)\n";
  for (const JournalRecord& r : s.incoming) {
    out += formatJournalTime(r.start) + (r.missed() ? "  不在  " : "  応答  ");
    out += r.number.empty() ? std::string("(番号なし)") : r.number;
    if (!r.name.empty()) out += "  " + r.name;
    out += "\n";
  }
  return out;
}

bool parseYearMonth(const std::string& text, int& year, int& month) {
  if (text.size() != 7 || text[4] != '-') return false;
  for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u})
    if (text[i] < '0' || text[i] > '9') return false;
  year = std::stoi(text.substr(0, 4));
  month = std::stoi(text.substr(5, 2));
  return month >= 1 && month <= 12 && year >= 1;
}

}  // namespace tarvik
