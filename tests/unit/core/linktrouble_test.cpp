// An exchange's verdict from what it showed, and the streaks of failures:
// what is told and when, on their own.

#include "engine/core/linktrouble.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvik {
namespace {

TEST(LinkTrouble, AnExchangeIsJudgedByWhatItShowed) {
  using F = LinkFault;
  struct Case {
    const char* what;
    ExchangeSigns signs;  // connected, heard, loggedIn, expectsStatus, statusSeen, broken
    std::optional<LinkFault> fault;
    bool counts;
  } cases[] = {
      {"never connected", {false, false, false, true, false, false}, F::Unreachable, true},
      {"connected, nothing said", {true, false, false, true, false, false}, std::nullopt, false},
      {"text without a prompt", {true, true, false, true, false, false}, F::LoginRefused, true},
      {"text without a prompt, no status asked",
       {true, true, false, false, false, false},
       F::LoginRefused,
       true},
      {"logged in, no status", {true, true, true, true, false, false}, F::Unreadable, true},
      {"logged in, status", {true, true, true, true, true, false}, std::nullopt, true},
      {"logged in, no status asked", {true, true, true, false, false, false}, std::nullopt, true},
      {"broken: told when it broke", {true, true, false, true, false, true}, std::nullopt, false},
  };
  for (const Case& c : cases) {
    const ExchangeVerdict v = judgeExchange(c.signs);
    EXPECT_EQ(v.fault, c.fault) << c.what;
    EXPECT_EQ(v.counts, c.counts) << c.what;
  }
}

// Runs a script of steps; returns one letter per step: 'T' told, '.' not.
// Steps: 'r' login refused, 'a' / 'b' unreachable for reasons a and b,
// 's' / 'S' a send broken with two wordings, 'w' an exchange that worked.
std::string run(const std::string& script) {
  LinkTrouble trouble;
  std::string told;
  for (char step : script) {
    bool t = false;
    switch (step) {
      case 'r':
        t = trouble.failed(LinkFault::LoginRefused, "refused");
        break;
      case 'a':
      case 'b':
        t = trouble.failed(LinkFault::Unreachable, std::string(1, step));
        break;
      case 's':
      case 'S':
        t = trouble.failed(LinkFault::SendFailed, step == 's' ? "reset" : "broken pipe");
        break;
      case 'w':
        t = trouble.worked();
        break;
    }
    told += t ? 'T' : '.';
  }
  return told;
}

TEST(LinkTrouble, IsToldOncePerStreakAndAtItsEnd) {
  struct Case {
    const char* script;
    const char* told;
  } cases[] = {
      {"rrrr", "T..."},    // once
      {"rrwrr", "T.TT."},  // its end, and a new streak
      {"wwr", "..T"},      // nothing to end
      {"rarr", "TTT."},    // another kind is news
      {"aaba", "T.TT"},    // so is an unreachable router's new reason
      {"sSsS", "T..."},    // a send's wording is not
      {"rw", "TT"},
  };
  for (const Case& c : cases) EXPECT_EQ(run(c.script), c.told) << c.script;
}

}  // namespace
}  // namespace tarvik
