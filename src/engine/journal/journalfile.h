#pragma once
// Tarvik-journal.csv in the config directory: one record appended per
// event, flushed to the disk at once, never rewritten. A file grown past
// its limit is renamed Tarvik-journal-YYYY-MM.csv (the month it was put
// aside) and a new one begins.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "journal/journalrecord.h"

namespace tarvik {

inline constexpr const char* kJournalFileName = "Tarvik-journal.csv";

class JournalFile {
 public:
  JournalFile(std::filesystem::path directory, std::uintmax_t maxBytes);

  std::filesystem::path path() const;
  void setMaxBytes(std::uintmax_t maxBytes) { maxBytes_ = maxBytes; }

  // Appends the record as one line; a new file starts with the header. A
  // file that has reached the limit is put aside first; a last line left
  // unfinished by a crash is closed first, so the record starts a line of
  // its own. False when the record could not be written.
  bool append(const JournalRecord& record, const LocalTime& now);

 private:
  void rotate(const LocalTime& now);

  std::filesystem::path directory_;
  std::uintmax_t maxBytes_;
};

struct JournalReading {
  std::vector<JournalRecord> records;  // oldest file first, in file order
  int damaged = 0;                     // lines skipped
  std::string firstDamaged;            // "file:line" of the first one
  // One line for the user about the damaged lines; empty when none.
  std::string damageReport() const;
};

// One journal file. A line that is not a record (damaged, foreign, or the
// last line left without its line end) is skipped and counted.
void readJournalFile(const std::filesystem::path& file, JournalReading& into);

// Every journal of the directory: the rotated ones by name, then the
// current one.
JournalReading readJournal(const std::filesystem::path& directory);

}  // namespace tarvik
