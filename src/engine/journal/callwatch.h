#pragma once
// Follows each channel from one status block to the next, and the router's
// messages in between, and tells what happened: a call rang and was
// answered or missed, a connection came up and ended, a dial failed or met
// a busy line, the router stopped and started answering. Finished events
// become journal records; moments worth a desktop notification become
// notices.
//
// A connection's start is the earliest the program knows of: when it first
// saw it, or earlier by the minutes the router's status block counts for it
// (so a connection that was up before the program started is journaled from
// its real start, and is not announced as new). Its minutes are whole
// minutes, as the status line and the router count them: the router's own
// count from its ending message when there is one.
//
// The router's counts move a start back only as far as what was seen
// allows: a connection began after its channel was last seen free (idle or
// ringing in a status block, or its previous connection ended); one known
// only from the router's ending message, on a channel not seen before,
// began when the message came; one up at the first look began at most
// kLongestConnectionMinutes before. The minutes journaled are the router's
// count cut to the time from that start, and no connection is journaled
// longer than kLongestConnectionMinutes (a longer one as its last stretch
// of that length).

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/journal/journalrecord.h"
#include "engine/journal/routerlines.h"
#include "engine/monitor/channelstate.h"
#include "engine/ports/clock.h"
#include "engine/ports/notice.h"

namespace tarvik {

class CallWatch {
 public:
  class Sink {
   public:
    virtual ~Sink() = default;
    virtual void record(const JournalRecord& record) = 0;
    virtual void notice(const Notice& notice) = 0;
  };

  // nameList and destinations (Shift-JIS, as the core keeps them) are read
  // at each use, so edits and a new destination list apply at once.
  CallWatch(Sink& sink, const std::vector<std::string>& nameList,
            const std::vector<std::string>& destinations);

  // The destination (0..15) a dial went to, for the records of its failure
  // and of a connection the destination list cannot name.
  void dialled(int destination);
  // An answer of the router (Shift-JIS), before its status blocks are
  // parsed: its messages about connections that came up or ended, which
  // may be all there is of a call shorter than one poll; the dials it
  // reports begun or failed, each failure journaled with its destination
  // and reason; and its connection history, which names the destination
  // of a connection the status blocks never showed.
  void answerSeen(std::string_view answerSjis, const LocalTime& now);
  void connectionReported(int channel, const LocalTime& now);
  // minutes: the router's count from its message, when it gave one.
  void disconnectionReported(int channel, std::optional<int> minutes, const LocalTime& now);
  // A channel's status block has been parsed (channel 0 = B1, 1 = B2).
  void channelSeen(int channel, const ChannelState& state, const LocalTime& now);
  // The router refused a dial with messageSjis. A failure the answer's own
  // lines have told already (answerSeen) is not journaled twice.
  void dialFailed(const std::string& messageSjis, const LocalTime& now);
  // A poll showed the dialled party busy.
  void busy(const LocalTime& now);
  void routerSilent(const LocalTime& now);
  void routerBack(const LocalTime& now);
  // The router cannot be used, for reasonUtf8 (it refused the login, cannot
  // be reached ...): told as a notice each time, journaled with the silent
  // stretch it starts or falls in. Its end, told as backUtf8, ends that
  // stretch.
  void linkFailed(const std::string& reasonUtf8, const LocalTime& now);
  void linkBack(const std::string& backUtf8, const LocalTime& now);

 private:
  enum class Phase { Idle, Ringing, InUse };
  struct Line {
    Phase phase = Phase::Idle;
    bool seen = false;       // a status block of this channel has been parsed
    bool fromRing = false;   // in use after ringing: an answered call
    bool connected = false;  // a connection is up (by its address or the router's message)
    bool announced = false;  // its connection notice has been sent (or was not news)
    bool old = false;        // up before this program first looked: no news
    // The router said the connection ended; the status block of the same
    // answer may still show it with its address.
    bool endedByMessage = false;
    // The connection ended by a status block; the router's message about
    // it may follow in a later answer.
    bool endedByStatus = false;
    LocalTime since;  // the ring's or the connection's start
    // When the channel was last seen free: no connection on it began before.
    std::optional<LocalTime> seenFree;
    // The earliest the router's counts may move the connection's start to.
    long long earliest = 0;  // journal seconds
    std::string number;      // Shift-JIS
    std::string ip;
    JournalRecord target;  // destination, name and number of a connection
  };

  void ringEnded(int channel, Line& line, bool answered);
  void beginConnection(Line& line, const LocalTime& since, bool old);
  void announce(const Line& line);
  // routerMinutes: the router's count, when its message gave one.
  void useEnded(int channel, Line& line, const LocalTime& now, std::optional<int> routerMinutes);
  // Where a connection that ends at end is journaled from.
  static LocalTime connectionStart(const Line& line, const LocalTime& end, std::optional<int> routerMinutes);
  void useSeen(Line& line, const ChannelState& state, const LocalTime& now, bool firstSight);
  // The channel a message names, else the likeliest one.
  int messageChannel(int named, bool connected) const;
  // Destination "#n" and its name from the destination list.
  JournalRecord destinationRecord(int index) const;
  JournalRecord connectionTarget(const std::string& phoneSjis) const;
  // Fills what a connection's record lacks from what the router told of
  // the channel: the destination and number of its history's connection.
  void fillFromRouter(int channel, JournalRecord& record) const;
  // A destination the router named: "#n" and its name.
  JournalRecord routerNamed(const RouterDestination& destination) const;
  void journalFailure(JournalRecord record, const LocalTime& now);
  std::string callerName(const std::string& numberSjis) const;

  Sink& sink_;
  const std::vector<std::string>& nameList_;
  const std::vector<std::string>& destinations_;
  std::array<Line, 2> lines_;
  int lastDialled_ = -1;
  // Per channel, the destination the router's history last reported up.
  std::array<std::optional<RouterDestination>, 2> historyTarget_;
  // The failure messages of the latest answer, journaled from its lines
  // (or left out as the history's).
  std::vector<std::string> answerFailures_;
  // A stretch without an answer from the router, as far as the journal
  // goes: true from its start until its record is written.
  bool startStretch(const LocalTime& now, const std::string& reason);
  bool endStretch(const LocalTime& now);
  bool silent_ = false;
  LocalTime silentSince_;
  std::string silentReason_;  // UTF-8, the journal's result
};

}  // namespace tarvik
