#pragma once
// Everything TarvikCore knows, in one object of components, and the
// handlers that act on it. TarvikCore's commands come here through the
// gate; the parser reports back through the ParserHost half of this object.
//
// The handlers live in five files by subject:
//   tarvikcore.cpp    start-up, exit, exchanges and socket events
//   routerlink.cpp    each exchange's verdict: a router that cannot be used, told
//   coreticks.cpp     Timer1Timer (poll tick), Timer2Timer, TIMEMANTimer, watchdog
//   coreactions.cpp   dial, disconnect, credentials, reports, log fetch, web pages
//   parserhost.cpp    reactions to the parser's events, the display step

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/control/redial.h"
#include "engine/control/routerscript.h"
#include "engine/control/timedactions.h"
#include "engine/core/answerinparse.h"
#include "engine/core/closesequence.h"
#include "engine/core/commandgate.h"
#include "engine/core/credentialsquestion.h"
#include "engine/core/exchangetable.h"
#include "engine/core/linktrouble.h"
#include "engine/core/silentrouter.h"
#include "engine/core/tarvikcore.h"
#include "engine/core/viewmirror.h"
#include "engine/journal/calljournal.h"
#include "engine/monitor/cnttime.h"
#include "engine/monitor/consoleparser.h"
#include "engine/reactions/callernames.h"
#include "engine/reactions/connectionlogkeeper.h"
#include "engine/reactions/launchlist.h"

namespace tarvik {

struct TarvikCore::State final : ParserHost {
  State(CorePorts ports, SettingsFiles files);

  // --- ports, settings, components ---
  CorePorts ports;
  // Where every command comes in; it knows whether the settings are in and
  // whether FormClose has run.
  CommandGate gate{ports.view};
  SettingsFiles files;
  SettingsStore settings;
  ConsoleParser parser{*this};
  TCntTime CntTime1;
  ExchangeTable exchanges;
  Redial redial;
  TimedActions timed;
  RouterScript script;
  CallerDisplay callerDisplay;
  LaunchedApps launched;  // LaunchedApps, slots 1-3
  ApplicationList launchList;

  // --- exchange state (each exchange's chain and kind are in its entry) ---
  bool ExchangeIdle = true;
  // The answer being parsed and the exchange it came on.
  AnswerInParse answer;
  // The router the console exchanges go to. Taken from the settings at
  // start-up and when the settings dialog closes, not while the address is
  // being typed (the web pages follow the typed address at once).
  std::string linkHost;
  int linkPort = 23;
  void takeLinkAddress() { linkHost = settings.tarvik.SOHOIP; linkPort = settings.tarvik.PORT; }

  // --- start-up and exit ---
  // What the load could not take from Tarvik.ini (UTF-8), told once the
  // window shows; empty when all was taken.
  std::string settingsNotice;
  std::vector<std::string> arguments;
  bool PendingArguments = false;
  CloseSequence closing;
  // A log left in the current folder by an earlier version has been looked
  // for (once per run, at the first fetch that writes the log).
  bool oldLogAdopted = false;
  // Writes the connection log, keeping what could not be written.
  ConnectionLogKeeper logKeeper;

  // --- line control ---
  int DialTarget = 0;
  bool jigen = true;
  bool ScriptSuspended = false;
  CredentialsQuestion credentials;
  std::vector<std::string> destinations = std::vector<std::string>(kDestinationCount);
  int pollOverrideMs = 0;
  // Installed data folders, where the default sounds are found.
  std::vector<std::filesystem::path> dataDirs;
  // The file to play for a sound setting (Shift-JIS), or empty for silence.
  std::string soundFile(std::string_view sjisSetting) const;

  // --- what the windows show (UTF-8), as far as the core needs it back ---
  ViewMirror mirror{ports.view};

  // --- a router that stopped answering, or cannot be used ---
  SilentRouter silence;
  LinkTrouble link;
  // The status blocks of the answer being parsed, B1 and B2.
  std::array<bool, 2> blocksInAnswer{false, false};

  // --- what the channels showed: Tarvik-journal.csv and the notices ---
  CallJournal journal{ports.view, settings, files.directory(), destinations,
                      [this](const std::string& text, bool failure) { journalStatus(text, failure); }};
  // What the journal has to say while an answer is parsed waits for the
  // answer's own messages, which would hide it at once.
  std::string journalNote;
  bool journalNoteFailure = false;
  void journalStatus(const std::string& utf8, bool failure);
  void showJournalNote();

  // The commands (enginecommands.h), each in the file of its subject.
#define TARVIK_COMMAND_HANDLER(guard, result, name, parameters, arguments) result name parameters;
  TARVIK_ENGINE_COMMANDS(TARVIK_COMMAND_HANDLER)
#undef TARVIK_COMMAND_HANDLER

  // tarvikcore.cpp
  std::string saveWindowState(const WindowPlacement& placement);
  // Starts an exchange with chain. A poll's failure to open is swallowed;
  // any other is shown. The exchange, while it is open; null when it could
  // not be opened.
  Exchange* openExchange(const std::string& chain, bool command, bool quiet = false);
  void sent(Exchange& exchange, bool ok);
  // timedOut: the watchdog gave up on it; else the transport reported its
  // close (or a failed connect).
  void endExchange(SocketId socket, bool timedOut = false);
  ExchangeSigns parseAnswers(const std::vector<std::string>& answers, const Exchange& exchange);
  void routerAnswered();
  int pollIntervalMs() const;
  // The action words of a start: "co" dials the default destination, "b1"
  // and "b2" drop their channel.
  void actOnArguments(const std::vector<std::string>& words);

  // routerlink.cpp
  void judgeEndedExchange(const Exchange& exchange, bool timedOut);
  void answersUnreadable(Exchange& exchange);
  void linkFailed(LinkFault fault, const std::string& utf8);
  void linkWorked();
  // A router line (Shift-JIS) with the console password, and a per-call
  // password its exchange sent, masked: for whatever shows, logs or
  // journals it.
  std::string masked(std::string_view sjisLine) const;

  // coreticks.cpp
  void startTimeman();
  void countPollWithoutAnswer();
  void clearUnreachable();

  // coreactions.cpp
  void dialDestination(int destination);
  void Button4Click();
  void refuseDestination(int destination);
  void FetchConnectionLog(bool reportErrors);
  std::filesystem::path connectionLogFile() const;
  std::string routerPageAddress(int page) const;

  // parserhost.cpp
  void displayStep(int channel);
  void setStatus(const std::string& utf8);
  void setLabel1(const std::string& utf8);
  void play(const std::string& sjisSetting);

  bool commandExchange() const override { return answer.command(); }
  const std::vector<std::string>& nameList() const override { return settings.nameList; }
  void echoLine(const std::string& line) override;
  void routerBannerSeen(const std::string& line) override;
  void historyCaptureComplete(const std::vector<std::string>& logBuffer) override;
  void channelStatusParsed(int channel, ChannelState& state) override;
  void addressAssigned() override;
  void bothChannelsIdle() override;
  void refreshMainTip() override;
  void callDisconnected(const std::string& lineAfter) override;
  void incomingCall(const std::string& number) override;
  void noIncomingCall() override;
  void callFailed(const std::string& message) override;
  void dialStarted() override;
  void busyLineSeen(const std::string& line) override;
  void calledPartyBusy() override;
  void stopElapsed() override;
  void callConnected() override;
  void destinationListParsed(const std::array<std::string, kDestinationCount>& entries,
                             const std::array<std::string, kDestinationCount>& captions) override;
};

}  // namespace tarvik
