#include "engine/monitor/consoleparser.h"

#include <algorithm>

#include "engine/base/bytes.h"
#include "engine/monitor/channelblock.h"
#include "engine/monitor/consoleliterals.h"
#include "engine/monitor/destinationlist.h"
#include "engine/monitor/tagline.h"

namespace tarvik {

namespace {

constexpr std::string_view kPrompt = "% ";
constexpr std::string_view kLoginPrompt = "login:";
constexpr std::string_view kWelcome = "Welco";
constexpr std::string_view kBannerF = "MN128-SOHO.F";
constexpr std::string_view kBannerS = "# MN128-SOHO-S";
constexpr std::string_view kDestinationStart = "#0 ";
constexpr int kSohoSPageBase = 100;

// The line after "チャネルを切断しました。": the message is 24 bytes and its
// line ends with LF CR.
constexpr std::size_t kDisconnectSkip = 26;
constexpr std::size_t kDisconnectLineLimit = 100;

// The line of text that holds position at, without its line end and the
// blanks around it.
std::string_view lineAround(std::string_view text, std::size_t at) {
  const std::size_t lf = text.rfind('\n', at);
  std::size_t start = lf == std::string_view::npos ? 0 : lf + 1;
  if (start < text.size() && text[start] == '\r') ++start;
  std::string_view line = text.substr(start);
  line = line.substr(0, line.find('\n'));
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return trimBlanks(line);
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// A history entry starts with its month/day date: "12/05 ...".
bool isHistoryEntry(std::string_view line) { return line.size() >= 3 && line[2] == '/'; }

}  // namespace

ConsoleParser::ConsoleParser(ParserHost& host) : host_(host), lit_(&Literals::get()) {}

ConsoleParser::~ConsoleParser() = default;

void ConsoleParser::AsyncSock1Receive(std::string_view answer) {
  // Nothing here may take the program down: a failure (in practice only
  // running out of memory, or a host reaction that throws) ends this answer
  // and keeps what was already updated.
  try {
    linePass(answer);
    statusBlocks(answer);
    checks(answer);
    destinationList(answer);
  } catch (...) {
  }
}

void ConsoleParser::linePass(std::string_view answer) {
  std::size_t at = 0;
  while (at < answer.size()) {
    std::size_t lineFeed = answer.find('\n', at);
    if (lineFeed == std::string_view::npos) {
      std::string_view tail = answer.substr(at);
      if (contains(tail, kPrompt)) processLine(std::string(tail));
      return;
    }
    processLine(std::string(answer.substr(at, lineFeed - at)));
    at = lineFeed + 1;
    if (at < answer.size() && answer[at] == '\r') ++at;
  }
}

void ConsoleParser::processLine(std::string line) {
  const Literals& lit = *lit_;
  // The status block after "回線種別:" is not echoed, up to the next prompt.
  if (contains(line, lit.lineTypeMarker)) EchoEnabled = false;
  TagLine(line, host_.nameList());

  if (host_.commandExchange() && EchoEnabled) {
    if (isHistoryEntry(line)) capture_.entrySeen(line);
    if (startsWith(line, lit.passwordPrompt) || startsWith(line, kLoginPrompt) ||
        startsWith(line, kWelcome)) {
      line.clear();
    }
    if (startsWith(line, kBannerF)) {
      RouterVersion = line;
      host_.routerBannerSeen(line);
    } else if (startsWith(line, kBannerS)) {
      RouterPageBase = kSohoSPageBase;
      RouterVersion = line;
      host_.routerBannerSeen(line);
    }
    // The details window shows only the analogue port's lines while it looks
    // at that report; prompts and automatic log fetches stay out of it.
    bool echo = AnalogView ? contains(line, lit.analog) : !contains(line, kPrompt) && !capture_.automatic();
    if (echo) host_.echoLine(line);
  }

  if (contains(line, kPrompt)) promptSeen();
}

void ConsoleParser::promptSeen() {
  if (capture_.promptSeen(logBreakMarker())) host_.historyCaptureComplete(capture_.buffer());
  EchoEnabled = true;
}

void ConsoleParser::resetRunState() {
  capture_.setAutomatic(false);
  LaunchArmed = false;
  RouterPageBase = 0;
  CallEnded = false;
}

void ConsoleParser::statusBlocks(std::string_view answer) {
  for (int index = 0; index < 2; ++index) {
    const ChannelMarkers& markers = lit_->channels[index];
    std::size_t at = answer.find(markers.channel);
    if (at == std::string_view::npos) continue;
    parseChannelBlock(answer, at, markers, channels_[index]);
    host_.channelStatusParsed(index, channels_[index]);
  }
}

void ConsoleParser::checks(std::string_view answer) {
  const Literals& lit = *lit_;
  const ChannelState& b1 = channels_[0];
  const ChannelState& b2 = channels_[1];

  if (LaunchArmed &&
      (contains(b1.text(ChannelState::IPAddress), ".") || contains(b2.text(ChannelState::IPAddress), "."))) {
    LaunchArmed = false;
    host_.addressAssigned();
  }
  if (b1.Idle && b2.Idle) host_.bothChannelsIdle();
  host_.refreshMainTip();

  if (std::size_t at = answer.find(lit.disconnected); at != std::string_view::npos) {
    std::string_view after = answer.substr(std::min(at + kDisconnectSkip, answer.size()));
    after = after.substr(0, after.find('\n'));
    host_.callDisconnected(std::string(sjisCut(after, kDisconnectLineLimit)));
  }

  // The stored status texts are tested, so a ringing channel is reported on
  // every answer, with or without a status block.
  if (showsRinging(b1)) {
    host_.incomingCall(b1.text(ChannelState::PhoneNumber));
  } else if (showsRinging(b2)) {
    host_.incomingCall(b2.text(ChannelState::PhoneNumber));
  } else {
    host_.noIncomingCall();
  }

  CallEnded = false;
  for (const std::string& message : lit.failures) CheckFailureMessage(message, answer);
  if (contains(answer, lit.dialling)) host_.dialStarted();
  if (contains(answer, lit.ended)) CallEnded = true;
  // A busy line counts against the redials only for the poll's own dials;
  // a dial the user started from a menu is not redialled.
  if (std::size_t at = answer.find(lit.busy); at != std::string_view::npos) {
    host_.busyLineSeen(std::string(sjisCut(lineAround(answer, at), kDisconnectLineLimit)));
    if (!host_.commandExchange()) {
      CallEnded = true;
      host_.calledPartyBusy();
    }
  }
  if (CallEnded) host_.stopElapsed();
  if (contains(answer, lit.connected)) {
    LaunchArmed = true;
    host_.callConnected();
  }
}

bool ConsoleParser::CheckFailureMessage(std::string_view message, std::string_view chunk) {
  if (!contains(chunk, message)) return false;
  CallEnded = true;
  host_.callFailed(std::string(message));
  return true;
}

void ConsoleParser::destinationList(std::string_view answer) {
  std::size_t at = answer.find(kDestinationStart);
  if (at == std::string_view::npos) return;
  DestinationList list = parseDestinationList(answer, at);
  host_.destinationListParsed(list.entries, list.captions);
}

}  // namespace tarvik
