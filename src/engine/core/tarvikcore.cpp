#include "engine/core/tarvikcore.h"

#include <algorithm>

#include "engine/base/bytes.h"
#include "engine/base/sjis.h"
#include "engine/control/displaystep.h"
#include "engine/core/corestate.h"
#include "engine/core/coretexts.h"
#include "engine/net/answerassembler.h"
#include "engine/net/exchange.h"

namespace tarvik {

namespace {

std::string lowerAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
  return text;
}

}  // namespace

TarvikCore::State::State(CorePorts p, SettingsFiles f)
    : ports(p), files(std::move(f)), CntTime1([&clock = p.clock] { return clock.tickMs(); }) {
  CntTime1.TimeFunc = TCntTime::tfTick;
  files.setNotice([this](const std::string& text) { setStatus(text); });
}

// --- start-up and exit ---

void TarvikCore::State::FormCreate(const std::vector<std::string>& args) {
  arguments = args;
  PendingArguments = true;
}

void TarvikCore::State::FormShow() {
  takeLinkAddress();
  ExchangeIdle = true;
  closing.startRun();
  parser.resetRunState();
  timed.startRun();
  script.startRun();
  redial.arm(settings.rd.count);
  parser.channel(0).DisplayIndex = clampDisplayIndex(settings.option.B1);
  parser.channel(1).DisplayIndex = clampDisplayIndex(settings.option.B2);
  jigen = true;
  ports.view.setJigenCaption(texts::timedDisconnectCaption(settings.time.OFF));
  setLabel1(texts::kDestinationCaption);
  setStatus(texts::kWaiting);
  destinations.assign(16, std::string());
  ports.view.setDestinationList(destinations);

  std::string chain = commands::startupChain();
  if (settings.option.setRouterClock) {
    LocalTime now = ports.clock.now();
    std::string clock = commands::clockLine(now.year, now.month, now.day, now.hour, now.minute);
    setStatus(clock);
    chain += commands::setClock(clock);
  }
  // Told as a fault to notice, never in a box: the program runs on with
  // the defaults in their place.
  if (!settingsNotice.empty()) mirror.showStatusError(settingsNotice);
  openExchange(chain, true);
  ports.timers.start(TimerId::Timer1, pollIntervalMs(), false);
}

int TarvikCore::State::pollIntervalMs() const {
  return pollOverrideMs > 0 ? pollOverrideMs : pollIntervalSeconds(settings) * 1000;
}

void TarvikCore::State::setPollIntervalOverrideMs(int ms) {
  pollOverrideMs = ms > 0 ? ms : 0;
  if (ports.timers.isActive(TimerId::Timer1)) ports.timers.start(TimerId::Timer1, pollIntervalMs(), false);
}

// Where the windows stand and which field each channel box shows go into
// the settings, and the window-state keys are written.
std::string TarvikCore::State::saveWindowState(const WindowPlacement& placement) {
  settings.option.left = placement.left;
  if (!placement.parked) settings.option.top = placement.top;
  settings.option.left2 = placement.left2;
  settings.option.top2 = placement.top2;
  settings.option.Width2 = placement.Width2;
  settings.option.Height2 = placement.Height2;
  settings.option.B1 = parser.channel(0).DisplayIndex;
  settings.option.B2 = parser.channel(1).DisplayIndex;
  return files.saveWindowState(settings, placement.parked);
}

bool TarvikCore::State::FormCloseQuery(const WindowPlacement& placement) {
  std::string error = saveWindowState(placement);
  if (!error.empty()) ports.view.showError(error);

  // A channel is in use when the router has reported on it and its status
  // does not show it free (before any report there is nothing to drop).
  auto inUse = [&](int ch) { return mirror.reported(ch) && !showsFree(parser.channel(ch)); };
  if (!closing.holdsClose(settings.option.disconnectOnExit, inUse(0) || inUse(1))) return true;
  if (closing.askQuestion()) ports.prompter.askDisconnectOnExit();
  return false;
}

void TarvikCore::State::DisconnectQuestionAnswered(bool ok) {
  if (!closing.questionAnswered()) return;
  if (ok) DiscBtnClick();
  closing.exitAfterDisconnect();
}

// The session is ending (logout, shutdown, SIGTERM): nobody is there to
// answer a question and the session will not wait, so the window state is
// saved as a close saves it and the program ends with the line as it is.
void TarvikCore::State::EndSession(const WindowPlacement& placement) {
  // A message box would hold the logout up; a failed write is lost with
  // the session.
  saveWindowState(placement);
  FormClose();
}

void TarvikCore::State::FormClose() {
  gate.close();
  for (TimerId id : kTimerIds) {
    ports.timers.stop(id);
  }
  for (SocketId socket : exchanges.sockets()) {
    exchanges.remove(socket);
    ports.transport.close(socket);
  }
}

// --- exchanges ---

Exchange* TarvikCore::State::openExchange(const std::string& chain, bool command, bool quiet) {
  if (gate.closed()) return nullptr;
  ports.transport.setHost(linkHost);
  ports.transport.setPort(linkPort);
  SocketId socket = ports.transport.open();
  if (socket == kNoSocket) {
    // The poll tries again at its next tick; anyone else is told.
    if (command) ports.view.showError(ports.transport.errorText());
    return nullptr;
  }
  Exchange& exchange = exchanges.add(socket, chain, command, ports.clock.tickMs());
  exchange.quiet = quiet;
  exchange.signs.expectsStatus = commands::asksStatus(chain);
  if (!ports.timers.isActive(TimerId::ExchangeWatchdog)) {
    ports.timers.start(TimerId::ExchangeWatchdog, 1000, false);
  }
  return &exchange;
}

void TarvikCore::State::AsyncSock1Connect(SocketId socket) {
  Exchange* exchange = exchanges.find(socket);
  if (!exchange) {
    ports.transport.close(socket);  // not one of ours (any more)
    return;
  }
  exchange->signs.connected = true;
  ExchangeIdle = false;
  sent(*exchange,
       ports.transport.send(socket, loginBatch(settings.tarvik.PASS, exchange->chain, settings.kanji.CODE)));

  if (!PendingArguments) return;
  PendingArguments = false;
  actOnArguments(arguments);
}

void TarvikCore::State::actOnArguments(const std::vector<std::string>& words) {
  for (const std::string& argument : words) {
    std::string lower = lowerAscii(argument);
    if (contains(lower, "co")) dialDestination(settings.tarvik.DEFAULT);
    if (contains(lower, "b1")) B1DiscClick();
    if (contains(lower, "b2")) B2DiscClick();
  }
}

void TarvikCore::State::SecondStart(const std::vector<std::string>& words) {
  if (PendingArguments) {
    // The first exchange has not come up: these words go with the start's own.
    arguments.insert(arguments.end(), words.begin(), words.end());
    return;
  }
  actOnArguments(words);
}

void TarvikCore::State::AsyncSock1Receive(SocketId socket, std::string_view bytes) {
  Exchange* exchange = exchanges.find(socket);
  if (!exchange || bytes.empty()) return;
  std::vector<std::string> answers;
  std::string replies;
  exchange->assembler.feed(bytes, answers, replies);
  if (!replies.empty()) sent(*exchange, ports.transport.send(socket, replies));
  routerAnswered();
  if (exchange->assembler.overflowed()) answersUnreadable(*exchange);
  const ExchangeSigns seen = parseAnswers(answers, *exchange);
  // Looked up again: a reaction may have ended it.
  if (Exchange* still = exchanges.find(socket)) still->signs.add(seen);
}

void TarvikCore::State::AsyncSock1Close(SocketId socket) { endExchange(socket); }

// A send that failed is shown as the socket component words it ("Send
// Error ..."). A command's failure is the user's to see at once, once per
// exchange; a poll's is a trouble of the link, told once per streak, never
// as a box per poll. The exchange itself ends with the close that the
// broken connection brings.
void TarvikCore::State::sent(Exchange& exchange, bool ok) {
  if (ok) return;
  const bool firstInExchange = !exchange.signs.broken;
  exchange.signs.broken = true;
  if (!exchange.command) return linkFailed(LinkFault::SendFailed, ports.transport.errorText());
  if (firstInExchange) ports.view.showError(ports.transport.errorText());
}

// The router closed the exchange, its connect failed, or it timed out: what
// it held back is its last answer, its socket is closed, and an exchange
// that had connected is over.
void TarvikCore::State::endExchange(SocketId socket, bool timedOut) {
  Exchange* exchange = exchanges.find(socket);
  if (!exchange) return;
  std::vector<std::string> answers;
  exchange->assembler.finish(answers);
  Exchange ended = std::move(*exchange);
  exchanges.remove(socket);
  ports.transport.close(socket);
  if (exchanges.empty()) ports.timers.stop(TimerId::ExchangeWatchdog);
  ended.signs.add(parseAnswers(answers, ended));
  if (ended.connected()) ExchangeIdle = true;
  if (!gate.closed()) judgeEndedExchange(ended, timedOut);
}

// The exchange's flags are taken first: a reaction may open or end
// exchanges. What the answers showed is returned, for the exchange's signs.
ExchangeSigns TarvikCore::State::parseAnswers(const std::vector<std::string>& answers,
                                              const Exchange& exchange) {
  const bool command = exchange.command, quiet = exchange.quiet;
  const std::string secret = exchange.secret;
  ExchangeSigns seen;
  for (const std::string& text : answers) {
    if (gate.closed()) break;  // a reaction closed the window
    seen.heard = seen.heard || !text.empty();
    seen.loggedIn = seen.loggedIn || AnswerAssembler::holdsPrompt(text);
    blocksInAnswer = {false, false};
    // The router's messages about connections first: a status block after
    // them shows what they left.
    answer.begin(command, quiet, secret);
    journal.watch().answerSeen(text, ports.clock.now());
    parser.AsyncSock1Receive(text);
    answer.end();
    seen.statusSeen = seen.statusSeen || (blocksInAnswer[0] && blocksInAnswer[1]);
    showJournalNote();
  }
  return seen;
}

// --- TarvikCore: forwarding ---

TarvikCore::TarvikCore(CorePorts ports, SettingsFiles files)
    : state_(std::make_unique<State>(ports, std::move(files))) {}

TarvikCore::~TarvikCore() = default;

const SettingsStore& TarvikCore::settings() const { return state_->settings; }
const SettingsFiles& TarvikCore::files() const { return state_->files; }
void TarvikCore::loadSettings() {
  state_->settingsNotice = settingProblemsNotice(state_->files.loadAll(state_->settings));
  state_->gate.settingsIn();
}
const std::string& TarvikCore::settingsNotice() const { return state_->settingsNotice; }
void TarvikCore::applySettings(const SettingsStore& edited) {
  state_->settings = edited;
  state_->gate.settingsIn();
}
ApplicationList TarvikCore::loadApplications(int destination) const {
  return state_->files.loadApplications(destination);
}
std::string TarvikCore::saveApplications(int destination, const ApplicationList& apps) {
  try {
    return state_->files.saveApplications(destination, apps);
  } catch (const std::exception& e) {
    return settingsFileTrouble(state_->files, e.what());
  }
}

// Every command through the gate to its handler.
#define TARVIK_FORWARD_COMMAND(guard, result, name, parameters, arguments)            \
  result TarvikCore::name parameters {                                                \
    State& s = *state_;                                                               \
    return s.gate.run<result>(CommandGuard::guard, [&] { return s.name arguments; }); \
  }
TARVIK_ENGINE_COMMANDS(TARVIK_FORWARD_COMMAND)
#undef TARVIK_FORWARD_COMMAND

std::string TarvikCore::ConfigClosed(const SettingsStore& edited, const ApplicationList& shownApps) {
  state_->settings = edited;
  std::string error;
  try {
    error = state_->files.saveDialogSettings(state_->settings, shownApps);
  } catch (const std::exception& e) {
    // Told like a file that could not be written: the settings stay in force.
    error = settingsFileTrouble(state_->files, e.what());
  }
  // An interval that is not a number holds the close back until it is
  // mended. A file that cannot be written does not: the settings are in
  // force all the same, only not kept for the next start.
  if (!error.empty() && !settingTextToInt(state_->settings.option.TIME)) return error;
  state_->takeLinkAddress();
  state_->ScriptSuspended = false;
  return error;
}

bool TarvikCore::jigenChecked() const { return state_->jigen; }
std::string TarvikCore::routerPageAddress(int page) const { return state_->routerPageAddress(page); }
void TarvikCore::setDataDirectories(std::vector<std::filesystem::path> dirs) {
  state_->dataDirs = std::move(dirs);
}

std::string TarvikCore::soundFile(std::string_view sjisSetting) const {
  return state_->soundFile(sjisSetting);
}

const ChannelState& TarvikCore::channel(Channel ch) const {
  return state_->parser.channel(static_cast<int>(ch));
}
const std::string& TarvikCore::routerVersion() const { return state_->parser.routerVersion(); }
int TarvikCore::routerPageBase() const { return state_->parser.routerPageBase(); }
const std::vector<std::string>& TarvikCore::destinationList() const { return state_->destinations; }
bool TarvikCore::exchangeIdle() const { return state_->ExchangeIdle; }

}  // namespace tarvik
