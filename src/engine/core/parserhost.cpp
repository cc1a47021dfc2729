// What the program does about each thing the parser sees, and the channel
// boxes' display step.

#include <filesystem>
#include <optional>

#include "engine/base/bytes.h"
#include "engine/base/pathtext.h"
#include "engine/base/sjis.h"
#include "engine/control/displaystep.h"
#include "engine/core/corestate.h"
#include "engine/core/coretexts.h"
#include "engine/reactions/connectionlog.h"
#include "engine/reactions/soundpaths.h"

namespace tarvik {

namespace {

Channel channelOf(int index) { return index == 0 ? Channel::B1 : Channel::B2; }

bool fileExists(const std::string& utf8Path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(pathFromUtf8(utf8Path), ec);
}

}  // namespace

void TarvikCore::State::setStatus(const std::string& utf8) { mirror.setStatus(utf8); }

void TarvikCore::State::journalStatus(const std::string& utf8, bool failure) {
  journalNote = utf8;
  journalNoteFailure = failure;
  if (!answer.parsing()) showJournalNote();
}

void TarvikCore::State::showJournalNote() {
  if (journalNote.empty()) return;
  std::string note;
  note.swap(journalNote);
  if (!journalNoteFailure) return setStatus(note);
  mirror.showStatusError(note);
}

void TarvikCore::State::setLabel1(const std::string& utf8) { mirror.setLabel1(utf8); }

std::string TarvikCore::State::soundFile(std::string_view sjisSetting) const {
  return findSoundFile(settingsPath(sjisSetting), {files.directory(), dataDirs});
}

void TarvikCore::State::play(const std::string& sjisSetting) {
  std::string path = soundFile(sjisSetting);
  if (!path.empty()) ports.sound.play(path);
}

void TarvikCore::State::Edit1Click() { displayStep(0); }

void TarvikCore::State::Edit2Click() { displayStep(1); }

// One step on to the next field switched on, and show it.
void TarvikCore::State::displayStep(int channel) {
  const FieldSwitches enabled{true,
                              settings.option.showConnectionTime,
                              settings.option.showIpAddress,
                              settings.option.showConnectionMode,
                              settings.option.showPhoneNumber,
                              settings.option.showLineUsage,
                              settings.option.showTransferRate};
  ChannelState& state = parser.channel(channel);
  state.DisplayIndex = nextDisplayIndex(state.DisplayIndex, enabled);
  mirror.setChannelText(channel, state.texts[state.DisplayIndex]);
}

void TarvikCore::State::echoLine(const std::string& line) {
  if (!answer.quiet()) ports.view.appendDetails(toUtf8(masked(line)));
}

void TarvikCore::State::routerBannerSeen(const std::string& line) {
  ports.view.setRouterVersion(toUtf8(line));
}

// A failed write keeps the old file as it was and the lines for the next
// fetch; it is told as the journal's failure is, and its end too.
void TarvikCore::State::historyCaptureComplete(const std::vector<std::string>& logBuffer) {
  const std::filesystem::path file = connectionLogFile();
  std::vector<std::string> lines;
  lines.reserve(logBuffer.size());
  for (const std::string& line : logBuffer) lines.push_back(masked(line));
  const ConnectionLogKeeper::Written written = logKeeper.write(file, lines);
  if (written.ok) setStatus(texts::kLogWritten);
  if (written.change == ConnectionLogKeeper::Change::kNone) return;
  const bool failed = written.change == ConnectionLogKeeper::Change::kFailed;
  const std::string text = failed ? connectionLogWriteFailedText(file) : connectionLogWritingAgainText(file);
  // Held like the journal's note until the answer is through, so that the
  // router's next lines do not hide it.
  journalStatus(text, failed);
  const Notice notice{failed ? NoticeKind::LogFailed : NoticeKind::LogBack, "接続ログ", text};
  if (noticeWanted(settings, notice.kind)) ports.view.notify(notice);
}

void TarvikCore::State::channelStatusParsed(int channel, ChannelState& state) {
  const Channel ch = channelOf(channel);
  blocksInAnswer[channel] = true;
  mirror.channelReported(channel);
  journal.watch().channelSeen(channel, state, ports.clock.now());
  ports.view.setChannelIconVisible(ch, settings.option.showChannelTrayIcons && !state.Idle);
  ports.view.setChannelTip(ch, toUtf8(sjisCut(state.text(ChannelState::IPAddress), 255)));
  if (auto name = destinationName(settings.nameList, state.text(ChannelState::PhoneNumber))) {
    setLabel1(toUtf8(*name));
  }
  // With NEXT the box keeps its field: one back, then the usual step on.
  if (settings.option.NEXT) state.DisplayIndex -= 1;
  displayStep(channel);
}

void TarvikCore::State::addressAssigned() {
  auto address = connectionAddress(parser.channel(0).text(ChannelState::IPAddress),
                                   parser.channel(1).text(ChannelState::IPAddress));
  if (!address) {
    parser.armLaunch();  // no usable address yet: wait for one
    return;
  }
  for (const std::string& commandLine : launched.AutoAppClick(ports.launcher, launchList, *address)) {
    mirror.showStatusError(texts::kCannotStart + commandLine);
  }
}

void TarvikCore::State::bothChannelsIdle() {
  stopElapsed();
  if (silence.bothChannelsIdle()) setStatus(texts::kWaiting);
}

void TarvikCore::State::refreshMainTip() {
  if (link.troubled()) {
    ports.view.setMainTip(link.text());
    return;
  }
  if (silence.silent()) {
    ports.view.setMainTip(texts::kUnreachable);
    return;
  }
  std::string tip = "B1 " + mirror.channelText(0) + " / B2 " + mirror.channelText(1);
  ports.view.setMainTip(toUtf8(sjisCut(tip, 255)));
}

void TarvikCore::State::callDisconnected(const std::string& lineAfter) {
  silence.callEndSeen();
  ports.view.setPanelColour(PanelColour::Normal);
  play(settings.sound.s3);
  if (settings.option.parkOnDisconnect) ports.view.parkWindow();
  launched.endAll(ports.launcher);
  setStatus(toUtf8(masked(lineAfter)));
  if (closing.disconnected()) {
    ExchangeIdle = false;
    ports.view.requestClose();
  } else if (settings.option.saveConnectionLog) {
    // The exchange that shows the disconnection is still open here, so a
    // fetch now could not send "sh h"; the log-fetch timer runs it once
    // that exchange has ended.
    startTimeman();
  }
}

void TarvikCore::State::incomingCall(const std::string& number) {
  const SoundFolders folders{files.directory(), dataDirs};
  // A name sound counts as there when it is found where every sound is.
  auto found = [&folders](const std::string& path) { return fileExists(findSoundFile(path, folders)); };
  std::string sound = callerDisplay.ShowCallerName(number, settings.sound.NAMESOUND, settings.sound.s8, found);
  if (!sound.empty()) ports.sound.play(findSoundFile(sound, folders));
  // The ringing caller, by name when listed, else by number: never a name
  // left from an earlier call or dial.
  const std::optional<std::string> name = destinationName(settings.nameList, number);
  setLabel1(name ? toUtf8(*name) : number.empty() ? std::string(texts::kIncomingCaption) : toUtf8(number));
  ports.view.showCallerName(mirror.label1(), toUtf8(number));
}

void TarvikCore::State::noIncomingCall() {
  if (callerDisplay.ClearCallerName()) ports.view.clearCallerName();
}

void TarvikCore::State::callFailed(const std::string& message) {
  journal.watch().dialFailed(message, ports.clock.now());
  setStatus(toUtf8(message));
  if (settings.option.saveConnectionLog) startTimeman();
}

void TarvikCore::State::dialStarted() { play(settings.sound.s1); }

// The dial is over: the status line no longer says it started.
void TarvikCore::State::busyLineSeen(const std::string& line) { setStatus(toUtf8(masked(line))); }

void TarvikCore::State::calledPartyBusy() {
  ports.view.appendDetails(texts::kRedial);
  play(settings.sound.s5);
  redial.busy();
  journal.watch().busy(ports.clock.now());
}

void TarvikCore::State::stopElapsed() {
  ports.timers.stop(TimerId::Timer2);
  CntTime1.Snapshot();
}

void TarvikCore::State::callConnected() {
  CntTime1.Start();
  ports.view.setPanelColour(PanelColour::Normal);
  if (settings.option.restoreOnConnect) ports.view.restoreWindow();
  play(settings.sound.s2);
  if (settings.option.saveConnectionLog) startTimeman();
  ports.timers.start(TimerId::Timer2, 1000, false);
}

void TarvikCore::State::destinationListParsed(const std::array<std::string, kDestinationCount>& entries,
                                              const std::array<std::string, kDestinationCount>& captions) {
  std::vector<std::string> shownEntries;
  for (int i = 0; i < kDestinationCount; ++i) {
    destinations[i] = entries[i];
    shownEntries.push_back(toUtf8(entries[i]));
    ports.view.setDestinationCaption(i, toUtf8(captions[i]));
  }
  ports.view.setDestinationList(shownEntries);
  const int defaultDestination = settings.tarvik.DEFAULT;
  ports.view.setConnectHint(isDestination(defaultDestination) ? shownEntries[defaultDestination]
                                                              : std::string());
  ports.view.clearDetails();
  if (settings.option.saveConnectionLog) startTimeman();
}

}  // namespace tarvik
