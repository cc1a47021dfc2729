#pragma once
// What the window "利用状況" shows, for both desktops: the months it offers,
// the chosen month's bars per day with their scale, the totals and cost,
// the rows per destination and of the incoming calls (the missed ones
// marked), the calls as copied and the month as saved. Computed once per
// reading and month from the call journal and the tariff; the toolkits only
// create the controls, fill them from here and draw.

#include <filesystem>
#include <string>
#include <vector>

#include "engine/journal/axisscale.h"
#include "engine/journal/journalrecord.h"
#include "engine/journal/monthsummary.h"
#include "engine/journal/tariff.h"

namespace tarvik::desktop {

// The window's fixed texts, the same on both desktops.
struct UsageTexts {
  static constexpr const char* title = "利用状況";
  static constexpr const char* monthLabel = "月";
  static constexpr const char* stacked = "従量・定額に分けて表示";
  static constexpr const char* reload = "再読込";
  static constexpr const char* copy = "着信一覧をコピー";
  static constexpr const char* save = "CSVで保存...";
  static constexpr const char* saveTitle = "CSVで保存";
  static constexpr const char* csvFilter = "CSV";
  static constexpr const char* destinationsCaption = "接続先別";
  static constexpr const char* incomingCaption = "着信 (不在着信は赤)";
  static constexpr const char* meteredSeries = "従量";
  static constexpr const char* flatSeries = "定額";
  static constexpr const char* singleSeries = "分";
  static constexpr const char* minuteAxis = "分";
};

// A colour as red, green and blue (0-255).
struct UsageColour {
  int red = 0, green = 0, blue = 0;
  bool operator==(const UsageColour&) const = default;
};
inline constexpr UsageColour kMeteredColour{0x2a, 0x6f, 0xb0};
inline constexpr UsageColour kFlatColour{0x4c, 0xa6, 0x5a};
inline constexpr UsageColour kMissedColour{0xc0, 0x00, 0x00};   // a missed call's row
inline constexpr UsageColour kMessageColour{0xaa, 0x00, 0x00};  // the message about the journal

struct YearMonth {
  int year = 0, month = 0;
  auto operator<=>(const YearMonth&) const = default;
  std::string key() const;  // "2026-12"
};

// One row of a list: its cells, and whether it is shown marked (a missed call).
struct UsageRow {
  std::vector<std::string> cells;
  bool missed = false;
};

// The chosen month, ready to be shown.
struct UsageMonthView {
  YearMonth month;
  std::string chartTitle;  // "2026年12月 日別接続時間"
  // Per day ([0] is the 1st): the label under its bar (the 1st and every
  // fifth day numbered, the others empty), the metered and flat-rate
  // minutes (stacked) and their sum (one bar).
  std::vector<std::string> dayLabels;
  std::vector<int> metered, flat, minutes;
  AxisScale scale;  // the minute axis: round steps from 0 over the longest day
  std::string totals, cost;
  std::vector<UsageRow> destinations, incoming;
};

class UsagePresenter {
 public:
  explicit UsagePresenter(std::filesystem::path configDir);

  // The list columns' headers.
  static const std::vector<std::string>& destinationHeaders();
  static const std::vector<std::string>& incomingHeaders();

  // Reads the journal again. The months offered are every month with a
  // record and the current one (today's).
  void reload(YearMonth today);
  // Sums up the month with the tariff; a month that is not offered yet
  // joins the offer.
  void showMonth(YearMonth month, const Tariff& tariff);

  // Newest first; monthIndex() is the shown month's place among them.
  const std::vector<YearMonth>& months() const { return months_; }
  int monthIndex() const;

  // What the reading met, for the user: the file that could not be read
  // and why, else the damaged lines skipped; empty when all was well.
  const std::string& message() const { return message_; }

  const UsageMonthView& view() const { return view_; }
  const MonthSummary& summary() const { return summary_; }

  // The month's incoming calls as tab-separated lines (time, 不在 or 応答,
  // number, name), each ending in "\n": what "copy" puts on the clipboard.
  std::string incomingText() const;
  // The month's records as CSV: a UTF-8 byte-order mark, the journal's
  // header and columns, CR LF line ends (what a spreadsheet expects).
  std::string csvBytes() const;
  // The name offered when saving: "Tarvik-usage-2026-12.csv".
  std::string csvFileName() const;
  // Writes csvBytes() to path, readable by its owner alone (it holds the
  // journal's telephone numbers), crash-safe; false when the file could not
  // be written whole or its folder is not there.
  bool saveCsv(const std::filesystem::path& path) const;

 private:
  std::filesystem::path configDir_;
  std::vector<JournalRecord> records_;
  std::vector<YearMonth> months_;
  std::string message_;
  MonthSummary summary_;
  UsageMonthView view_;
};

// Two of the view's text forms, shown alone in the tests.
std::string yenText(long long yen);                // "1,230 円"
std::string incomingTimeText(const LocalTime& t);  // "12/1 8:05"

}  // namespace tarvik::desktop
