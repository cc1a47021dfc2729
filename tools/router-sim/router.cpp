#include "router.h"

#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "sjistext.h"

namespace sim {
namespace {

struct DestinationSeed {
  const char* name;
  const char* number;
  const char* mode;
  int idleTimeoutSec;
  bool perCall;
  const char* userId;
  const char* password;
};

// The router's stored destinations. Empty rows are destinations nobody set up;
// #1 and #15 take their user ID and password per call.
const DestinationSeed kDestinations[16] = {
    {"Tarvik ISP", "0312345678", "PPP", 180, false, "tarvik01", "ppp-secret"},
    {"会社", "0452223333", "MP", 300, true, "", ""},
    {"実家", "0663334444", "PPP", 120, false, "home", "home-pw"},
    {"", "", "", 0, false, "", ""},
    {"大学", "0223335555", "PPP", 180, false, "s1234567", "campus"},
    {"ﾌﾟﾛﾊﾞｲﾀﾞB", "0570012345", "PPP", 60, false, "pb-user", "pb-pw"},
    {"支店", "0922226666", "MP", 300, false, "branch", "branch-pw"},
    {"", "", "", 0, false, "", ""},
    {"夜間用ISP", "0351112222", "PPP", 600, false, "night", "night-pw"},
    {"予備回線", "0311110000", "PPP", 180, false, "backup", "backup-pw"},
    {"", "", "", 0, false, "", ""},
    {"図書館", "0427778888", "PPP", 120, false, "library", "lib-pw"},
    {"", "", "", 0, false, "", ""},
    {"ﾃｽﾄ回線", "0300000000", "PPP", 60, false, "test", "test-pw"},
    {"", "", "", 0, false, "", ""},
    {"ﾓﾊﾞｲﾙ", "09012345678", "PPP", 60, true, "", ""},
};

std::string eol() { return std::string(kEol); }

}  // namespace

const char* channelName(int channel) { return channel == 0 ? "B1" : "B2"; }

Router::Router(const Options& options, QObject* parent)
    : QObject(parent),
      variant_(options.variant),
      password_(options.password),
      kanjiCode_(options.kanjiCode),
      historySize_(static_cast<std::size_t>(options.historySize)),
      faults_(options.faults),
      timing_(options.timing),
      rng_(options.seed ? *options.seed : static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch())),
      clockBase_(QDateTime::currentDateTime()) {
  clockRun_.start();
  uptime_.start();
  for (int i = 0; i < 16; ++i) {
    const DestinationSeed& s = kDestinations[i];
    Destination& d = dests_[i];
    d.name = sj(s.name);
    d.number = s.number;
    d.mode = s.mode;
    d.idleTimeoutSec = s.idleTimeoutSec;
    d.perCall = s.perCall;
    d.userId = s.userId;
    d.password = s.password;
    d.busy = options.busy.count(i) > 0;
    d.failing = options.failing.count(i) > 0;
    if (!d.number.empty()) {
      d.minutes = std::uniform_int_distribution<int>(0, 300)(rng_);
      d.calls = static_cast<int>(d.minutes / 20);
      d.yen = (d.minutes / 3 + d.calls) * 10;
    }
  }
  seedHistories();
}

void Router::seedHistories() {
  // A few entries from the day before, so that a fresh router already has a
  // history to show.
  const QDate day = now().date().addDays(-1);
  auto at = [&](int h, int m, int s, const char* text) {
    char head[32];
    std::snprintf(head, sizeof head, "%02d/%02d %02d:%02d:%02d ", day.month(), day.day(), h, m, s);
    return head + sj(text);
  };
  history_ = {
      at(19, 2, 10, "B1 接続 #0:Tarvik ISP 0312345678"),
      at(19, 45, 33, "B1 切断 #0:Tarvik ISP 0312345678 43分"),
      at(22, 10, 5, "B1 発信失敗 #2:実家 0663334444 相手話中"),
      at(23, 1, 40, "B1 接続 #4:大学 0223335555"),
      at(23, 20, 12, "B1 切断 #4:大学 0223335555 18分"),
  };
  analogHistory_ = {
      at(18, 20, 5, "アナログ1 着信 0452223333 通話 5分"),
      at(20, 41, 50, "アナログ1 発信 0663334444 通話 12分"),
      at(21, 15, 0, "アナログ2 着信 非通知 応答なし"),
  };
  while (history_.size() > historySize_) history_.pop_front();
}

QDateTime Router::now() const { return clockBase_.addMSecs(clockRun_.elapsed()); }

void Router::setClock(const QDateTime& when) {
  clockBase_ = when;
  clockRun_.restart();
}

std::string Router::stamp() const {
  const QDateTime t = now();
  char head[32];
  std::snprintf(head, sizeof head, "%02d/%02d %02d:%02d:%02d ", t.date().month(), t.date().day(),
                t.time().hour(), t.time().minute(), t.time().second());
  return head;
}

std::string Router::destLabel(int dest) const { return "#" + std::to_string(dest) + ":" + dests_[dest].name; }

long long Router::connectMinutes(int channel) const {
  const Channel& c = channels_[channel];
  if (c.phase != Phase::Connected) return 0;
  return (uptime_.elapsed() - c.startMs) / timing_.minuteMs;
}

void Router::addHistory(const std::string& text) {
  history_.push_back(stamp() + text);
  while (history_.size() > historySize_) history_.pop_front();
}

void Router::addAnalogHistory(const std::string& text) {
  analogHistory_.push_back(stamp() + text);
  while (analogHistory_.size() > historySize_) analogHistory_.pop_front();
}

int Router::freeChannel() const {
  for (int i = 0; i < 2; ++i)
    if (channels_[i].phase == Phase::Idle) return i;
  return -1;
}

std::string Router::newAddress(int lastOctetBase) {
  int last = lastOctetBase + std::uniform_int_distribution<int>(0, 99)(rng_);
  return "203.0.113." + std::to_string(last);
}

std::string Router::dial(int dest) {
  if (dest < 0 || dest > 15) return sj("接続先番号が正しくありません。(0-15)") + eol();
  const Destination& d = dests_[dest];
  if (d.number.empty()) return "#" + std::to_string(dest) + sj(": 番号を設定してください") + eol();
  const int ch = freeChannel();
  if (ch < 0) return sj("空きチャネルがありません。") + eol();
  Channel& c = channels_[ch];
  c = Channel{Phase::Dialling, dest, d.number, d.mode, "", "", uptime_.elapsed(), 0, 0, 0, c.call + 1};
  // The password is read when the call is placed: a client may clear it
  // again right after "co n".
  const bool credentialsMissing = d.perCall && d.password.empty();
  const unsigned call = c.call;
  QTimer::singleShot(timing_.connectDelayMs, this, [this, ch, call, credentialsMissing] {
    if (channels_[ch].call != call || channels_[ch].phase != Phase::Dialling) return;
    if (credentialsMissing) {
      const int dest = channels_[ch].dest;
      channels_[ch] = Channel{Phase::Idle, -1, "", "", "", "", 0, 0, 0, 0, call + 1};
      notices_ += destLabel(dest) + sj(" 接続に失敗しました（認証エラー）") + eol();
      addHistory(std::string(channelName(ch)) + sj(" 発信失敗 ") + destLabel(dest) + " " +
                 dests_[dest].number + sj(" 認証エラー"));
      return;
    }
    finishDial(ch, call);
  });
  return destLabel(dest) + sj(" へ接続中．") + eol();
}

void Router::finishDial(int ch, unsigned call) {
  Channel& c = channels_[ch];
  const int dest = c.dest;
  Destination& d = dests_[dest];
  const std::string who = destLabel(dest) + " " + d.number;
  if (d.busy || d.failing) {
    c = Channel{Phase::Idle, -1, "", "", "", "", 0, 0, 0, 0, call + 1};
    if (d.busy) {
      notices_ += destLabel(dest) + sj(" 接続できません（着ユーザビジー）") + eol();
      addHistory(std::string(channelName(ch)) + sj(" 発信失敗 ") + who + sj(" 相手話中"));
    } else {
      notices_ += destLabel(dest) + sj(" 接続に失敗しました（相手応答なし）") + eol();
      addHistory(std::string(channelName(ch)) + sj(" 発信失敗 ") + who + sj(" 応答なし"));
    }
    return;
  }
  c.phase = Phase::Connected;
  c.startMs = uptime_.elapsed();
  c.ip = newAddress(ch == 0 ? 2 : 102);
  c.peerIp = "203.0.113.1";
  c.up = std::uniform_int_distribution<int>(5, 40)(rng_);
  c.down = std::uniform_int_distribution<int>(0, 10)(rng_);
  c.bod = 0;
  c.call = call + 1;
  notices_ += std::string(channelName(ch)) + sj("チャネルを接続しました。") + eol();
  addHistory(std::string(channelName(ch)) + sj(" 接続 ") + who);
}

std::string Router::endCall(int ch, const std::string& why, const std::string& historyWord) {
  Channel& c = channels_[ch];
  std::string second;
  switch (c.phase) {
    case Phase::Connected: {
      const long long minutes = connectMinutes(ch);
      Destination& d = dests_[c.dest];
      d.calls += 1;
      d.minutes += minutes;
      d.yen += (minutes / 3 + 1) * 10;
      second = why + sj("接続時間 ") + std::to_string(minutes) + sj("分");
      addHistory(std::string(channelName(ch)) + " " + historyWord + " " + destLabel(c.dest) + " " + d.number +
                 " " + std::to_string(minutes) + sj("分"));
      break;
    }
    case Phase::Dialling:
      second = sj("発信を中止しました");
      addHistory(std::string(channelName(ch)) + sj(" 発信中止 ") + destLabel(c.dest) + " " +
                 dests_[c.dest].number);
      break;
    case Phase::Ringing:
      second = sj("着信を拒否しました");
      addAnalogHistory(sj("アナログ1 着信 ") + c.number + sj(" 拒否"));
      break;
    case Phase::Idle:
      return {};
  }
  c = Channel{Phase::Idle, -1, "", "", "", "", 0, 0, 0, 0, c.call + 1};
  return std::string(channelName(ch)) + sj("チャネルを切断しました。") + eol() + second + eol();
}

std::string Router::disconnect(int channel) {
  std::string out;
  for (int ch = 0; ch < 2; ++ch)
    if (channel < 0 || channel == ch) out += endCall(ch, "", sj("切断"));
  if (!out.empty()) return out;
  if (channel < 0) return sj("既に切断されています") + eol();
  return std::string(channelName(channel)) + sj("チャネルは既に切断されています") + eol();
}

std::string Router::setUserId(int dest, const std::string& id) {
  if (dest < 0 || dest > 15) return sj("接続先番号が正しくありません。(0-15)") + eol();
  dests_[dest].userId = id;
  return destLabel(dest) + sj(" のユーザIDを設定しました。") + eol();
}

std::string Router::setPassword(int dest, const std::string& password) {
  if (dest < 0 || dest > 15) return sj("接続先番号が正しくありません。(0-15)") + eol();
  dests_[dest].password = password;
  return destLabel(dest) +
         (password.empty() ? sj(" のパスワードを消去しました。") : sj(" のパスワードを設定しました。")) +
         eol();
}

std::string Router::takeNotices() {
  std::string out;
  out.swap(notices_);
  return out;
}

void Router::stirUsage() {
  for (Channel& c : channels_) {
    if (c.phase != Phase::Connected) continue;
    const int oldUp = c.up;
    c.up = std::clamp(c.up + std::uniform_int_distribution<int>(-25, 25)(rng_), 0, 100);
    c.down = std::clamp(c.down + std::uniform_int_distribution<int>(-5, 5)(rng_), 0, 100);
    if (c.up == oldUp) c.up = (c.up + 7) % 101;  // the line is never quite still
    c.bod = c.up > 70 ? 1 : 0;
  }
}

int Router::ring(const std::string& number) {
  const int ch = freeChannel();
  if (ch < 0) return -1;
  Channel& c = channels_[ch];
  c = Channel{Phase::Ringing, -1, number, sj("アナログ着信"), "", "", uptime_.elapsed(), 0, 0, 0, c.call + 1};
  addAnalogHistory(sj("アナログ1 着信 ") + number);
  return ch;
}

bool Router::stopRing() {
  bool any = false;
  for (Channel& c : channels_) {
    if (c.phase != Phase::Ringing) continue;
    addAnalogHistory(sj("アナログ1 着信 ") + c.number + sj(" 応答なし"));
    c = Channel{Phase::Idle, -1, "", "", "", "", 0, 0, 0, 0, c.call + 1};
    any = true;
  }
  return any;
}

int Router::hangup() {
  int dropped = 0;
  for (int ch = 0; ch < 2; ++ch) {
    const Phase p = channels_[ch].phase;
    if (p != Phase::Connected && p != Phase::Dialling) continue;
    notices_ += endCall(ch, sj("網側から切断されました "), sj("切断(網側)"));
    ++dropped;
  }
  return dropped;
}

std::string Router::stateLine() const {
  auto channelState = [&](int ch) -> std::string {
    const Channel& c = channels_[ch];
    switch (c.phase) {
      case Phase::Idle:
        return "idle";
      case Phase::Dialling:
        return "dialling:" + std::to_string(c.dest);
      case Phase::Connected:
        return "connected:" + std::to_string(c.dest) + ":" + c.ip;
      case Phase::Ringing:
        return "ringing:" + c.number;
    }
    return "?";
  };
  auto list = [](const auto& items) {
    std::string out;
    for (const auto& item : items) out += (out.empty() ? "" : ",") + item;
    return out.empty() ? std::string("-") : out;
  };
  std::vector<std::string> busy, failing, faults;
  for (int i = 0; i < 16; ++i) {
    if (dests_[i].busy) busy.push_back(std::to_string(i));
    if (dests_[i].failing) failing.push_back(std::to_string(i));
  }
  for (Fault f : allFaults())
    if (faults_.count(f)) faults.push_back(faultName(f));
  const QDateTime t = now();
  return "b1=" + channelState(0) + " b2=" + channelState(1) + " busy=" + list(busy) +
         " failing=" + list(failing) + " faults=" + list(faults) +
         " history=" + std::to_string(history_.size()) + " analog=" + std::to_string(analogHistory_.size()) +
         " kanji=" + std::string(1, kanjiCode_) +
         " clock=" + t.toString("yyyy/MM/dd-hh:mm:ss").toStdString() +
         " sessions=" + std::to_string(sessions_) + " ended=" + std::to_string(endedSessions_);
}

}  // namespace sim
