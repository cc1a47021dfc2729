#include "consolecommands.h"

#include <QDate>
#include <QTime>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <vector>

#include "reports.h"
#include "router.h"
#include "sjistext.h"

namespace sim {
namespace {

std::string eol() { return std::string(kEol); }

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& ch : out) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return out;
}

// Splits off the first blank-separated word; rest keeps everything after the
// single blank that ends the word (so that IDs and passwords stay verbatim).
std::string_view nextWord(std::string_view& rest) {
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  const std::size_t end = rest.find(' ');
  std::string_view word = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return word;
}

bool oneOf(std::string_view word, std::string_view alternatives) {
  const std::string w = lower(word);
  std::string_view alts = alternatives;
  while (!alts.empty()) {
    const std::size_t end = alts.find(' ');
    if (alts.substr(0, end) == w) return true;
    if (end == std::string_view::npos) break;
    alts.remove_prefix(end + 1);
  }
  return false;
}

bool toNumber(std::string_view word, int& n) {
  auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), n);
  return ec == std::errc() && ptr == word.data() + word.size() && !word.empty();
}

std::string rest0(std::string_view rest) {
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  return std::string(rest);
}

std::string usage(const char* text) { return sj(text) + eol(); }

std::string connect(Router& router, std::string_view rest) {
  int n = -1;
  if (!toNumber(nextWord(rest), n)) return usage("使い方: co <接続先 0-15>");
  return router.dial(n);
}

std::string disconnect(Router& router, std::string_view rest) {
  const std::string_view which = nextWord(rest);
  if (oneOf(which, "a all")) return router.disconnect(-1);
  if (oneOf(which, "b1")) return router.disconnect(0);
  if (oneOf(which, "b2")) return router.disconnect(1);
  return usage("使い方: dis a | dis b1 | dis b2");
}

// rem N s i ID / rem N s p [PW]: the value is everything after the blank
// that follows "i" or "p", blanks included.
std::string remote(Router& router, std::string_view rest) {
  int n = -1;
  const bool numberOk = toNumber(nextWord(rest), n);
  const std::string_view set = nextWord(rest);
  const std::string_view what = nextWord(rest);
  if (numberOk && oneOf(set, "s set")) {
    if (oneOf(what, "i id")) return router.setUserId(n, std::string(rest));
    if (oneOf(what, "p password")) return router.setPassword(n, std::string(rest));
  }
  return usage("使い方: rem <0-15> s i <ユーザID> | rem <0-15> s p [<パスワード>]");
}

// sy t Y/M/D-h:m, numbers with or without leading zeros.
std::string systemTime(Router& router, std::string_view rest) {
  const std::string arg = rest0(rest);
  if (arg.empty()) {
    return sj("現在時刻 ") + router.now().toString("yyyy/MM/dd hh:mm:ss").toStdString() + eol();
  }
  int y = 0, mo = 0, d = 0, h = 0, mi = 0;
  char tail = 0;
  const bool parsed = std::sscanf(arg.c_str(), "%d/%d/%d-%d:%d%c", &y, &mo, &d, &h, &mi, &tail) == 5;
  const QDate date(y, mo, d);
  const QTime time(h, mi);
  if (!parsed || !date.isValid() || !time.isValid())
    return usage("日時の指定が正しくありません (例: sy t 2026/12/10-9:07)");
  router.setClock(QDateTime(date, time));
  return sj("時計を ") + router.now().toString("yyyy/MM/dd hh:mm").toStdString() + sj(" に設定しました。") +
         eol();
}

std::string kanjiCode(Router& router, std::string_view rest) {
  const std::string code = lower(nextWord(rest));
  if (code.size() != 1 || std::string_view("sej").find(code[0]) == std::string_view::npos)
    return usage("漢字コードの指定が正しくありません (s, e, j)");
  router.setKanjiCode(code[0]);
  return {};
}

std::string help(Router&, std::string_view) {
  return usage("コマンド一覧") + usage("  sh ver / sh r l / sh s / sh h") +
         usage("  show ch / show ppp / show history / show mail / show pmail") +
         usage("  co <0-15> / dis a / dis b1 / dis b2") +
         usage("  rem <0-15> s i <ユーザID> / rem <0-15> s p [<パスワード>]") +
         usage("  sy t <年/月/日-時:分> / sys kc s|e|j / l (ログアウト)");
}

using Handler = std::string (*)(Router&, std::string_view rest);

template <std::string (*Report)(const Router&)>
std::string report(Router& router, std::string_view) {
  return Report(router);
}

std::string status(Router& router, std::string_view) { return statusReport(router); }

std::string remoteList(Router& router, std::string_view rest) {
  if (!oneOf(nextWord(rest), "l list")) return usage("使い方: sh r l");
  return destinationList(router);
}

// The vocabulary. verbs and subs hold blank-separated alternatives; a null
// sub takes whatever follows the verb as the handler's argument.
struct Command {
  const char* verbs;
  const char* subs;
  Handler run;
};

const Command kCommands[] = {
    {"sh show", "ver version", report<versionReport>},
    {"sh show", "s status", status},
    {"sh show", "r remote", remoteList},
    {"sh show", "h", report<historyReport>},
    {"sh show", "history", report<analogHistoryReport>},
    {"sh show", "ch charge", report<chargeReport>},
    {"sh show", "ppp", report<pppReport>},
    {"sh show", "mail", report<mailReport>},
    {"sh show", "pmail", report<phsMailReport>},
    {"co connect", nullptr, connect},
    {"dis disconnect", nullptr, disconnect},
    {"rem remote", nullptr, remote},
    {"sy sys system", "t time", systemTime},
    {"sy sys system", "kc", kanjiCode},
    {"help ?", nullptr, help},
};

}  // namespace

bool isLogout(std::string_view line) {
  std::string_view rest = line;
  const std::string_view word = nextWord(rest);
  return rest0(rest).empty() && oneOf(word, "l logout exit quit");
}

std::string promptFor(char variant) { return variant == 'S' ? "MN128-SOHO-S% " : "MN128-SOHO% "; }

std::string runCommand(Router& router, std::string_view line) {
  std::string_view rest = line;
  const std::string_view verb = nextWord(rest);
  for (const Command& c : kCommands) {
    if (!oneOf(verb, c.verbs)) continue;
    std::string_view args = rest;
    if (c.subs && !oneOf(nextWord(args), c.subs)) continue;
    return c.run(router, args);
  }
  std::string_view shown = line;
  while (!shown.empty() && shown.front() == ' ') shown.remove_prefix(1);
  return sj("コマンドが正しくありません: ") + std::string(shown) + eol();
}

}  // namespace sim
