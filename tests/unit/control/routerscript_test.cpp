#include "engine/control/routerscript.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvik {
namespace {

TEST(ParseClock, ConvertsToMinutes) {
  struct Case {
    std::string text;
    bool ok;
    int minutes;
  } cases[] = {
      {"7:00", true, 420},  {"07:00", true, 420}, {" 23:01 ", true, 1381}, {"0:5", true, 5},
      {"7:00 ", true, 420}, {"7", false, 0},      {"a:00", false, 0},      {"7:0x", false, 0},
      {"", false, 0},       {"12:", false, 0},
  };
  for (const Case& c : cases) {
    int minutes = -1;
    EXPECT_EQ(ParseClock(c.text, minutes), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(minutes, c.minutes) << c.text;
    }
  }
}

// Runs one script pass and returns the commands that ran.
std::vector<std::string> runAt(RouterScript& script, const std::vector<std::string>& lines, int h, int m) {
  return script.step(lines, h, m).commands;
}

using Commands = std::vector<std::string>;

TEST(RouterScript, ExactLinesCompareAsText) {
  const std::vector<std::string> lines = {"7:00 dis a",    "07:00 co 1", "23:00 co 2", "; 7:00 comment",
                                          "#7:00 comment", "",           " 7:00 sh s"};
  RouterScript script;
  EXPECT_EQ(runAt(script, lines, 6, 59), Commands{});
  ScriptRun run = script.step(lines, 7, 0);
  EXPECT_EQ(run.commands, (Commands{"dis a", "7:00 sh s"}));
  EXPECT_EQ(run.chain, " dis a\r7:00 sh s\r");
  EXPECT_EQ(script.lastRun(), "7:00");
  // Once per minute, however many ticks fall into it; again the next day.
  EXPECT_EQ(runAt(script, lines, 7, 0), Commands{});
  EXPECT_EQ(runAt(script, lines, 23, 0), Commands{"co 2"});
  EXPECT_EQ(runAt(script, lines, 7, 0), (Commands{"dis a", "7:00 sh s"}));
}

TEST(RouterScript, RangeLinesRunOnceAtTheFirstPass) {
  struct Case {
    std::string line;
    int h, m;
    bool runs;
  } cases[] = {
      {"23:00-7:00 dis a", 2, 0, true},  // 26:00 within 23:00..31:00
      {"23:00-7:00 dis a", 7, 0, true},  // the end is included
      {"23:00-7:00 dis a", 7, 1, false},
      {"23:00-7:00 dis a", 23, 0, true},  // not after the start: but the exact form matches
      {"23:00-07:00 dis a", 23, 30, true},
      {"23:00-07:00 dis a", 12, 0, false},
      {"1:00-7:00 dis a", 1, 0, false},
      {"1:00-7:00 dis a", 1, 1, true},
      {"1:00-07:00 dis a", 7, 0, true},
      {"x-y note", 3, 0, false},  // does not convert: skipped, no failure
      {"1:00-zz:00 dis a", 3, 0, false},
  };
  for (const Case& c : cases) {
    RouterScript script;
    EXPECT_EQ(runAt(script, {c.line}, c.h, c.m).size(), c.runs ? 1u : 0u) << c.line << " at " << c.h;
    EXPECT_TRUE(script.rangesDone());
    // Later passes run range lines no more (unless the minute matches exactly).
    EXPECT_EQ(runAt(script, {c.line}, c.h, c.m == 59 ? 0 : c.m + 1).size(), 0u) << c.line;
  }
}

TEST(RouterScript, RangeLineAlsoRunsInItsExactMinute) {
  RouterScript script;
  ScriptRun run = script.step({"23:00-23:30 co 3"}, 23, 15);
  EXPECT_EQ(run.commands, Commands{"co 3"});
  EXPECT_EQ(script.step({"23:00-23:30 co 3"}, 23, 16).commands, Commands{});
  // Its first five bytes are a time: the exact form runs it in that minute.
  EXPECT_EQ(script.step({"23:00-23:30 co 3"}, 23, 0).commands, Commands{"co 3"});
}

TEST(RouterScript, CommandIsTheTextAfterTheFirstBlankCutTo100Bytes) {
  RouterScript script;
  std::string longCommand(150, 'x');
  ScriptRun run = script.step({"9:15 " + longCommand, "9:15"}, 9, 15);
  ASSERT_EQ(run.commands.size(), 2u);
  EXPECT_EQ(run.commands[0], std::string(100, 'x'));
  EXPECT_EQ(run.commands[1], "9:15");
}

TEST(RouterScript, NothingToRunLeavesLastScriptRun) {
  RouterScript script;
  ScriptRun run = script.step({"9:15 co 1"}, 9, 14);
  EXPECT_TRUE(run.chain.empty());
  EXPECT_EQ(script.lastRun(), "");
}

}  // namespace
}  // namespace tarvik
