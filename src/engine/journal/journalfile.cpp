#include "engine/journal/journalfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>

#include "engine/base/filebytes.h"
#include "engine/journal/syncedappend.h"

namespace tarvik {
namespace {

constexpr std::string_view kRotatedPrefix = "Tarvik-journal-";
constexpr std::string_view kSuffix = ".csv";
constexpr std::string_view kLineEnd = "\r\n";

// True when the file does not end in a line end (a crash cut its last line).
bool endsUnfinished(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in || !in.seekg(-1, std::ios::end)) return false;
  char last = '\n';
  in.get(last);
  return last != '\n';
}

// The file's bytes, or why they could not be read.
std::optional<std::string> readBytes(const std::filesystem::path& file, std::error_code& error) {
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
    return std::nullopt;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = std::make_error_code(std::errc::io_error);
    return std::nullopt;
  }
  return bytes;
}

void noteUnreadable(JournalReading& into, std::string name, std::error_code error) {
  if (into.readFailed()) return;
  into.unreadable = std::move(name);
  into.readError = error;
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

std::error_code JournalFile::append(const JournalRecord& record, const LocalTime& now) {
  std::error_code ec;
  const std::filesystem::path file = path();
  // A folder of the journal's name would refuse the write for a reason the
  // platforms name differently; it is told as what it is.
  const std::filesystem::file_status status = std::filesystem::status(file, ec);
  if (std::filesystem::is_directory(status)) return std::make_error_code(std::errc::is_a_directory);
  // A FIFO in its place would hold the program up at the first record.
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) return notRegularFile();
  std::uintmax_t size = std::filesystem::exists(file, ec) ? std::filesystem::file_size(file, ec) : 0;
  if (ec) size = 0;
  if (size > 0 && size >= maxBytes_) {
    rotate(now);
    size = std::filesystem::exists(file, ec) ? size : 0;
  }
  std::string bytes;
  if (size == 0) {
    if (!createPrivateDirectories(directory_)) return std::make_error_code(std::errc::permission_denied);
    bytes = std::string(kUtf8Bom) + journalHeader() + std::string(kLineEnd);
  } else if (endsUnfinished(file)) {
    // What is left of a cut line might still read as a record, with a
    // field cut short; CAN marks it void before the line is closed.
    bytes = "\x18" + std::string(kLineEnd);
  }
  bytes += journalLine(record) + std::string(kLineEnd);
  return appendSynced(file, bytes);
}

std::string JournalReading::damageReport() const {
  if (damaged == 0) return {};
  return std::to_string(damaged) + (damaged == 1 ? " damaged line" : " damaged lines") +
         " skipped in the call journal (first at " + firstDamaged + ")";
}

std::string JournalReading::readErrorReport() const {
  if (!readFailed()) return {};
  return "cannot read the call journal " + unreadable + ": " + readError.message();
}

// What the user can do something about is named; anything else is told in
// the system's words.
std::string journalErrorText(const std::error_code& error) {
  struct Reason {
    std::errc code;
    const char* text;
  };
  static constexpr Reason kReasons[] = {
      {std::errc::permission_denied, "アクセスが許可されていません"},
      {std::errc::operation_not_permitted, "アクセスが許可されていません"},
      {std::errc::read_only_file_system, "書き込み禁止のディスクです"},
      {std::errc::is_a_directory, "同じ名前のフォルダーがあります"},
      {std::errc::no_space_on_device, "ディスクに空きがありません"},
      {std::errc::file_too_large, "ディスクに空きがありません"},
  };
  for (const Reason& r : kReasons)
    if (error == r.code) return r.text;
  if (error == notRegularFile()) return "同じ名前で FIFO など通常のファイルでないものがあります";
  return error.message();
}

void readJournalFile(const std::filesystem::path& file, JournalReading& into) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (status.type() == std::filesystem::file_type::not_found) return;
  if (error) return noteUnreadable(into, file.filename().string(), error);
  if (std::filesystem::is_directory(status))
    return noteUnreadable(into, file.filename().string(), std::make_error_code(std::errc::is_a_directory));
  if (!std::filesystem::is_regular_file(status))
    return noteUnreadable(into, file.filename().string(), notRegularFile());
  auto bytes = readBytes(file, error);
  if (!bytes) return noteUnreadable(into, file.filename().string(), error);
  readJournalText(*bytes, file.filename().string(), into);
}

void readJournalText(std::string_view text, const std::string& name, JournalReading& into) {
  if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
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
    if (into.damaged++ == 0) into.firstDamaged = name + ":" + std::to_string(lineNumber);
  }
}

JournalReading readJournal(const std::filesystem::path& directory) {
  std::vector<std::filesystem::path> rotated;
  JournalReading reading;
  std::error_code ec;
  std::filesystem::directory_iterator entries(directory, ec);
  // No folder yet is no journal yet; one that cannot be listed hides the
  // journals put aside in it.
  if (ec && ec != std::errc::no_such_file_or_directory) noteUnreadable(reading, directory.string(), ec);
  for (const auto& entry : entries) {
    const std::string name = entry.path().filename().string();
    if (name.size() > kRotatedPrefix.size() + kSuffix.size() && name.starts_with(kRotatedPrefix) &&
        name.ends_with(kSuffix) && entry.is_regular_file(ec))
      rotated.push_back(entry.path());
  }
  std::sort(rotated.begin(), rotated.end());
  for (const auto& file : rotated) readJournalFile(file, reading);
  readJournalFile(directory / kJournalFileName, reading);
  return reading;
}

}  // namespace tarvik
