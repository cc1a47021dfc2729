#pragma once
// Follows each channel from one status block to the next and tells what
// happened: a call rang and was answered or missed, a connection came up
// and ended, a dial failed or met a busy line, the router stopped and
// started answering. Finished events become journal records; moments worth
// a desktop notification become notices.

#include <array>
#include <string>
#include <vector>

#include "journal/journalrecord.h"
#include "monitor/channelstate.h"
#include "ports/clock.h"
#include "ports/notice.h"

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
  // A channel's status block has been parsed (channel 0 = B1, 1 = B2).
  void channelSeen(int channel, const ChannelState& state, const LocalTime& now);
  // The router refused a dial with messageSjis.
  void dialFailed(const std::string& messageSjis, const LocalTime& now);
  // A poll showed the dialled party busy.
  void busy(const LocalTime& now);
  void routerSilent(const LocalTime& now);
  void routerBack(const LocalTime& now);

 private:
  enum class Phase { Idle, Ringing, InUse };
  struct Line {
    Phase phase = Phase::Idle;
    bool fromRing = false;   // in use after ringing: an answered call
    bool connected = false;  // has had an address
    LocalTime since;         // the ring's or the connection's start
    std::string number;      // Shift-JIS
    std::string ip;
    JournalRecord target;  // destination, name and number of a connection
  };

  void ringEnded(int channel, Line& line, bool answered);
  void useEnded(int channel, Line& line, const LocalTime& now);
  void useSeen(Line& line, const ChannelState& state, const LocalTime& now);
  // Destination "#n" and its name from the destination list.
  JournalRecord destinationRecord(int index) const;
  JournalRecord connectionTarget(const std::string& phoneSjis) const;
  std::string callerName(const std::string& numberSjis) const;

  Sink& sink_;
  const std::vector<std::string>& nameList_;
  const std::vector<std::string>& destinations_;
  std::array<Line, 2> lines_;
  int lastDialled_ = -1;
  bool silent_ = false;
  LocalTime silentSince_;
};

}  // namespace tarvik
