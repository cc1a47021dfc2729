#pragma once
// One event of the call journal, as one line of Tarvik-journal.csv.
//
// Columns (header row "event,start,end,channel,destination,name,number,
// ip,minutes,result"), texts in UTF-8:
//   event        outgoing | incoming | failed | busy | unreachable
//   start, end   local time "YYYY-MM-DD HH:MM:SS"; end empty for events of
//                a moment (incoming, failed, busy)
//   channel      B1 or B2, empty when not known
//   destination  the router's destination "#0".."#15" that was dialled
//   name         the destination's name (outgoing, failed, busy) or the
//                caller's name from the name list (incoming)
//   number       the telephone number dialled or calling
//   ip           the address the connection was given
//   minutes      whole minutes online (outgoing), as the router and the
//                status line count them, or without an answer from the
//                router (unreachable)
//   result       incoming: answered | missed; failed: the router's message
//
// An outgoing record longer than kLongestConnectionMinutes, by its minutes
// or by the time from its start to its end, is no connection a router can
// have made: a digit of it was damaged. The reader refuses it like any
// other damaged line: a record then holds at most a month of minutes and
// of days to share them over, whatever digits its line held.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ports/clock.h"

namespace tarvik {

enum class JournalEvent { Outgoing, Incoming, Failed, Busy, Unreachable };

struct JournalRecord {
  JournalEvent event = JournalEvent::Outgoing;
  LocalTime start;
  std::optional<LocalTime> end;
  std::string channel, destination, name, number, ip;
  int minutes = 0;
  std::string result;

  bool missed() const { return event == JournalEvent::Incoming && result == "missed"; }
};

// The longest month. A connection the program watched for longer than
// that is journaled as its last 31 days.
inline constexpr int kLongestConnectionMinutes = 31 * 24 * 60;

inline constexpr const char* kJournalAnswered = "answered";
inline constexpr const char* kJournalMissed = "missed";

// The header row, without its line end.
const std::string& journalHeader();
std::string_view journalEventName(JournalEvent event);

// The record as one line, without its line end.
std::string journalLine(const JournalRecord& record);
// Whether the record's times and minutes are ones a connection can have
// (see kLongestConnectionMinutes); the other events always are.
bool plausibleRecord(const JournalRecord& record);

// The record a line holds; nullopt for the header, a damaged line, a line
// that is not a journal record or one with figures no connection can have.
std::optional<JournalRecord> parseJournalLine(std::string_view line);

}  // namespace tarvik
