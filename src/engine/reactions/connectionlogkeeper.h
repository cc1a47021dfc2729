#pragma once
// The connection log as the fetches write it. A log that cannot be written
// (a full disk, a read-only folder) keeps the old file as it was; what the
// fetch had merged is kept here instead and is where the next fetch of the
// same file begins, so the entries the router drops from its short history
// meanwhile are not lost. A failure is told when a streak of them begins
// and once more when the log can be written again.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/reactions/connectionlog.h"

namespace tarvik {

class ConnectionLogKeeper {
 public:
  // What a fetch begins with: the lines kept unwritten for file, or else
  // the file as prepareLogCapture reads it.
  LogCaptureStart start(const std::filesystem::path& file) const;

  // The end of a write, and what the user is to be told of it.
  enum class Change { kNone, kFailed, kWritingAgain };
  struct Written {
    bool ok = false;
    Change change = Change::kNone;
  };
  // Writes lines into file, or keeps them when that fails.
  Written write(const std::filesystem::path& file, const std::vector<std::string>& lines);

  bool writing() const { return writing_; }

 private:
  std::filesystem::path unwrittenFile_;
  std::optional<std::vector<std::string>> unwritten_;
  bool writing_ = true;
};

// What the status line and the notice say (UTF-8).
std::string connectionLogWriteFailedText(const std::filesystem::path& file);
std::string connectionLogWritingAgainText(const std::filesystem::path& file);

}  // namespace tarvik
