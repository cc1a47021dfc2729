#pragma once
// A ParserHost that only touches what it is given, for the benchmark and the
// fuzz target (which adds its checks on top).

#include <string>
#include <vector>

#include "engine/monitor/consoleparser.h"

namespace tarvik::test {

class SinkHost : public ParserHost {
 public:
  bool command = false;
  std::vector<std::string> names;
  std::size_t touched = 0;  // keeps the work from being optimised away

  bool commandExchange() const override { return command; }
  const std::vector<std::string>& nameList() const override { return names; }
  void echoLine(const std::string& line) override { touched += line.size(); }
  void routerBannerSeen(const std::string& line) override { touched += line.size(); }
  void historyCaptureComplete(const std::vector<std::string>& buffer) override { touched += buffer.size(); }
  void channelStatusParsed(int, ChannelState& state) override {
    // What the display step does with the index.
    state.DisplayIndex = (state.DisplayIndex + 1) % 7;
    touched += state.texts[state.DisplayIndex].size();
  }
  void addressAssigned() override { ++touched; }
  void bothChannelsIdle() override { ++touched; }
  void refreshMainTip() override { ++touched; }
  void callDisconnected(const std::string& line) override { touched += line.size(); }
  void incomingCall(const std::string& number) override { touched += number.size(); }
  void noIncomingCall() override { ++touched; }
  void callFailed(const std::string& message) override { touched += message.size(); }
  void dialStarted() override { ++touched; }
  void calledPartyBusy() override { ++touched; }
  void stopElapsed() override { ++touched; }
  void callConnected() override { ++touched; }
  void destinationListParsed(const std::array<std::string, 16>& entries,
                             const std::array<std::string, 16>&) override {
    touched += entries[0].size();
  }
};

}  // namespace tarvik::test
