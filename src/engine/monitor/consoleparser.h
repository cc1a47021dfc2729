#pragma once
// Turns the router console's output into channel state, the destination
// list, the router banner and the events the rest of the program reacts to.
//
// The parser works on whole answers: the exchange layer hands it everything
// up to and including a prompt line (or the rest when the router closes),
// so the result never depends on how the network cut the output.

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/monitor/channelstate.h"
#include "engine/monitor/destinationlist.h"
#include "engine/monitor/historycapture.h"

namespace tarvik {

// What the parser needs to know and whom it tells. The core implements it.
// Events arrive in the fixed order of one processed answer:
//   echo/banner/history-complete per line, then per channel
//   channelStatusParsed, then addressAssigned, bothChannelsIdle,
//   refreshMainTip, callDisconnected, incomingCall / noIncomingCall,
//   callFailed (each message), dialStarted, busyLineSeen, calledPartyBusy, stopElapsed
//   (CallEnded), callConnected, destinationListParsed.
class ParserHost {
 public:
  virtual ~ParserHost() = default;

  // Queries.
  virtual bool commandExchange() const = 0;
  virtual const std::vector<std::string>& nameList() const = 0;

  // Line pass.
  virtual void echoLine(const std::string& line) = 0;          // append to details
  virtual void routerBannerSeen(const std::string& line) = 0;  // version text
  virtual void historyCaptureComplete(const std::vector<std::string>& logBuffer) = 0;

  // Status blocks and checks.
  virtual void channelStatusParsed(int channel /*0=B1, 1=B2*/, ChannelState& state) = 0;
  virtual void addressAssigned() = 0;
  virtual void bothChannelsIdle() = 0;
  virtual void refreshMainTip() = 0;
  virtual void callDisconnected(const std::string& lineAfter) = 0;
  virtual void incomingCall(const std::string& number) = 0;
  virtual void noIncomingCall() = 0;  // the core clears the name display if shown
  virtual void callFailed(const std::string& message) = 0;
  virtual void dialStarted() = 0;
  virtual void calledPartyBusy() = 0;
  // The router's line that reports a busy line (in any exchange: the status
  // line shows how a dial ended). Nothing by default.
  virtual void busyLineSeen(const std::string& line) { (void)line; }
  virtual void stopElapsed() = 0;  // CallEnded
  virtual void callConnected() = 0;
  // entries: the sixteen destination entries (index = destination number;
  // empty when the router gave none); captions: menu captions for items 0..15.
  virtual void destinationListParsed(const std::array<std::string, kDestinationCount>& entries,
                                     const std::array<std::string, kDestinationCount>& captions) = 0;
};

class ConsoleParser {
 public:
  explicit ConsoleParser(ParserHost& host);
  ~ConsoleParser();

  // Processes one complete answer (Shift-JIS, NUL and telnet bytes already
  // removed). Never throws.
  //
  // Lines end with LF; a CR right after the LF belongs to that line break.
  // Text after the last LF is a line of its own only when it holds a prompt
  // ("% ", a last prompt the router closed on); otherwise it counts only for
  // the searches over the whole answer.
  void AsyncSock1Receive(std::string_view answer);

  ChannelState& channel(int index) { return channels_[index]; }
  const ChannelState& channel(int index) const { return channels_[index]; }

  // A new run (the window is shown): no automatic log fetch, no launch
  // armed, no router variant seen, no call ended.
  void resetRunState();

  // --- what the rest of the program reads and sets ---
  // The router's banner line (Shift-JIS) and the page base its variant's
  // web pages are numbered from (100 for the SOHO-S, else 0).
  const std::string& routerVersion() const { return RouterVersion; }
  int routerPageBase() const { return RouterPageBase; }
  // Lines are echoed after a prompt, and no longer once a status block
  // begins.
  bool echoEnabled() const { return EchoEnabled; }
  void setEchoEnabled(bool on) { EchoEnabled = on; }
  // The details window looks at the analogue port's report: only its lines
  // are echoed.
  bool analogView() const { return AnalogView; }
  void setAnalogView(bool on) { AnalogView = on; }
  // The connection-log capture: a fetch starts it with the file's lines; an
  // automatic fetch keeps its exchange out of the details window.
  const HistoryCapture& capture() const { return capture_; }
  void startCapture(std::vector<std::string> fileLines, bool synced) {
    capture_.start(std::move(fileLines), synced);
  }
  bool automaticFetch() const { return capture_.automatic(); }
  void setAutomaticFetch(bool on) { capture_.setAutomatic(on); }
  // A connection waits for its address: addressAssigned follows the first
  // status block that shows one.
  bool launchArmed() const { return LaunchArmed; }
  void armLaunch() { LaunchArmed = true; }
  // The last answer ended a call (a failure, the end message or a busy
  // line).
  bool callEnded() const { return CallEnded; }

 private:
  struct Literals;

  void linePass(std::string_view answer);
  void processLine(std::string line);
  void promptSeen();
  void statusBlocks(std::string_view answer);
  void checks(std::string_view answer);
  bool CheckFailureMessage(std::string_view message, std::string_view chunk);
  void destinationList(std::string_view answer);

  ParserHost& host_;
  std::array<ChannelState, 2> channels_;
  bool EchoEnabled = false;
  bool AnalogView = false;
  HistoryCapture capture_;
  bool LaunchArmed = false;
  bool CallEnded = false;
  int RouterPageBase = 0;
  std::string RouterVersion;
  const Literals* lit_;  // shared, lives for the whole run
};

}  // namespace tarvik
