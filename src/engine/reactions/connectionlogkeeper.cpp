#include "engine/reactions/connectionlogkeeper.h"

#include "engine/base/pathtext.h"

namespace tarvik {

LogCaptureStart ConnectionLogKeeper::start(const std::filesystem::path& file) const {
  if (!unwritten_ || file != unwrittenFile_) return prepareLogCapture(file);
  LogCaptureStart start;
  start.buffer = *unwritten_;
  start.synced = start.buffer.empty() || start.buffer.back() == logBreakMarker();
  return start;
}

ConnectionLogKeeper::Written ConnectionLogKeeper::write(const std::filesystem::path& file,
                                                        const std::vector<std::string>& lines) {
  Written written;
  written.ok = writeConnectionLog(file, lines).empty();
  if (written.ok) {
    unwritten_.reset();
  } else {
    unwrittenFile_ = file;
    unwritten_ = lines;
  }
  // Only the first failure of a streak is told, and its end: a full disk
  // would otherwise repeat its message at every fetch.
  if (written.ok != writing_) written.change = written.ok ? Change::kWritingAgain : Change::kFailed;
  writing_ = written.ok;
  return written;
}

std::string connectionLogWriteFailedText(const std::filesystem::path& file) {
  return utf8Of(file) +
         " に書き込めません（ディスクの空きと書き込み権限を確かめてください。書けるまで記録を保持します）";
}

std::string connectionLogWritingAgainText(const std::filesystem::path& file) {
  return utf8Of(file) + " に再び書き込めます";
}

}  // namespace tarvik
