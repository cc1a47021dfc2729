#pragma once
// Journal lines for the tests of the usage views: a call to #0 Tarvik ISP,
// an incoming call answered or missed, a busy dial to #1.

#include <string>

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

}  // namespace tarvik::test
