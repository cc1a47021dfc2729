#pragma once
// The connection-log capture: a fetch loads the log file's lines, the
// router's history entries ("sh h") that the file does not hold yet are
// appended, and the prompts of the console count the capture down to its
// end. The countdown and everything else of a capture live here.

#include <string>
#include <vector>

namespace tarvik {

// "*** ログ分断 ***" in Shift-JIS: the line a capture appends when the
// router's history has moved past the file's newest entry, and by which a
// later fetch knows that the file ends in a break.
const std::string& logBreakMarker();

class HistoryCapture {
 public:
  // A fetch begins with the file's lines. synced: the router's entries may
  // be appended at once (the file is empty or ends in the break marker);
  // otherwise only those after the file's last line come round again.
  void start(std::vector<std::string> fileLines, bool synced);

  // An automatic fetch (after connection events) keeps its exchange out of
  // the details window; it ends automatic when it completes.
  bool automatic() const { return AutoLogFetch; }
  void setAutomatic(bool on) { AutoLogFetch = on; }

  // A history entry of a command exchange; taken only while capturing.
  void entrySeen(const std::string& line);
  // A console prompt. True when it completes the capture: buffer() then
  // holds the merged log, with breakMarker appended when the file's last
  // line never came round (the router's history has moved past it).
  bool promptSeen(const std::string& breakMarker);

  const std::vector<std::string>& buffer() const { return LogBuffer; }
  int countdown() const { return PromptCountdown; }
  bool historySeen() const { return HistorySeen; }

 private:
  // The capture counts prompts down from 56: entries are taken while the
  // count is above 53, and reaching 53 completes the capture.
  static constexpr int kCaptureStart = 56;
  static constexpr int kCaptureDone = 53;

  int PromptCountdown = 0;
  bool HistorySeen = false;
  bool HistorySynced = false;
  bool AutoLogFetch = false;
  std::vector<std::string> LogBuffer;
};

}  // namespace tarvik
