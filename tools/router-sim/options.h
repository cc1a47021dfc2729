#pragma once
// Command-line options of the router simulator.

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// Ways in which the console can misbehave, to try a client against.
enum class Fault { Refuse, Hang, Silent, Split, Drip, Iac, Nul, Garbage, Cut, Slow, Flood };

std::optional<Fault> faultFromName(std::string_view name);
const char* faultName(Fault fault);
const std::vector<Fault>& allFaults();

// Timings a test or a demo may want to shorten. All in milliseconds.
struct Timing {
  int connectDelayMs = 2000;  // from "co n" to the call's outcome
  int minuteMs = 60000;       // one minute of connection time
  int dripMs = 20;            // pause before each byte (fault drip)
  int splitMs = 5;            // pause before each piece (fault split)
  int slowMs = 3000;          // pause before each answer (fault slow)
};

struct Options {
  std::string address = "127.0.0.1";
  int port = 2323;
  std::string password;
  char variant = 'F';  // 'F' or 'S'
  int httpPort = -1;   // -1: no web server; 0: any free port
  int controlPort = -1;
  bool stdio = false;
  std::optional<std::uint32_t> seed;
  std::set<Fault> faults;
  std::set<int> busy;
  std::set<int> failing;
  char kanjiCode = 's';  // console character code at start: s, e, j or u
  int historySize = 20;
  Timing timing;
  bool help = false;
  bool version = false;
};

// Fills options from the program arguments (without the program name).
// Returns an error text, or an empty text when all arguments were understood.
std::string parseOptions(const std::vector<std::string>& args, Options& options);

// The text printed by --help: options, control protocol, fault modes.
std::string helpText();
// The line printed by --version.
std::string versionText();

}  // namespace sim
