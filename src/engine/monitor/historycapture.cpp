#include "engine/monitor/historycapture.h"

#include <limits>
#include <utility>

#include "engine/base/sjis.h"

namespace tarvik {

const std::string& logBreakMarker() {
  static const std::string marker = toSjis("*** ログ分断 ***");
  return marker;
}

void HistoryCapture::start(std::vector<std::string> fileLines, bool synced) {
  LogBuffer = std::move(fileLines);
  HistorySynced = synced;
  PromptCountdown = kCaptureStart;
}

void HistoryCapture::entrySeen(const std::string& line) {
  if (PromptCountdown <= kCaptureDone) return;
  HistorySeen = true;
  if (HistorySynced && !line.empty()) LogBuffer.push_back(line);
  // Until the saved file's last entry comes round again, entries are ones
  // the file already holds.
  if (!LogBuffer.empty() && LogBuffer.back() == line) HistorySynced = true;
}

bool HistoryCapture::promptSeen(const std::string& breakMarker) {
  // Outside a capture the count only keeps falling; it must not wrap round
  // to the values that mean something.
  if (PromptCountdown > std::numeric_limits<int>::min()) --PromptCountdown;
  if (PromptCountdown != kCaptureDone) return false;
  if (!HistorySynced && HistorySeen) LogBuffer.push_back(breakMarker);
  AutoLogFetch = false;
  HistorySeen = false;
  PromptCountdown = 0;
  return true;
}

}  // namespace tarvik
