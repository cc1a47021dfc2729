#include "journal/journalfile.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "base/filebytes.h"
#include "journal/syncedappend.h"

namespace tarvik {
namespace {

constexpr std::string_view kRotatedPrefix = "Tarvik-journal-";
constexpr std::string_view kSuffix = ".csv";

// True when the file does not end in a line end (a crash cut its last line).
bool endsUnfinished(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in || !in.seekg(-1, std::ios::end)) return false;
  char last = '\n';
  in.get(last);
  return last != '\n';
}

std::string rotatedName(const LocalTime& now, int n) {
  char buf[64];
  if (n == 1) {
    std::snprintf(buf, sizeof buf, "Tarvik-journal-%04d-%02d.csv", now.year, now.month);
  } else {
    std::snprintf(buf, sizeof buf, "Tarvik-journal-%04d-%02d-%d.csv", now.year, now.month, n);
  }
  return buf;
}

}  // namespace

JournalFile::JournalFile(std::filesystem::path directory, std::uintmax_t maxBytes)
    : directory_(std::move(directory)), maxBytes_(maxBytes) {}

std::filesystem::path JournalFile::path() const { return directory_ / kJournalFileName; }

// The old file is renamed, never copied or cut: what it holds stays as it was.
// A name already taken (a second rotation in one month) gets a number.
void JournalFile::rotate(const LocalTime& now) {
  std::error_code ec;
  for (int n = 1; n < 1000; ++n) {
    const std::filesystem::path target = directory_ / rotatedName(now, n);
    if (std::filesystem::exists(target, ec)) continue;
    std::filesystem::rename(path(), target, ec);
    return;
  }
}

bool JournalFile::append(const JournalRecord& record, const LocalTime& now) {
  std::error_code ec;
  const std::filesystem::path file = path();
  std::uintmax_t size = std::filesystem::exists(file, ec) ? std::filesystem::file_size(file, ec) : 0;
  if (ec) size = 0;
  if (size > 0 && size >= maxBytes_) {
    rotate(now);
    size = std::filesystem::exists(file, ec) ? size : 0;
  }
  std::string bytes;
  if (size == 0) {
    createPrivateDirectories(directory_);
    bytes = journalHeader() + "\n";
  } else if (endsUnfinished(file)) {
    // What is left of a cut line might still read as a record, with a
    // field cut short; CAN marks it void before the line is closed.
    bytes = "\x18\n";
  }
  bytes += journalLine(record) + "\n";
  return appendSynced(file, bytes);
}

std::string JournalReading::damageReport() const {
  if (damaged == 0) return {};
  return std::to_string(damaged) + (damaged == 1 ? " damaged line" : " damaged lines") +
         " skipped in the call journal (first at " + firstDamaged + ")";
}

void readJournalFile(const std::filesystem::path& file, JournalReading& into) {
  auto bytes = readFileBytes(file);
  if (!bytes) return;
  std::string_view text = *bytes;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a BOM from a spreadsheet
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    const bool finished = end != std::string_view::npos;
    std::string_view line = text.substr(0, finished ? end : text.size());
    text.remove_prefix(finished ? end + 1 : text.size());
    std::string_view bare = line;
    if (!bare.empty() && bare.back() == '\r') bare.remove_suffix(1);
    if (bare.empty() || bare == journalHeader()) continue;
    auto record = finished ? parseJournalLine(bare) : std::nullopt;
    if (record) {
      into.records.push_back(std::move(*record));
      continue;
    }
    if (into.damaged++ == 0) into.firstDamaged = file.filename().string() + ":" + std::to_string(lineNumber);
  }
}

JournalReading readJournal(const std::filesystem::path& directory) {
  std::vector<std::filesystem::path> rotated;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(directory, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() > kRotatedPrefix.size() + kSuffix.size() && name.starts_with(kRotatedPrefix) &&
        name.ends_with(kSuffix) && entry.is_regular_file(ec))
      rotated.push_back(entry.path());
  }
  std::sort(rotated.begin(), rotated.end());
  JournalReading reading;
  for (const auto& file : rotated) readJournalFile(file, reading);
  readJournalFile(directory / kJournalFileName, reading);
  return reading;
}

}  // namespace tarvik
