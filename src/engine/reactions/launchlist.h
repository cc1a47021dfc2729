#pragma once
// The programs started once a connection has an IP address: seven command
// lines per destination ([AP<n>] keys 1..7); slots 1-3 are ended again at
// disconnection, slots 4-7 are left running.
//
// A command line is partly router-influenced text (the address), so "$IP"
// is filled in only with a well-formed dotted IPv4 address; the launcher
// splits the line into arguments and never runs it through a shell.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ports/launcher.h"
#include "engine/settings/applicationlist.h"

namespace tarvik {

// Four decimal parts 0..255 separated by ".", nothing else (no blanks, no
// leading zeros, no sign).
bool isDottedIPv4(std::string_view text);

// The connection's address: B1's when it is a dotted IPv4 address, else
// B2's; nullopt when neither is.
std::optional<std::string> connectionAddress(std::string_view b1Address, std::string_view b2Address);

// Every "$IP" replaced in place by address; the rest of the line is kept.
std::string ExpandIP(std::string_view commandLine, std::string_view address);

// The command lines (UTF-8) to start for a launch list, "$IP" filled in.
// Empty slots stay empty.
std::array<std::string, 7> launchCommandLines(const ApplicationList& list, std::string_view address);

class LaunchedApps {
 public:
  // Starts slots 1..7 in order; keeps slots 1-3 to end them later.
  // Returns the command lines (UTF-8) that could not be started.
  std::vector<std::string> AutoAppClick(Launcher& launcher, const ApplicationList& list,
                                        std::string_view address);
  // Ends slots 1-3 (the launcher ends only a still-running child) and
  // forgets them, so that a later disconnection touches nothing.
  void endAll(Launcher& launcher);

  const std::array<ProcessHandle, 3>& slots() const { return slots_; }

 private:
  std::array<ProcessHandle, 3> slots_{kNoProcess, kNoProcess, kNoProcess};
};

}  // namespace tarvik
