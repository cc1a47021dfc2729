#pragma once
// The POSIX half of a launcher driver (see launchercontract.h), shared by
// the libuv and the Qt launcher tests: the recording program as a shell
// script, the process checks through /proc and signals, and the POSIX
// rules for splitting a command line's words.

#include <signal.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "contracts/launchercontract.h"

namespace tarvik::contracts {

// 'Z' for a zombie, 0 when no such process exists.
inline char processState(long long pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return 0;
  const std::size_t close = line.rfind(')');
  return close + 2 < line.size() ? line[close + 2] : 0;
}

struct PosixPrograms {
  // `sleep 1 & wait` lets a TERM's trap run at once; the script gives up
  // by itself after a minute, should a test leave it behind.
  static fs::path installRecorder(const fs::path& folder, const std::string& name) {
    const fs::path program = folder / fromUtf8(name);
    std::ofstream(program, std::ios::binary) << R"(#!/bin/sh
record=$1
shift
stay=
for a in "$@"; do [ "$a" = --ignore-close ] && stay=1; done
asked() { : > "$record.asked"; [ -n "$stay" ] || exit 0; }
trap asked TERM
{ echo $$; for a in "$@"; do printf '%s\n' "$a"; done; } > "$record.part" && mv "$record.part" "$record"
n=0
while [ $n -lt 60 ]; do sleep 1 & wait $!; n=$((n + 1)); done
)";
    fs::permissions(program, fs::perms::owner_all);
    return program;
  }
  static bool gone(long long pid) { return processState(pid) == 0; }
  static void askToClose(long long pid) { ::kill(static_cast<pid_t>(pid), SIGTERM); }
  // Still this test's child once its launcher has let go: reaped here.
  static void forceEnd(long long pid) {
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    ::waitpid(static_cast<pid_t>(pid), nullptr, 0);
  }
  // Words as a POSIX shell splits them, with nothing expanded and no
  // command run.
  static std::vector<ArgumentCase> argumentCases() {
    return {
        {"10.0.0.1 'two words'", {"10.0.0.1", "two words"}},
        {"$HOME '; touch x' a\\ b \"say \\\"hi\\\"\" ''", {"$HOME", "; touch x", "a b", "say \"hi\"", ""}},
    };
  }
};

}  // namespace tarvik::contracts
