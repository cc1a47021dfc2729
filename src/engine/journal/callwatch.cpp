#include "engine/journal/callwatch.h"

#include <algorithm>

#include "engine/base/bytes.h"
#include "engine/base/sjis.h"
#include "engine/journal/callmessages.h"
#include "engine/journal/journaltime.h"
#include "engine/reactions/callernames.h"

namespace tarvik {
namespace {

const char* channelName(int channel) { return channel == 0 ? "B1" : "B2"; }

// "Name 0312345678", or whichever of the two there is.
std::string joined(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return a + " " + b;
}

// What the notices call a destination: its name, else its number "#n".
std::string destinationText(const JournalRecord& r) { return r.name.empty() ? r.destination : r.name; }

bool hasAddress(const std::string& ip) { return contains(ip, "."); }

}  // namespace

CallWatch::CallWatch(Sink& sink, const std::vector<std::string>& nameList,
                     const std::vector<std::string>& destinations)
    : sink_(sink), nameList_(nameList), destinations_(destinations) {}

void CallWatch::dialled(int destination) { lastDialled_ = destination; }

void CallWatch::answerSeen(std::string_view answerSjis, const LocalTime& now) {
  // A dial the router reports begun names the destination as surely as
  // one this program sent: its own dials are answered the same way.
  for (int destination : findDialStarts(answerSjis)) lastDialled_ = destination;
  const std::array<ChannelHistory, 2> history = findChannelHistory(answerSjis);
  for (std::size_t ch = 0; ch < history.size(); ++ch)
    if (history[ch].mentioned) historyTarget_[ch] = history[ch].connectedTo;
  answerFailures_.clear();
  for (const DialFailure& f : findDialFailures(answerSjis)) {
    answerFailures_.push_back(f.reason);
    if (f.past) continue;
    JournalRecord r = f.destination.index >= 0 ? routerNamed(f.destination) : destinationRecord(lastDialled_);
    r.result = toUtf8(f.reason);
    journalFailure(r, now);
  }
  for (const CallMessage& m : findCallMessages(answerSjis)) {
    if (m.kind == CallMessage::Kind::Connected) {
      connectionReported(m.channel, now);
    } else {
      disconnectionReported(m.channel, m.minutes, now);
    }
  }
}

int CallWatch::messageChannel(int named, bool connected) const {
  if (named == 0 || named == 1) return named;
  return lines_[0].connected == connected ? 0 : lines_[1].connected == connected ? 1 : 0;
}

void CallWatch::connectionReported(int channel, const LocalTime& now) {
  const int ch = messageChannel(channel, false);
  Line& line = lines_[ch];
  line.endedByMessage = false;
  if (line.connected) return;  // its status block came first
  if (line.phase == Phase::Ringing) ringEnded(ch, line, true);
  line.fromRing = line.phase == Phase::Ringing || (line.phase == Phase::InUse && line.fromRing);
  line.phase = Phase::InUse;
  line.ip.clear();
  line.number.clear();
  beginConnection(line, now, false);
}

// A connection the program saw end: the router's message says so, with
// the minutes it counted. One the program never saw come up (shorter than
// a poll, with its coming up in no answer) is journaled from what the
// message tells.
void CallWatch::disconnectionReported(int channel, std::optional<int> minutes, const LocalTime& now) {
  const int ch = messageChannel(channel, true);
  Line& line = lines_[ch];
  if (line.connected) {
    useEnded(ch, line, now, minutes);
    line.endedByMessage = true;
    return;
  }
  if (line.endedByStatus) {  // journaled already, when the status showed it gone
    line.endedByStatus = false;
    return;
  }
  if (!minutes) return;  // a dial or a ring given up: no connection
  line.fromRing = false;
  line.ip.clear();
  line.number.clear();
  beginConnection(line, now, false);
  // The message is all that was seen of it: it began after the channel was
  // last seen free, or, on a channel not seen before, when the message came.
  line.earliest = journalSeconds(line.seenFree ? *line.seenFree : now);
  useEnded(ch, line, now, minutes);
  line.endedByMessage = true;
}

void CallWatch::channelSeen(int channel, const ChannelState& state, const LocalTime& now) {
  Line& line = lines_[channel];
  const bool firstSight = !line.seen;
  line.seen = true;
  const Phase phase = state.Idle ? Phase::Idle : showsRinging(state) ? Phase::Ringing : Phase::InUse;
  if (line.phase == Phase::Ringing && phase != Phase::Ringing)
    ringEnded(channel, line, phase == Phase::InUse);
  if (line.phase == Phase::InUse && phase != Phase::InUse) {
    line.endedByStatus = line.connected;
    useEnded(channel, line, now, std::nullopt);
  }
  if (phase != Phase::InUse) {
    line.endedByMessage = false;
    line.seenFree = now;
  }

  if (phase == Phase::Ringing && line.phase != Phase::Ringing) {
    line.since = now;
    line.number = state.text(ChannelState::PhoneNumber);
    const std::string number = toUtf8(line.number);
    sink_.notice({NoticeKind::IncomingCall, "着信", joined(callerName(line.number), number)});
  }
  if (phase == Phase::InUse && line.phase != Phase::InUse) {
    line.fromRing = line.phase == Phase::Ringing;
    line.connected = false;
    line.ip.clear();
  }
  line.phase = phase;
  if (phase == Phase::InUse) useSeen(line, state, now, firstSight);
}

void CallWatch::beginConnection(Line& line, const LocalTime& since, bool old) {
  line.connected = true;
  line.announced = old;
  line.old = old;
  line.endedByStatus = false;
  line.since = since;
  line.earliest = line.seenFree ? journalSeconds(*line.seenFree)
                                : journalSeconds(since) - 60LL * kLongestConnectionMinutes;
  line.target = connectionTarget(line.number);
}

void CallWatch::announce(const Line& line) {
  sink_.notice({NoticeKind::Connected, "接続", joined(destinationText(line.target), toUtf8(line.ip))});
}

void CallWatch::useSeen(Line& line, const ChannelState& state, const LocalTime& now, bool firstSight) {
  const std::string& ip = state.text(ChannelState::IPAddress);
  const bool addressed = hasAddress(ip);
  // The status of a connection the router has said ended (printed before
  // its message); a new address is a new connection. The address of one
  // known only from its message is not known: the line is idle first.
  if (line.endedByMessage && (!addressed || line.ip.empty() || ip == line.ip)) return;
  line.endedByMessage = false;
  const std::string& number = state.text(ChannelState::PhoneNumber);
  if (addressed) {
    line.ip = ip;
    if (!line.connected) {
      line.number = number;
      // Up at the first look, and not dialled by this program: a
      // connection from before it started.
      beginConnection(line, now, firstSight && lastDialled_ < 0);
    }
  }
  if (!line.connected) return;
  if (line.number.empty() && !number.empty()) {
    line.number = number;
    line.target = connectionTarget(number);
  }
  if (auto minutes = connectionFieldMinutes(state.text(ChannelState::ConnectTime))) {
    const long long counted = std::max(journalSeconds(now) - 60LL * *minutes, line.earliest);
    if (counted < journalSeconds(line.since)) line.since = fromJournalSeconds(counted);
  }
  if (!line.announced && !line.ip.empty()) {
    line.announced = true;
    announce(line);
  }
}

// The router's count moves the start back, as far as the connection's
// earliest start; never more than the longest connection before its end.
LocalTime CallWatch::connectionStart(const Line& line, const LocalTime& end,
                                     std::optional<int> routerMinutes) {
  const long long endSeconds = journalSeconds(end);
  long long start = journalSeconds(line.since);
  if (routerMinutes) start = std::min(start, std::max(endSeconds - 60LL * *routerMinutes, line.earliest));
  start = std::max(start, endSeconds - 60LL * kLongestConnectionMinutes);
  return fromJournalSeconds(start);
}

void CallWatch::ringEnded(int channel, Line& line, bool answered) {
  JournalRecord r;
  r.event = JournalEvent::Incoming;
  r.start = line.since;
  r.channel = channelName(channel);
  r.number = toUtf8(line.number);
  r.name = callerName(line.number);
  r.result = answered ? kJournalAnswered : kJournalMissed;
  sink_.record(r);
}

// An answered call that became a connection is told about, but only calls
// this side placed are counted as time online. A connection that ended
// before its address was seen is announced as it ends.
void CallWatch::useEnded(int channel, Line& line, const LocalTime& now, std::optional<int> routerMinutes) {
  if (!line.connected) return;
  if (!line.announced) announce(line);
  JournalRecord r = line.target;
  fillFromRouter(channel, r);
  r.event = JournalEvent::Outgoing;
  r.start = connectionStart(line, now, routerMinutes);
  r.end = now;
  r.channel = channelName(channel);
  r.ip = toUtf8(line.ip);
  r.minutes = wholeMinutes(r.start, now);
  if (routerMinutes && *routerMinutes < r.minutes) r.minutes = *routerMinutes;
  sink_.notice({NoticeKind::Disconnected, "切断",
                joined(destinationText(r), "接続時間 " + std::to_string(r.minutes) + "分")});
  if (!line.fromRing) sink_.record(r);
  historyTarget_[static_cast<std::size_t>(channel)].reset();  // that connection is over
  line.seenFree = now;
  line.connected = false;
  line.announced = false;
  line.old = false;
}

void CallWatch::dialFailed(const std::string& messageSjis, const LocalTime& now) {
  // The answer to a disconnect on a free line is no failed dial.
  static const std::string kAlreadyFree = toSjis("既に切断されています");
  if (messageSjis == kAlreadyFree) return;
  for (const std::string& told : answerFailures_)
    if (told.starts_with(messageSjis)) return;
  JournalRecord r = destinationRecord(lastDialled_);
  r.result = toUtf8(messageSjis);
  journalFailure(r, now);
}

void CallWatch::journalFailure(JournalRecord r, const LocalTime& now) {
  r.event = JournalEvent::Failed;
  r.start = now;
  sink_.record(r);
  sink_.notice({NoticeKind::DialFailed, "接続失敗", joined(destinationText(r), r.result)});
}

void CallWatch::busy(const LocalTime& now) {
  JournalRecord r = destinationRecord(lastDialled_);
  r.event = JournalEvent::Busy;
  r.start = now;
  sink_.record(r);
  sink_.notice({NoticeKind::DialFailed, "話中", destinationText(r)});
}

bool CallWatch::startStretch(const LocalTime& now, const std::string& reason) {
  if (silent_) {
    if (silentReason_.empty()) silentReason_ = reason;
    return false;
  }
  silent_ = true;
  silentSince_ = now;
  silentReason_ = reason;
  return true;
}

bool CallWatch::endStretch(const LocalTime& now) {
  if (!silent_) return false;
  silent_ = false;
  JournalRecord r;
  r.event = JournalEvent::Unreachable;
  r.start = silentSince_;
  r.end = now;
  r.minutes = wholeMinutes(silentSince_, now);
  r.result = silentReason_;
  sink_.record(r);
  return true;
}

void CallWatch::routerSilent(const LocalTime& now) {
  if (!startStretch(now, {})) return;
  sink_.notice({NoticeKind::RouterSilent, "ルーター", "ルーターから応答がありません"});
}

void CallWatch::routerBack(const LocalTime& now) {
  if (!endStretch(now)) return;
  sink_.notice({NoticeKind::RouterBack, "ルーター", "ルーターが再び応答しています"});
}

void CallWatch::linkFailed(const std::string& reasonUtf8, const LocalTime& now) {
  startStretch(now, reasonUtf8);
  sink_.notice({NoticeKind::LinkFailed, "ルーター", reasonUtf8});
}

void CallWatch::linkBack(const std::string& backUtf8, const LocalTime& now) {
  endStretch(now);
  sink_.notice({NoticeKind::LinkBack, "ルーター", backUtf8});
}

// A destination entry starts with "#n" and the name, within its first 20
// bytes (what the menus show).
JournalRecord CallWatch::destinationRecord(int index) const {
  JournalRecord r;
  if (index < 0 || index >= static_cast<int>(destinations_.size())) return r;
  r.destination = "#" + std::to_string(index);
  std::string_view caption = trimBlanks(sjisCut(destinations_[index], 20));
  if (caption.starts_with('#')) {
    const std::size_t blank = caption.find(' ');
    caption = blank == std::string_view::npos ? std::string_view() : trimBlanks(caption.substr(blank));
  }
  r.name = toUtf8(caption);
  return r;
}

// The destination whose entry holds the connection's number; else the one
// last dialled. The name list names what the destination list does not.
JournalRecord CallWatch::connectionTarget(const std::string& phoneSjis) const {
  int index = -1;
  if (!phoneSjis.empty()) {
    for (std::size_t i = 0; i < destinations_.size() && index < 0; ++i)
      if (contains(destinations_[i], phoneSjis)) index = static_cast<int>(i);
  }
  JournalRecord r = destinationRecord(index >= 0 ? index : lastDialled_);
  if (r.name.empty()) r.name = callerName(phoneSjis);
  if (!phoneSjis.empty()) r.number = toUtf8(phoneSjis);
  return r;
}

// The destination list's name for it, else the router's.
JournalRecord CallWatch::routerNamed(const RouterDestination& d) const {
  JournalRecord r = destinationRecord(d.index);
  r.destination = "#" + std::to_string(d.index);
  if (r.name.empty()) r.name = toUtf8(d.name);
  return r;
}

void CallWatch::fillFromRouter(int channel, JournalRecord& r) const {
  const std::optional<RouterDestination>& told = historyTarget_[static_cast<std::size_t>(channel)];
  if (r.destination.empty() && told) {
    const JournalRecord named = routerNamed(*told);
    r.destination = named.destination;
    r.name = named.name;
    if (r.number.empty()) r.number = toUtf8(told->number);
  }
}

std::string CallWatch::callerName(const std::string& numberSjis) const {
  auto name = destinationName(nameList_, numberSjis);
  return name ? toUtf8(*name) : std::string();
}

}  // namespace tarvik
