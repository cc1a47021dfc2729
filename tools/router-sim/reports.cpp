#include "reports.h"

#include <cstdio>

#include "router.h"
#include "sjistext.h"

namespace sim {
namespace {

std::string line(const std::string& text) { return text + std::string(kEol); }
std::string jline(const char* utf8) { return line(sj(utf8)); }

std::string format(const char* pattern, long long a, long long b) {
  char buf[64];
  std::snprintf(buf, sizeof buf, pattern, a, b);
  return buf;
}

std::string dayStamp(const QDateTime& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d", t.date().month(), t.date().day());
  return buf;
}

const char* statusWord(Phase phase) {
  switch (phase) {
    case Phase::Idle:
      return "空き";
    case Phase::Dialling:
      return "ダイヤル中";
    case Phase::Connected:
      return "通信中";
    case Phase::Ringing:
      return "呼び出し中（着信）";
  }
  return "";
}

// One channel's block. An idle channel is the status word alone; any other
// channel lists its fields, each value well under 19 bytes.
std::string channelBlock(const Router& router, int ch) {
  const Channel& c = router.channels()[ch];
  std::string out = line(std::string(channelName(ch)) + sj("チャネル：") + sj(statusWord(c.phase)));
  if (c.phase == Phase::Idle) return out;
  const bool outgoing = c.dest >= 0;
  const Destination* d = outgoing ? &router.destinations()[c.dest] : nullptr;
  const long long minutes = router.connectMinutes(ch);
  const long long month = d ? d->minutes + minutes : minutes;
  out += line(sj("  接続先[") + (d ? d->name : sj("アナログポート1")) + "]");
  out += line(sj("  接続時間（分）[") + format("%4lld/%4lld", minutes, month) + "]");
  out += line(sj("  IPアドレス[") + c.ip + "]");
  out += line(sj("  接続モード[") + c.mode + "]");
  out += line(sj("  相手番号[") + c.number + "]");
  out += line(sj("  回線使用率（BOD %）[") + std::to_string(c.up) + "/" + std::to_string(c.down) + "/" +
              std::to_string(c.bod) + "]");
  return out;
}

}  // namespace

std::string versionReport(const Router& router) {
  const long long minutes = router.uptimeMs() / 60000;
  char uptime[64];
  std::snprintf(uptime, sizeof uptime, "%lld%s%02lld%s%02lld%s", minutes / 1440, sj("日").c_str(),
                (minutes / 60) % 24, sj("時間").c_str(), minutes % 60, sj("分").c_str());
  std::string out = router.variant() == 'S' ? jline("# MN128-SOHO-S Ver 1.10 (ISDN TA/ルータ)")
                                            : jline("MN128-SOHO.F Ver 2.40 (ISDN TA/ルータ)");
  out += jline("  ブートROM  Ver 1.02");
  out += line(sj("  稼働時間   ") + uptime);
  return out;
}

std::string destinationList(const Router& router) {
  // Fixed columns, counted in bytes: "#n" in 0-3, name 4-19, mode 20-29,
  // auto-disconnect seconds 30-34, number 35-45 and the per-call mark " *"
  // in 46-47. Every row is 48 bytes, so a client that cuts 70 bytes from the
  // row start always finds the row's own line end.
  std::string out = line(sj("No. ") + padSjis(sj("接続先名"), 16) + padSjis(sj("モード"), 10) +
                         padSjis(sj("切断"), 5) + sj("相手番号"));
  for (int i = 0; i < 16; ++i) {
    const Destination& d = router.destinations()[i];
    std::string row = padSjis("#" + std::to_string(i), 4) + padSjis(d.name, 16) + padSjis(d.mode, 10) +
                      padSjis(d.number.empty() ? "" : std::to_string(d.idleTimeoutSec), 5) +
                      padSjis(d.number, 11) + (d.perCall ? " *" : "  ");
    out += line(row);
  }
  return out;
}

std::string statusReport(Router& router) {
  router.stirUsage();
  return jline("回線種別: INSネット64") + channelBlock(router, 0) + channelBlock(router, 1);
}

std::string historyReport(const Router& router) {
  std::string out = jline("接続・切断履歴");
  if (router.history().empty()) return out + jline("履歴はありません");
  for (const std::string& entry : router.history()) out += line(entry);
  return out;
}

std::string analogHistoryReport(const Router& router) {
  std::string out = jline("アナログポート通信履歴");
  if (router.analogHistory().empty()) return out + jline("アナログポートの履歴はありません");
  for (const std::string& entry : router.analogHistory()) out += line(entry);
  return out;
}

std::string chargeReport(const Router& router) {
  std::string out = jline("通信料金情報（今月の累計）");
  out += line(padSjis(sj("接続先"), 20) + padSjis(sj("回数"), 6) + padSjis(sj("通信時間"), 10) + sj("料金"));
  long long calls = 0, minutes = 0, yen = 0;
  for (int i = 0; i < 16; ++i) {
    const Destination& d = router.destinations()[i];
    if (d.number.empty()) continue;
    out += line(padSjis(router.destLabel(i), 20) + padSjis(std::to_string(d.calls), 6) +
                padSjis(std::to_string(d.minutes) + sj("分"), 10) + std::to_string(d.yen) + sj("円"));
    calls += d.calls;
    minutes += d.minutes;
    yen += d.yen;
  }
  out += line(padSjis(sj("合計"), 20) + padSjis(std::to_string(calls), 6) +
              padSjis(std::to_string(minutes) + sj("分"), 10) + std::to_string(yen) + sj("円"));
  return out;
}

std::string pppReport(const Router& router) {
  std::string out = jline("PPP情報");
  for (int ch = 0; ch < 2; ++ch) {
    const Channel& c = router.channels()[ch];
    const std::string name = std::string(channelName(ch)) + ": ";
    switch (c.phase) {
      case Phase::Idle:
        out += line(name + sj("未接続"));
        break;
      case Phase::Ringing:
        out += line(name + sj("アナログ着信中 ") + c.number);
        break;
      case Phase::Dialling:
        out += line(name + sj("接続処理中 ") + router.destLabel(c.dest));
        out += jline("  LCP  : Req-Sent");
        break;
      case Phase::Connected: {
        const Destination& d = router.destinations()[c.dest];
        out += line(name + sj("接続中 ") + router.destLabel(c.dest));
        out += line(sj("  LCP  : Opened  MRU 1500  認証 CHAP  ユーザID ") + d.userId);
        out += jline("  IPCP : Opened");
        out += line(sj("  自側IPアドレス   ") + c.ip);
        out += line(sj("  相手側IPアドレス ") + c.peerIp);
        out += line(sj("  DNSサーバ        ") + "203.0.113.53");
        break;
      }
    }
  }
  return out;
}

std::string mailReport(const Router& router) {
  const QDateTime t = router.now();
  char last[32];
  std::snprintf(last, sizeof last, "%s %02d:%02d", dayStamp(t).c_str(), t.time().hour(),
                t.time().minute() < 30 ? 0 : 30);
  return jline("メール着信チェック情報") + line(sj("  アカウント     ") + "user@example.com") +
         jline("  チェック間隔   30分") + line(sj("  最終チェック   ") + last) +
         jline("  新着メール     2通");
}

std::string phsMailReport(const Router& router) {
  const std::string day = dayStamp(router.now().addDays(-1));
  return jline("Pメール受信情報") + line(day + sj(" 21:10 07012345678 今から帰ります")) +
         line(day + sj(" 22:30 07023456789 了解です"));
}

}  // namespace sim
