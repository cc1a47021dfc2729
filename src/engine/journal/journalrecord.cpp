#include "engine/journal/journalrecord.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "engine/journal/csvline.h"
#include "engine/journal/journaltime.h"

namespace tarvik {
namespace {

constexpr std::size_t kColumns = 10;

struct EventName {
  JournalEvent event;
  std::string_view name;
};

constexpr std::array<EventName, 5> kEventNames{{
    {JournalEvent::Outgoing, "outgoing"},
    {JournalEvent::Incoming, "incoming"},
    {JournalEvent::Failed, "failed"},
    {JournalEvent::Busy, "busy"},
    {JournalEvent::Unreachable, "unreachable"},
}};

std::optional<JournalEvent> eventFromName(std::string_view name) {
  for (const EventName& e : kEventNames)
    if (e.name == name) return e.event;
  return std::nullopt;
}

}  // namespace

const std::string& journalHeader() {
  static const std::string header = "event,start,end,channel,destination,name,number,ip,minutes,result";
  return header;
}

std::string_view journalEventName(JournalEvent event) {
  for (const EventName& e : kEventNames)
    if (e.event == event) return e.name;
  return {};
}

std::string journalLine(const JournalRecord& r) {
  return joinCsvLine({std::string(journalEventName(r.event)), formatJournalTime(r.start),
                      r.end ? formatJournalTime(*r.end) : std::string(), r.channel, r.destination, r.name,
                      r.number, r.ip, std::to_string(r.minutes), r.result});
}

bool plausibleRecord(const JournalRecord& r) {
  if (r.event != JournalEvent::Outgoing) return true;
  constexpr long long kLongestSeconds = 60LL * kLongestConnectionMinutes;
  const bool spanFits = !r.end || journalSeconds(*r.end) - journalSeconds(r.start) <= kLongestSeconds;
  return r.minutes >= 0 && r.minutes <= kLongestConnectionMinutes && spanFits;
}

std::optional<JournalRecord> parseJournalLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  // Records hold no control characters; a line with one is a cut line
  // that the writer marked void (see JournalFile::append).
  if (std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
    return std::nullopt;
  auto fields = splitCsvLine(line);
  if (!fields || fields->size() != kColumns) return std::nullopt;
  const std::vector<std::string>& f = *fields;
  JournalRecord r;
  auto event = eventFromName(f[0]);
  auto start = parseJournalTime(f[1]);
  if (!event || !start) return std::nullopt;
  r.event = *event;
  r.start = *start;
  if (!f[2].empty()) {
    r.end = parseJournalTime(f[2]);
    if (!r.end) return std::nullopt;
  }
  r.channel = f[3];
  r.destination = f[4];
  r.name = f[5];
  r.number = f[6];
  r.ip = f[7];
  const std::string& m = f[8];
  auto [ptr, ec] = std::from_chars(m.data(), m.data() + m.size(), r.minutes);
  if (ec != std::errc() || ptr != m.data() + m.size() || r.minutes < 0) return std::nullopt;
  r.result = f[9];
  if (!plausibleRecord(r)) return std::nullopt;
  return r;
}

}  // namespace tarvik
