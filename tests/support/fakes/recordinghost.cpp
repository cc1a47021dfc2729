#include "fakes/recordinghost.h"

#include <algorithm>

#include "fakes/transcript.h"

namespace tarvik::test {

namespace {
std::string kindOf(const std::string& event) { return event.substr(0, event.find(':')); }
}  // namespace

std::vector<std::string> RecordingHost::only(std::initializer_list<std::string> kinds) const {
  std::vector<std::string> out;
  for (const std::string& event : events) {
    if (std::find(kinds.begin(), kinds.end(), kindOf(event)) != kinds.end()) out.push_back(event);
  }
  return out;
}

std::vector<std::string> RecordingHost::payloads(const std::string& kind) const {
  std::vector<std::string> out;
  for (const std::string& event : events) {
    if (kindOf(event) == kind) out.push_back(event.substr(std::min(event.size(), kind.size() + 1)));
  }
  return out;
}

void RecordingHost::echoLine(const std::string& line) { events.push_back("echo:" + utf8(line)); }

void RecordingHost::routerBannerSeen(const std::string& line) { events.push_back("banner:" + utf8(line)); }

void RecordingHost::historyCaptureComplete(const std::vector<std::string>& logBuffer) {
  events.push_back("history");
  writtenLog.clear();
  for (const std::string& line : logBuffer) writtenLog.push_back(utf8(line));
}

void RecordingHost::channelStatusParsed(int channel, ChannelState&) {
  events.push_back(channel == 0 ? "status:B1" : "status:B2");
}

void RecordingHost::callDisconnected(const std::string& lineAfter) {
  events.push_back("disconnected:" + utf8(lineAfter));
}

void RecordingHost::incomingCall(const std::string& number) { events.push_back("incoming:" + utf8(number)); }

void RecordingHost::callFailed(const std::string& message) { events.push_back("failed:" + utf8(message)); }

void RecordingHost::destinationListParsed(const std::array<std::string, 16>& entryList,
                                          const std::array<std::string, 16>& captionList) {
  events.push_back("destinations");
  for (std::size_t i = 0; i < 16; ++i) {
    entries[i] = utf8(entryList[i]);
    captions[i] = utf8(captionList[i]);
  }
}

}  // namespace tarvik::test
