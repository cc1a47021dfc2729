#pragma once
// The simulated router: sixteen destinations, two B channels, the
// connection and analogue histories, charges and the clock. One instance
// serves every console, control and web connection, so they all see the
// same router. Texts are Shift-JIS.

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <array>
#include <deque>
#include <random>
#include <set>
#include <string>

#include "options.h"

namespace sim {

struct Destination {
  std::string name;    // up to 15 bytes
  std::string number;  // empty: not set up
  std::string mode;    // "PPP" or "MP"
  int idleTimeoutSec = 0;
  bool perCall = false;  // user ID and password are given per call (" *")
  std::string userId;
  std::string password;
  bool busy = false;
  bool failing = false;
  int calls = 0;
  long long minutes = 0;  // connection minutes this month
  long long yen = 0;
};

enum class Phase { Idle, Dialling, Connected, Ringing };

struct Channel {
  Phase phase = Phase::Idle;
  int dest = -1;       // destination of an outgoing call
  std::string number;  // the other party
  std::string mode;
  std::string ip;
  std::string peerIp;
  qint64 startMs = 0;  // when connected (or dialled, or rang)
  int up = 0;          // line usage, percent
  int down = 0;
  int bod = 0;
  unsigned call = 0;  // bumped on every change, so that stale call timers do nothing
};

class Router : public QObject {
 public:
  explicit Router(const Options& options, QObject* parent = nullptr);

  // --- what the console shows
  char variant() const { return variant_; }
  const std::string& password() const { return password_; }
  // For new logins; empty: the console asks for none.
  void setConsolePassword(std::string password) { password_ = std::move(password); }
  char kanjiCode() const { return kanjiCode_; }
  void setKanjiCode(char code) { kanjiCode_ = code; }
  const std::array<Destination, 16>& destinations() const { return dests_; }
  const std::array<Channel, 2>& channels() const { return channels_; }
  const std::deque<std::string>& history() const { return history_; }
  const std::deque<std::string>& analogHistory() const { return analogHistory_; }
  long long connectMinutes(int channel) const;
  QDateTime now() const;
  qint64 uptimeMs() const { return uptime_.elapsed(); }
  std::string destLabel(int dest) const;  // "#n:name"

  // Moves the line usage of connected channels a little; called per status.
  void stirUsage();

  // --- console actions; each returns its answer (Shift-JIS, lines end LF CR)
  std::string dial(int dest);
  // channel 0 (B1), 1 (B2) or -1 (all)
  std::string disconnect(int channel);
  std::string setUserId(int dest, const std::string& id);
  std::string setPassword(int dest, const std::string& password);
  void setClock(const QDateTime& when);

  // Messages of things that happened since the last answer ("B1チャネルを
  // 接続しました。", busy and failure reports); printed once, by whichever
  // console answers next.
  std::string takeNotices();

  // --- control actions
  int ring(const std::string& number);  // channel used, or -1 when none is free
  bool stopRing();
  int hangup();  // channels dropped
  void setBusy(int dest, bool on) { dests_[dest].busy = on; }
  void setFailing(int dest, bool on) { dests_[dest].failing = on; }
  void addHistory(const std::string& text);
  std::set<Fault>& faults() { return faults_; }
  Timing& timing() { return timing_; }
  std::string stateLine() const;

  std::mt19937& rng() { return rng_; }
  int& sessions() { return sessions_; }
  // Console sessions that have ended, counted from the start: a client's
  // exchange is over once its session is.
  int& endedSessions() { return endedSessions_; }

 private:
  int freeChannel() const;
  void finishDial(int channel, unsigned call);
  std::string endCall(int channel, const std::string& why, const std::string& historyWord);
  void addAnalogHistory(const std::string& text);
  std::string stamp() const;  // "MM/DD hh:mm:ss "
  std::string newAddress(int lastOctetBase);
  void seedHistories();

  char variant_;
  std::string password_;
  char kanjiCode_;
  std::size_t historySize_;
  std::set<Fault> faults_;
  Timing timing_;
  std::mt19937 rng_;
  int sessions_ = 0;
  int endedSessions_ = 0;

  std::array<Destination, 16> dests_;
  std::array<Channel, 2> channels_;
  std::deque<std::string> history_;
  std::deque<std::string> analogHistory_;
  std::string notices_;

  QDateTime clockBase_;
  QElapsedTimer clockRun_;
  QElapsedTimer uptime_;
};

const char* channelName(int channel);  // "B1" or "B2"

}  // namespace sim
