#pragma once
// Tarvik-journal.csv in the config directory: one record appended per
// event, flushed to the disk at once, never rewritten. A file grown past
// its limit is renamed Tarvik-journal-YYYY-MM.csv (the month it was put
// aside) and a new one begins.
//
// Lines end in CR LF and a new file starts with a UTF-8 byte-order mark, as
// a spreadsheet expects of a CSV file in UTF-8. A file begun without them
// (by an earlier version) is appended to as it is; the reader takes both.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "engine/journal/journalrecord.h"

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
  // its own. Returns why the record could not be written; an empty code
  // when it was.
  std::error_code append(const JournalRecord& record, const LocalTime& now);

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

  // A journal file (or the folder) that is there but could not be read, and
  // why: the first one met. The records of the files that could be read are
  // kept, but they are not the whole journal.
  std::string unreadable;  // the file's name
  std::error_code readError;
  bool readFailed() const { return static_cast<bool>(readError); }
  // One line for the user about the file that could not be read; empty when
  // every file was read.
  std::string readErrorReport() const;
};

// Why a journal file could not be written or read, as the windows and the
// notices say it (Japanese).
std::string journalErrorText(const std::error_code& error);

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The records of one journal file's bytes, named name in the reading's
// notes: what readJournalFile does once the bytes are read.
void readJournalText(std::string_view text, const std::string& name, JournalReading& into);

// One journal file. A line that is not a record (damaged, foreign, or the
// last line left without its line end) is skipped and counted. A file that
// is not there is no fault (nothing was journaled yet); one that is there
// but cannot be read is noted in the reading.
void readJournalFile(const std::filesystem::path& file, JournalReading& into);

// Every journal of the directory: the rotated ones by name, then the
// current one.
JournalReading readJournal(const std::filesystem::path& directory);

}  // namespace tarvik
