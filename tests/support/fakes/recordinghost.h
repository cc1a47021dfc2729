#pragma once
// A ParserHost that records every event, in order, as readable UTF-8 text:
// "echo:<line>", "banner:<line>", "history", "status:B1", "address",
// "bothIdle", "tip", "disconnected:<line>", "incoming:<number>",
// "noIncoming", "failed:<message>", "dial", "busy", "stopElapsed",
// "connected", "destinations".

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/monitor/consoleparser.h"

namespace tarvik::test {

class RecordingHost : public ParserHost {
 public:
  // Set by the test.
  bool command = false;
  std::vector<std::string> names;  // Shift-JIS "number:name" entries

  // Recorded.
  std::vector<std::string> events;
  std::vector<std::string> writtenLog;  // UTF-8, from historyCaptureComplete
  std::array<std::string, 16> entries;  // UTF-8, from destinationListParsed
  std::array<std::string, 16> captions;

  // The recorded events whose kind (the text before ":") is one of `kinds`.
  std::vector<std::string> only(std::initializer_list<std::string> kinds) const;
  // The payloads of the recorded events of one kind.
  std::vector<std::string> payloads(const std::string& kind) const;

  bool commandExchange() const override { return command; }
  const std::vector<std::string>& nameList() const override { return names; }
  void echoLine(const std::string& line) override;
  void routerBannerSeen(const std::string& line) override;
  void historyCaptureComplete(const std::vector<std::string>& logBuffer) override;
  void channelStatusParsed(int channel, ChannelState& state) override;
  void addressAssigned() override { events.push_back("address"); }
  void bothChannelsIdle() override { events.push_back("bothIdle"); }
  void refreshMainTip() override { events.push_back("tip"); }
  void callDisconnected(const std::string& lineAfter) override;
  void incomingCall(const std::string& number) override;
  void noIncomingCall() override { events.push_back("noIncoming"); }
  void callFailed(const std::string& message) override;
  void dialStarted() override { events.push_back("dial"); }
  void calledPartyBusy() override { events.push_back("busy"); }
  void stopElapsed() override { events.push_back("stopElapsed"); }
  void callConnected() override { events.push_back("connected"); }
  void destinationListParsed(const std::array<std::string, 16>& entryList,
                             const std::array<std::string, 16>& captionList) override;
};

}  // namespace tarvik::test
