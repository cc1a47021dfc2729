#include "engine/control/routerscript.h"

#include <climits>

#include "engine/base/bytes.h"
#include "engine/control/timedactions.h"

namespace tarvik {

namespace {

bool parseInt(std::string_view text, int& value) {
  long long v = 0;
  if (!parseDecimal(text, v) || v < INT_MIN / 120 || v > INT_MAX / 120) return false;
  value = static_cast<int>(v);
  return true;
}

// The command of a line: the text after its first blank, at most 100 bytes
// (a line without a blank is its own command).
std::string commandOf(std::string_view line) {
  std::size_t blank = line.find(' ');
  std::string_view rest = blank == std::string_view::npos ? line : line.substr(blank + 1);
  return std::string(sjisCut(rest, 100));
}

bool inRange(std::string_view line, int now) {
  std::size_t dash = line.substr(0, 6).find('-');
  if (dash == std::string_view::npos) return false;
  int start = 0, end = 0;
  if (!ParseClock(line.substr(0, dash), start) || !ParseClock(line.substr(dash + 1, 5), end)) return false;
  if (end < start) {
    end += 1440;
    if (now < start) now += 1440;
  }
  return start < now && now <= end;
}

}  // namespace

bool ParseClock(std::string_view text, int& minutes) {
  text = trimBlanks(text);
  std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  int hours = 0, mins = 0;
  if (!parseInt(text.substr(0, colon), hours) || !parseInt(text.substr(colon + 1, 5), mins)) return false;
  minutes = hours * 60 + mins;
  return true;
}

ScriptRun RouterScript::step(const std::vector<std::string>& lines, int hour, int minute) {
  const std::string clock = ClockText(hour, minute);
  const int now = hour * 60 + minute;
  ScriptRun run;
  std::string chain = " ";
  for (const std::string& line : lines) {
    if (!line.empty() && (line[0] == ';' || line[0] == '#')) continue;
    bool runs = !ScriptRangesDone && inRange(line, now);
    if (!runs) runs = trimBlanks(std::string_view(line).substr(0, 5)) == clock && LastScriptRun != clock;
    if (!runs) continue;
    std::string command = commandOf(line);
    chain += command + "\r";
    run.commands.push_back(std::move(command));
  }
  ScriptRangesDone = true;
  if (!run.commands.empty()) {
    LastScriptRun = clock;
    run.chain = std::move(chain);
  }
  return run;
}

}  // namespace tarvik
