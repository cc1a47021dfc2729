// Feeds arbitrary console output to the parser, once as a poll exchange cut
// into answers, and once as a command exchange with a history capture armed
// and a name list, whole and then answer by answer. The host checks the
// bounds every event promises.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/monitor/consoleparser.h"
#include "fakes/sinkhost.h"
#include "fakes/transcript.h"

namespace {

using tarvik::ChannelState;

void check(bool ok) {
  if (!ok) std::abort();
}

class FuzzHost : public tarvik::test::SinkHost {
 public:
  void routerBannerSeen(const std::string& line) override { check(!line.empty()); }
  void channelStatusParsed(int channel, ChannelState& state) override {
    check(channel == 0 || channel == 1);
    const std::string& status = state.text(ChannelState::StatusText);
    check(status.size() < 20 && status.find('\n') == std::string::npos);
    for (int field = ChannelState::ConnectTime; field <= ChannelState::LineUsage; ++field) {
      const std::string& value = state.texts[field];
      std::size_t limit = field == ChannelState::ConnectTime ? 22 : 18;  // 18 bytes, + "分間"
      check(value == status || value.size() <= limit);
      if (state.Idle) check(value == status);
    }
    SinkHost::channelStatusParsed(channel, state);
  }
  void callDisconnected(const std::string& lineAfter) override {
    check(lineAfter.size() <= 100 && lineAfter.find('\n') == std::string::npos);
  }
  void callFailed(const std::string& message) override { check(!message.empty()); }
  void calledPartyBusy() override { check(!command); }
  void destinationListParsed(const std::array<std::string, 16>& entries,
                             const std::array<std::string, 16>& captions) override {
    for (std::size_t i = 0; i < 16; ++i) {
      check(captions[i].size() <= 20 && captions[i].find('\n') == std::string::npos);
      check(entries[i].size() <= 43 && entries[i].find('\n') == std::string::npos);
      check(entries[i].empty() || entries[i].front() == '#');
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> answers = tarvik::test::splitAnswers(input);
  {
    FuzzHost host;
    tarvik::ConsoleParser parser(host);
    for (const std::string& answer : answers) parser.AsyncSock1Receive(answer);
  }
  {
    FuzzHost host;
    host.command = true;
    // "0312345001:Office", "03:" + 事務所 (Shift-JIS), and two entries that match nothing.
    host.names = {"0312345001:Office", "03:\x8E\x96\x96\xB1\x8F\x8A", "no colon", ":empty"};
    tarvik::ConsoleParser parser(host);
    parser.startCapture({"12/05 10:20:03 B1 0312345001 Office"}, false);
    parser.AsyncSock1Receive(input);
    parser.startCapture(parser.capture().buffer(), false);
    parser.setAnalogView(size % 2 == 1);
    for (const std::string& answer : answers) parser.AsyncSock1Receive(answer);
  }
  return 0;
}
