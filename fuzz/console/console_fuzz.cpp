// Whole console transcripts cut into arbitrary pieces: the pieces go
// through the AnswerAssembler as the network would deliver them, and every
// answer goes to the ConsoleParser.
//
// Input: byte 0 gives n (0..31); the next n bytes are piece lengths, used
// in turn and over again (0 is an empty read); the rest is the transcript.
// The answers and telnet replies must be exactly those of the transcript
// fed in one piece, whatever the cuts.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/monitor/consoleparser.h"
#include "engine/net/answerassembler.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

// Takes every event and does nothing with it.
class QuietHost : public tarvik::ParserHost {
 public:
  bool command = false;
  std::vector<std::string> names{"0312345678:Office"};

  bool commandExchange() const override { return command; }
  const std::vector<std::string>& nameList() const override { return names; }
  void echoLine(const std::string&) override {}
  void routerBannerSeen(const std::string&) override {}
  void historyCaptureComplete(const std::vector<std::string>&) override {}
  void channelStatusParsed(int, tarvik::ChannelState& state) override {
    state.DisplayIndex = (state.DisplayIndex + 1) % 7;
  }
  void addressAssigned() override {}
  void bothChannelsIdle() override {}
  void refreshMainTip() override {}
  void callDisconnected(const std::string&) override {}
  void incomingCall(const std::string&) override {}
  void noIncomingCall() override {}
  void callFailed(const std::string&) override {}
  void dialStarted() override {}
  void calledPartyBusy() override {}
  void stopElapsed() override {}
  void callConnected() override {}
  void destinationListParsed(const std::array<std::string, 16>&,
                             const std::array<std::string, 16>&) override {}
};

struct Assembled {
  std::vector<std::string> answers;
  std::string replies;
};

Assembled assemble(std::string_view transcript, std::string_view lengths) {
  tarvik::AnswerAssembler assembler;
  Assembled out;
  std::size_t at = 0, turn = 0;
  while (at < transcript.size()) {
    std::size_t length =
        lengths.empty() ? transcript.size() : static_cast<unsigned char>(lengths[turn++ % lengths.size()]);
    if (length > transcript.size() - at) length = transcript.size() - at;
    assembler.feed(transcript.substr(at, length), out.answers, out.replies);
    at += length;
    if (turn > 4 * transcript.size() + 16) {  // only empty pieces: take the rest at once
      assembler.feed(transcript.substr(at), out.answers, out.replies);
      at = transcript.size();
    }
  }
  assembler.finish(out.answers);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  if (input.empty()) return 0;
  std::size_t n = static_cast<unsigned char>(input[0]) % 32;
  if (n + 1 > input.size()) n = input.size() - 1;
  const std::string_view lengths = input.substr(1, n);
  const std::string_view transcript = input.substr(1 + n);

  const Assembled cut = assemble(transcript, lengths);
  const Assembled whole = assemble(transcript, {});
  check(cut.answers == whole.answers);
  check(cut.replies == whole.replies);
  for (const std::string& answer : cut.answers) {
    check(!answer.empty() && answer.size() <= tarvik::AnswerAssembler::kHoldLimit + 1);
    check(answer.find('\0') == std::string::npos);
  }

  QuietHost host;
  host.command = !lengths.empty() && (lengths[0] & 1);
  tarvik::ConsoleParser parser(host);
  for (const std::string& answer : cut.answers) parser.AsyncSock1Receive(answer);
  return 0;
}
