#include "app/options.h"

#include <charconv>
#include <string_view>

#include "startedclock.h"

#ifndef TARVIK_VERSION
#define TARVIK_VERSION "0.0.0"
#endif

namespace tarvik::app {
namespace {

// Poll interval bounds for --poll-ms: fast enough for a soak run, never a
// busy loop.
constexpr int kMinPollMs = 10;
constexpr int kMaxPollMs = 3'600'000;

// "--name=value" or "--name value": returns true and fills value when arg is
// the option `name`; i is moved past a separate value.
bool takeValue(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
               std::string& value, std::string& error) {
  std::string_view arg = args[i];
  if (arg.substr(0, name.size()) != name) return false;
  if (arg.size() == name.size()) {
    if (i + 1 >= args.size()) {
      error = std::string(name) + " needs a value";
      return true;
    }
    value = args[++i];
    return true;
  }
  if (arg[name.size()] != '=') return false;
  value = std::string(arg.substr(name.size() + 1));
  return true;
}

bool parsePollMs(const std::string& text, int& out) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  if (value < kMinPollMs || value > kMaxPollMs) return false;
  out = value;
  return true;
}

// "YYYY-MM" with a month from 01 to 12.
bool isYearMonth(std::string_view text) {
  if (text.size() != 7 || text[4] != '-') return false;
  for (std::size_t i : {0, 1, 2, 3, 5, 6}) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  const int month = (text[5] - '0') * 10 + (text[6] - '0');
  return month >= 1 && month <= 12;
}

std::string usageMonthError(const std::string& given) {
  return "--usage needs a month as YYYY-MM (such as 2026-04), not '" + given + "'";
}

}  // namespace

ParsedOptions parseProgramOptions(const std::vector<std::string>& args) {
  ParsedOptions result;
  ProgramOptions& o = result.options;
  std::string& error = result.error;
  bool onlyWords = false;
  for (std::size_t i = 0; i < args.size() && error.empty(); ++i) {
    const std::string& arg = args[i];
    if (onlyWords || arg.rfind("--", 0) != 0) {
      // Single-dash words such as "-CO" are action words, as they always were.
      o.actionWords.push_back(arg);
      continue;
    }
    std::string value;
    if (arg == "--") {
      onlyWords = true;
    } else if (arg == "--headless") {
      o.headless = true;
    } else if (arg == "--print-settings") {
      o.printSettings = true;
    } else if (arg == "--help") {
      o.help = true;
    } else if (arg == "--version") {
      o.version = true;
    } else if (arg == "--usage" || arg.rfind("--usage=", 0) == 0) {
      // The month is optional: the next word is taken for it unless it is
      // an option, and must then be one.
      o.usage = true;
      if (arg.size() > 7) {
        o.usageMonth = arg.substr(8);
        if (o.usageMonth.empty()) error = usageMonthError("");
      } else if (i + 1 < args.size() && args[i + 1].rfind('-', 0) != 0) {
        o.usageMonth = args[++i];
      }
      if (!o.usageMonth.empty() && !isYearMonth(o.usageMonth)) error = usageMonthError(o.usageMonth);
    } else if (takeValue(args, i, "--config-dir", value, error)) {
      if (error.empty() && value.empty()) error = "--config-dir needs a directory";
      o.configDir = value;
    } else if (takeValue(args, i, "--poll-ms", value, error)) {
      if (error.empty() && !parsePollMs(value, o.pollMs)) {
        error = "--poll-ms needs a whole number of milliseconds from " + std::to_string(kMinPollMs) +
                " to " + std::to_string(kMaxPollMs);
      }
    } else if (takeValue(args, i, "--clock-start", value, error)) {
      if (error.empty() && !(o.clockStart = parseLocalTime(value))) {
        error = "--clock-start needs a local time as \"YYYY-MM-DD HH:MM:SS\", not '" + value + "'";
      }
    } else {
      // An unknown long option is refused rather than taken as an action
      // word: "--connect" would otherwise dial because it contains "co".
      error = "unknown option " + arg;
    }
  }
  // The usage table takes no action words: a word beside it is a month
  // that was not where the option looks for it.
  if (error.empty() && o.usage && !o.actionWords.empty()) error = usageMonthError(o.actionWords.front());
  return result;
}

bool needsWindows(const std::vector<std::string>& arguments) {
  for (const std::string& arg : arguments) {
    if (arg == "--") break;
    if (arg == "--headless" || arg == "--help" || arg == "--version" || arg == "--print-settings" ||
        arg == "--usage" || arg.rfind("--usage=", 0) == 0)
      return false;
  }
  return true;
}

std::vector<std::string> withoutConfigDir(const std::vector<std::string>& arguments) {
  std::vector<std::string> kept;
  bool onlyWords = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    onlyWords = onlyWords || arg == "--";
    if (!onlyWords && arg == "--config-dir") {
      ++i;  // and its value
    } else if (onlyWords || arg.rfind("--config-dir=", 0) != 0) {
      kept.push_back(arg);
    }
  }
  return kept;
}

std::string helpText(const std::string& programName) {
  return "Usage: " + programName +
         " [options] [action words]\n"
         "Watches and drives an MN128-SOHO ISDN router through its console.\n"
         "\n"
         "Options:\n"
         "  --headless          run without windows; every visible change is printed\n"
         "                      on standard output as one line: KIND<TAB>TEXT\n"
         "  --config-dir DIR    use Tarvik.ini, Tarvik.lst and Tarvik.spt in DIR\n"
         "  --print-settings    print every setting with its effective value and exit\n"
         "  --usage [YYYY-MM]   print a month of the call journal (Tarvik-journal.csv):\n"
         "                      minutes online per day and per destination, calls,\n"
         "                      metered and flat-rate minutes, the estimated cost by\n"
         "                      [TARIFF], incoming calls with the missed ones;\n"
         "                      default this month\n"
         "  --help              show this help and exit\n"
         "  --version           show the version and exit\n"
         "  --                  everything after this is an action word\n"
         "\n"
         "Action words (acted on once, when the first console exchange has connected;\n"
         "case does not matter, and one word may hold several):\n"
         "  co                  dial the default destination\n"
         "  b1                  disconnect B1\n"
         "  b2                  disconnect B2\n"
         "\n"
         "For tests only:\n"
         "  --poll-ms N         poll the router every N milliseconds instead of [OPTION] TIME\n"
         "  --clock-start \"YYYY-MM-DD HH:MM:SS\"\n"
         "                      start the program's clock at this local time; it runs\n"
         "                      on from there (timed actions, the call journal)\n"
         "\n"
         "Headless output kinds: status, b1, b2, dest, caller, caller-off, tip, tip-b1,\n"
         "tip-b2, icon-b1, icon-b2, menu, details, details-clear, panel, strip, sound,\n"
         "launch, end, window, version, hint, jigen, browse, error, notify, quit.\n"
         "Tabs, line breaks and backslashes inside a text are written as \\t, \\n, \\r\n"
         "and \\\\.\n"
         "\n"
         "Exit status: 0 on success (also when another instance is already running),\n"
         "2 when the command line is wrong or, headless, no router address is set.\n";
}

std::string versionText() { return std::string("tarvik ") + TARVIK_VERSION + "\n"; }

}  // namespace tarvik::app
