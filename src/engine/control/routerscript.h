#pragma once
// The user's router script (Tarvik.spt), run from the poll tick.
//
//   ;comment / #comment
//   7:00 dis a          exact line: runs in that minute every day
//   23:00-7:00 dis a    range line: runs once at the first script pass if
//                       that pass falls after the start and not after the
//                       end (a range may pass midnight)
//
// Exact times are compared as text with ClockText, so "07:00" never fires;
// range times are converted to minutes, so there 07:00 and 7:00 are equal.

#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// "H:MM" (blanks around allowed) to minutes after midnight. False when a part
// is not a decimal integer or there is no ":".
bool ParseClock(std::string_view text, int& minutes);

struct ScriptRun {
  std::string chain;                  // " " + each command + CR; empty when nothing runs
  std::vector<std::string> commands;  // for the details window ("Script >>" + command)
};

class RouterScript {
 public:
  // One script pass at hour:minute. Lines are Shift-JIS; a range line whose
  // times do not convert is skipped as a range (it cannot fail the tick).
  ScriptRun step(const std::vector<std::string>& lines, int hour, int minute);

  // A new run: the range lines run once more at the next step.
  void startRun() { ScriptRangesDone = false; }
  bool rangesDone() const { return ScriptRangesDone; }
  const std::string& lastRun() const { return LastScriptRun; }  // "H:MM" of the last pass that ran

 private:
  std::string LastScriptRun;
  bool ScriptRangesDone = false;
};

}  // namespace tarvik
