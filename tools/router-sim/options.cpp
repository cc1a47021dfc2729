#include "options.h"

#include <charconv>
#include <functional>

namespace sim {
namespace {

struct FaultEntry {
  Fault fault;
  const char* name;
};

constexpr FaultEntry kFaults[] = {
    {Fault::Refuse, "refuse"}, {Fault::Hang, "hang"}, {Fault::Silent, "silent"}, {Fault::Split, "split"},
    {Fault::Drip, "drip"},     {Fault::Iac, "iac"},   {Fault::Nul, "nul"},       {Fault::Garbage, "garbage"},
    {Fault::Cut, "cut"},       {Fault::Slow, "slow"}, {Fault::Flood, "flood"},
};

bool toInt(const std::string& text, long long low, long long high, long long& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && value >= low && value <= high;
}

// One option that takes a value: its name and what to do with the value.
// The handler returns an error text or an empty text.
struct ValueOption {
  const char* name;
  std::function<std::string(Options&, const std::string&)> apply;
};

std::function<std::string(Options&, const std::string&)> intInto(int Options::*field, long long low,
                                                                 long long high) {
  return [=](Options& o, const std::string& v) -> std::string {
    long long n = 0;
    if (!toInt(v, low, high, n))
      return "a number from " + std::to_string(low) + " to " + std::to_string(high);
    o.*field = static_cast<int>(n);
    return {};
  };
}

std::function<std::string(Options&, const std::string&)> intIntoTiming(int Timing::*field) {
  return [=](Options& o, const std::string& v) -> std::string {
    long long n = 0;
    if (!toInt(v, 0, 3600000, n)) return "milliseconds from 0 to 3600000";
    o.timing.*field = static_cast<int>(n);
    return {};
  };
}

std::function<std::string(Options&, const std::string&)> destinationInto(std::set<int> Options::*field) {
  return [=](Options& o, const std::string& v) -> std::string {
    long long n = 0;
    if (!toInt(v, 0, 15, n)) return "a destination number from 0 to 15";
    (o.*field).insert(static_cast<int>(n));
    return {};
  };
}

const std::vector<ValueOption>& valueOptions() {
  static const std::vector<ValueOption> table = {
      {"--address",
       [](Options& o, const std::string& v) {
         o.address = v;
         return std::string();
       }},
      {"--port", intInto(&Options::port, 0, 65535)},
      {"--password",
       [](Options& o, const std::string& v) {
         o.password = v;
         return std::string();
       }},
      {"--variant",
       [](Options& o, const std::string& v) -> std::string {
         if (v != "F" && v != "S" && v != "f" && v != "s") return "F or S";
         o.variant = static_cast<char>(v[0] & ~0x20);
         return {};
       }},
      {"--http-port", intInto(&Options::httpPort, 0, 65535)},
      {"--control-port", intInto(&Options::controlPort, 0, 65535)},
      {"--seed",
       [](Options& o, const std::string& v) -> std::string {
         long long n = 0;
         if (!toInt(v, 0, 4294967295LL, n)) return "a number from 0 to 4294967295";
         o.seed = static_cast<std::uint32_t>(n);
         return {};
       }},
      {"--fault",
       [](Options& o, const std::string& v) -> std::string {
         auto f = faultFromName(v);
         if (!f) return "one of refuse, hang, silent, split, drip, iac, nul, garbage, cut, slow, flood";
         o.faults.insert(*f);
         return {};
       }},
      {"--busy", destinationInto(&Options::busy)},
      {"--failing", destinationInto(&Options::failing)},
      {"--kanji-code",
       [](Options& o, const std::string& v) -> std::string {
         if (v.size() != 1 || std::string_view("seju").find(v[0]) == std::string_view::npos)
           return "s, e, j or u";
         o.kanjiCode = v[0];
         return {};
       }},
      {"--history-size", intInto(&Options::historySize, 1, 1000)},
      {"--connect-delay-ms", intIntoTiming(&Timing::connectDelayMs)},
      {"--minute-ms",
       [](Options& o, const std::string& v) -> std::string {
         long long n = 0;
         if (!toInt(v, 1, 3600000, n)) return "milliseconds from 1 to 3600000";
         o.timing.minuteMs = static_cast<int>(n);
         return {};
       }},
      {"--drip-ms", intIntoTiming(&Timing::dripMs)},
      {"--split-ms", intIntoTiming(&Timing::splitMs)},
      {"--slow-ms", intIntoTiming(&Timing::slowMs)},
  };
  return table;
}

}  // namespace

std::optional<Fault> faultFromName(std::string_view name) {
  for (const auto& e : kFaults)
    if (name == e.name) return e.fault;
  return std::nullopt;
}

const char* faultName(Fault fault) {
  for (const auto& e : kFaults)
    if (e.fault == fault) return e.name;
  return "?";
}

const std::vector<Fault>& allFaults() {
  static const std::vector<Fault> all = [] {
    std::vector<Fault> v;
    for (const auto& e : kFaults) v.push_back(e.fault);
    return v;
  }();
  return all;
}

std::string parseOptions(const std::vector<std::string>& args, Options& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      continue;
    }
    if (arg == "--version") {
      options.version = true;
      continue;
    }
    if (arg == "--stdio") {
      options.stdio = true;
      continue;
    }
    std::string value;
    bool inlineValue = false;
    if (auto eq = arg.find('='); eq != std::string::npos && arg.rfind("--", 0) == 0) {
      value = arg.substr(eq + 1);
      arg.resize(eq);
      inlineValue = true;
    }
    const ValueOption* found = nullptr;
    for (const auto& opt : valueOptions())
      if (arg == opt.name) found = &opt;
    if (!found) return "unknown option " + args[i] + " (see --help)";
    if (!inlineValue) {
      if (i + 1 >= args.size()) return arg + " needs a value";
      value = args[++i];
    }
    if (std::string err = found->apply(options, value); !err.empty())
      return arg + ": expected " + err + ", got \"" + value + "\"";
  }
  return {};
}

std::string versionText() { return std::string("tarvik-router-sim ") + TARVIK_VERSION + "\n"; }

std::string helpText() {
  return R"(Usage: tarvik-router-sim [OPTIONS]

Serves the console of an MN128-SOHO ISDN router (two B channels, sixteen
destinations #0..#15, an analogue port) on a TCP port, for trying a console
client over real sockets. The router's state is shared by every connection.
Output is Shift-JIS (after "sys kc s"), lines end with LF CR, the prompt is
"MN128-SOHO% " ("MN128-SOHO-S% " for variant S).

Options:
  --address ADDR          listen address of the console and web server
                          (default 127.0.0.1)
  --port N                console port (default 2323; 0 picks a free port)
  --password TEXT         console password; empty (default) means the console
                          asks for none
  --variant F|S           F: banner "MN128-SOHO.F Ver 2.40 ..."
                          S: banner "# MN128-SOHO-S Ver 1.10 ..."
  --http-port N           also serve the router's web pages on port N
  --control-port N        also serve the control protocol (below) on
                          127.0.0.1 port N
  --stdio                 serve one console session on standard input and
                          output, then exit (for a telnet server's login
                          program); a terminal on stdin is put in raw mode
  --seed N                seed of the random choices (default: from the clock)
  --fault NAME            misbehave (repeatable; names below)
  --busy N                destination N answers busy (repeatable)
  --failing N             calls to destination N fail (repeatable)
  --kanji-code s|e|j|u    console character code at start (default s:
                          Shift-JIS; e: EUC-JP, j: ISO-2022-JP, u: UTF-8 for
                          watching with a terminal); "sys kc X" changes it
  --history-size N        entries kept by "sh h" (default 20)
  --connect-delay-ms MS   time from "co n" to the call's outcome (default 2000)
  --minute-ms MS          length of one minute of connection time (default 60000)
  --drip-ms MS            pause before each byte with fault drip (default 20)
  --split-ms MS           pause before each piece with fault split (default 5)
  --slow-ms MS            pause before each answer with fault slow (default 3000)
  --help                  this text
  --version               the version

When it listens on TCP it prints one line per server to standard output,
"listening console ADDR PORT", "listening control 127.0.0.1 PORT",
"listening http ADDR PORT", then "ready".

Console: log in with an empty line or "admin" at "login: ", then the password
when one is set. With a password set every user name is asked for one, and a
wrong name or password is answered "ログインできません。"; the third ends the
connection with "Connection closed.". Commands: sh ver, sh r l, sh s, sh h, show ch, show ppp,
show history, show mail, show pmail, co N, dis a|b1|b2, rem N s i ID,
rem N s p [PW], sy t [Y/M/D-h:m], sys kc s|e|j, help, l (log out and close).

Control protocol (plain text lines on the control port; every request gets
one line back, "OK" or "OK <data>" on success, "ERR <reason>" on failure):
  ring NUMBER       incoming analogue call from NUMBER on the first free
                    channel (B1 normally): "呼び出し中（着信）"
  stop-ring         the caller gives up; the channel is free again
  busy N | unbusy N         destination N answers busy / normally
  failing N | unfailing N   calls to destination N fail / go through
  hangup            the network drops every connected or dialling channel
  history TEXT      append a "sh h" entry (the router's date and time, TEXT)
  password [TEXT]   the console password for new logins (none when empty)
  fault NAME | nofault NAME switch a fault on / off for new connections
                    ("nofault all" clears them all)
  set NAME MS       change connect-delay-ms, minute-ms, drip-ms, split-ms
                    or slow-ms
  state             one-line dump: "OK b1=... b2=... busy=... failing=...
                    faults=... history=N analog=N kanji=C clock=Y/M/D-h:m:s
                    sessions=N ended=N"; a channel reads idle, dialling:N,
                    connected:N:IP or ringing:NUMBER; lists are comma
                    separated, "-" when empty; sessions counts the console
                    sessions open, ended those that have closed
  help              list the commands
  quit              close this control connection
  shutdown          stop the simulator

Faults:
  refuse   close every new connection at once
  hang     answer as usual but never close, not even after "l"
  silent   accept and never say anything
  split    send the output in random small pieces, cut also inside
           double-byte characters and between LF and its CR
  drip     send the output one byte at a time, with a pause before each
  iac      telnet option negotiation at connect and inside the output
  nul      NUL bytes inside the output
  garbage  lines of random bytes between the lines of the output
  cut      close in the middle of the first non-empty answer after login
  slow     each answer comes only after a pause of seconds
  flood    each answer after login is a line of a megabyte, with no prompt

Web pages (--http-port): disconnect, config-rlist, config-body, config-sys,
config-ip, config-isdn, config-analog, config-analog-port, erase-config,
show-config, show-ip-route, show-history, show-charge, each also with ".cgi";
"/" lists them. "disconnect?dis=a|b1|b2" and "disconnect?co=N" act.
)";
}

}  // namespace sim
