#pragma once
// A parser wired to a recording host, fed with UTF-8 console text.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "engine/monitor/consoleparser.h"
#include "fakes/recordinghost.h"
#include "fakes/transcript.h"

namespace tarvik::test {

class ParserFixture : public ::testing::Test {
 protected:
  RecordingHost host;
  ConsoleParser parser{host};

  // Router output given as UTF-8 with "\n", answer by answer.
  void feed(std::string_view text) {
    for (const std::string& answer : splitAnswers(routerText(text))) parser.AsyncSock1Receive(answer);
  }
  void feedTranscript(const std::string& name) {
    std::string text = loadTranscript(name);
    ASSERT_FALSE(text.empty()) << name;
    for (const std::string& answer : splitAnswers(text)) parser.AsyncSock1Receive(answer);
  }
  std::string field(int channel, ChannelState::Field f) const {
    return utf8(parser.channel(channel).text(f));
  }
};

// A channel's status block as the router prints it. `channel` is "B1" or
// "B2"; every field line is left out when its value is nullptr.
inline std::string statusBlock(std::string_view channel, std::string_view status, const char* time,
                               const char* address, const char* mode, const char* number, const char* usage) {
  std::string block = std::string(channel) + "チャネル：" + std::string(status) + "\n";
  const char* timeLabel = channel == "B1" ? "接続時間（分）[" : "通信時間（分）[";
  if (time) block += std::string("  ") + timeLabel + time + "]\n";
  if (address) block += std::string("  IPアドレス[") + address + "]\n";
  if (mode) block += std::string("  接続モード[") + mode + "]\n";
  if (number) block += std::string("  相手番号[") + number + "]\n";
  if (usage) block += std::string("  回線使用率（BOD %）[") + usage + "]\n";
  return block;
}

inline std::string idleBlock(std::string_view channel) {
  return statusBlock(channel, "空き", "    /    ", "", "", "", "");
}

}  // namespace tarvik::test
