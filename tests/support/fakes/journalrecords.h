#pragma once
// Journal lines for the tests of the usage views: a call to #0 Tarvik ISP,
// an incoming call answered or missed, a busy dial to #1; and the journal
// both usage windows' tests show.

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "engine/journal/journalfile.h"
#include "engine/journal/journalrecord.h"

namespace tarvik::test {

inline JournalRecord call(LocalTime start, LocalTime end, int minutes) {
  JournalRecord r;
  r.event = JournalEvent::Outgoing;
  r.start = start;
  r.end = end;
  r.channel = "B1";
  r.destination = "#0";
  r.name = "Tarvik ISP";
  r.number = "0312345678";
  r.ip = "203.0.113.42";
  r.minutes = minutes;
  return r;
}

inline JournalRecord ring(LocalTime start, const std::string& number, const std::string& name, bool missed) {
  JournalRecord r;
  r.event = JournalEvent::Incoming;
  r.start = start;
  r.channel = "B1";
  r.number = number;
  r.name = name;
  r.result = missed ? kJournalMissed : kJournalAnswered;
  return r;
}

inline JournalRecord busy(LocalTime start) {
  JournalRecord r;
  r.event = JournalEvent::Busy;
  r.start = start;
  r.destination = "#1";
  r.name = "会社";
  return r;
}

// Two calls in December 2026, a missed and an answered incoming call, a
// call in November, and at the end a line that is no record. The first
// error of a write, if any.
inline std::error_code writeSampleJournal(const std::filesystem::path& dir) {
  JournalFile journal(dir, 1 << 20);
  const LocalTime now{2026, 12, 10, 23, 0, 0};
  for (const JournalRecord& r : {call({2026, 12, 3, 21, 0, 0}, {2026, 12, 3, 21, 38, 0}, 38),
                                 call({2026, 12, 10, 9, 0, 0}, {2026, 12, 10, 9, 12, 30}, 13),
                                 ring({2026, 12, 10, 21, 45, 30}, "0452223333", "山田商店", true),
                                 ring({2026, 12, 11, 8, 5, 0}, "0399999999", "", false),
                                 call({2026, 11, 20, 21, 0, 0}, {2026, 11, 20, 22, 0, 0}, 60)}) {
    if (std::error_code error = journal.append(r, now)) return error;
  }
  std::ofstream damaged(dir / kJournalFileName, std::ios::binary | std::ios::app);
  damaged << "not a record\r\n";
  return damaged ? std::error_code() : std::make_error_code(std::errc::io_error);
}

}  // namespace tarvik::test
