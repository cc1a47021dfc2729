#include "desktop/usagepresenter.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "engine/base/filebytes.h"
#include "engine/journal/journalfile.h"
#include "engine/journal/journaltime.h"

namespace tarvik::desktop {
namespace {

std::string format(const char* pattern, auto... values) {
  char buf[256];
  std::snprintf(buf, sizeof buf, pattern, values...);
  return buf;
}

std::string destinationText(const DestinationTotal& d) {
  std::string text;
  for (const std::string* part : {&d.destination, &d.name, &d.number}) {
    if (part->empty()) continue;
    if (!text.empty()) text += ' ';
    text += *part;
  }
  return text.empty() ? "(不明)" : text;
}

const char* answerText(const JournalRecord& r) { return r.missed() ? "不在" : "応答"; }

// The damaged lines the reading skipped, or the file it could not read
// (what was read is shown, but it is not the whole journal).
std::string messageOf(const JournalReading& reading) {
  if (reading.readFailed())
    return "通話記録 " + reading.unreadable + " を読めません（" + journalErrorText(reading.readError) + "）";
  if (reading.damaged == 0) return {};
  return format("通話記録の読めない行 %d 行を読み飛ばしました (最初の行: ", reading.damaged) +
         reading.firstDamaged + ")";
}

// A day's minutes as a bar's height. Only a journal of many calls at the
// same time can give a day more than the two channels' 2880 minutes; such
// a bar is drawn at a height that the two series still add up to in int.
int barMinutes(long long minutes) {
  constexpr long long kTallest = std::numeric_limits<int>::max() / 2;
  return static_cast<int>(std::clamp(minutes, 0LL, kTallest));
}

UsageMonthView viewOf(const MonthSummary& s) {
  UsageMonthView v;
  v.month = {s.year, s.month};
  v.chartTitle = format("%d年%d月 日別接続時間", s.year, s.month);
  int most = 0;
  for (std::size_t i = 0; i < s.minutesPerDay.size(); ++i) {
    const int day = static_cast<int>(i) + 1;
    v.dayLabels.push_back(day == 1 || day % 5 == 0 ? std::to_string(day) : std::string());
    v.metered.push_back(barMinutes(s.minutesPerDay[i] - s.flatMinutesPerDay[i]));
    v.flat.push_back(barMinutes(s.flatMinutesPerDay[i]));
    v.minutes.push_back(barMinutes(s.minutesPerDay[i]));
    most = std::max(most, v.minutes.back());
  }
  v.scale = roundAxisScale(most);
  v.totals = format("合計 %lld 分　接続 %d 回　失敗 %d 回　話中 %d 回　着信 %zu 件 (不在 %d 件)", s.minutes,
                    s.calls, s.failed, s.busy, s.incoming.size(), s.missed);
  v.cost =
      format("従量 %lld 分　定額 %lld 分　料金概算 ", s.meteredMinutes(), s.flatMinutes) + yenText(s.yen);
  for (const DestinationTotal& d : s.destinations) {
    v.destinations.push_back(
        {{destinationText(d), std::to_string(d.calls), std::to_string(d.minutes),
          std::to_string(d.meteredMinutes()), std::to_string(d.flatMinutes), yenText(d.yen)}});
  }
  for (const JournalRecord& r : s.incoming)
    v.incoming.push_back({{incomingTimeText(r.start), answerText(r), r.number, r.name}, r.missed()});
  return v;
}

}  // namespace

std::string YearMonth::key() const { return format("%04d-%02d", year, month); }

std::string yenText(long long yen) {
  std::string digits = std::to_string(yen < 0 ? -yen : yen);
  for (auto at = static_cast<long long>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<std::size_t>(at), ",");
  return (yen < 0 ? "-" : "") + digits + " 円";
}

std::string incomingTimeText(const LocalTime& t) {
  return format("%d/%d %d:%02d", t.month, t.day, t.hour, t.minute);
}

UsagePresenter::UsagePresenter(std::filesystem::path configDir) : configDir_(std::move(configDir)) {}

const std::vector<std::string>& UsagePresenter::destinationHeaders() {
  static const std::vector<std::string> headers{"接続先", "回数", "分", "従量(分)", "定額(分)", "料金概算"};
  return headers;
}

const std::vector<std::string>& UsagePresenter::incomingHeaders() {
  static const std::vector<std::string> headers{"日時", "結果", "番号", "名前"};
  return headers;
}

void UsagePresenter::reload(YearMonth today) {
  JournalReading reading = readJournal(configDir_);
  records_ = std::move(reading.records);
  message_ = messageOf(reading);
  months_ = {today};
  for (const JournalRecord& r : records_) months_.push_back({r.start.year, r.start.month});
  std::sort(months_.begin(), months_.end(), std::greater<>());
  months_.erase(std::unique(months_.begin(), months_.end()), months_.end());
}

void UsagePresenter::showMonth(YearMonth month, const Tariff& tariff) {
  const auto place = std::lower_bound(months_.begin(), months_.end(), month, std::greater<>());
  if (place == months_.end() || *place != month) months_.insert(place, month);
  summary_ = summarizeMonth(records_, month.year, month.month, tariff);
  view_ = viewOf(summary_);
}

int UsagePresenter::monthIndex() const {
  const auto found = std::find(months_.begin(), months_.end(), view_.month);
  return found == months_.end() ? -1 : static_cast<int>(found - months_.begin());
}

std::string UsagePresenter::incomingText() const {
  std::string text;
  for (const JournalRecord& r : summary_.incoming)
    text += formatJournalTime(r.start) + "\t" + answerText(r) + "\t" + r.number + "\t" + r.name + "\n";
  return text;
}

std::string UsagePresenter::csvBytes() const {
  return std::string(kUtf8Bom) + monthCsv(records_, view_.month.year, view_.month.month);
}

std::string UsagePresenter::csvFileName() const { return "Tarvik-usage-" + view_.month.key() + ".csv"; }

// The month holds the same telephone numbers as the journal: its owner
// alone may read it, and a crash leaves the old file or the new one whole.
// The folder was chosen in a save dialog; one gone meanwhile is not made.
bool UsagePresenter::saveCsv(const std::filesystem::path& path) const {
  std::error_code error;
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  if (!std::filesystem::is_directory(folder, error)) return false;
  return replaceFileBytes(path, csvBytes(), FileAccess::kOwnerOnly);
}

}  // namespace tarvik::desktop
