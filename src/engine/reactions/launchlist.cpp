#include "engine/reactions/launchlist.h"

#include "engine/base/sjis.h"

namespace tarvik {

bool isDottedIPv4(std::string_view text) {
  int parts = 0;
  std::size_t i = 0;
  while (true) {
    std::size_t start = i;
    int value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 3) {
      value = value * 10 + (text[i] - '0');
      ++i;
    }
    std::size_t digits = i - start;
    if (digits == 0 || value > 255 || (digits > 1 && text[start] == '0')) return false;
    ++parts;
    if (i == text.size()) return parts == 4;
    if (text[i] != '.' || parts == 4) return false;
    ++i;
  }
}

std::optional<std::string> connectionAddress(std::string_view b1Address, std::string_view b2Address) {
  if (isDottedIPv4(b1Address)) return std::string(b1Address);
  if (isDottedIPv4(b2Address)) return std::string(b2Address);
  return std::nullopt;
}

std::string ExpandIP(std::string_view commandLine, std::string_view address) {
  constexpr std::string_view kMarker = "$IP";
  std::string result;
  std::size_t from = 0;
  for (std::size_t at; (at = commandLine.find(kMarker, from)) != std::string_view::npos;
       from = at + kMarker.size()) {
    result += commandLine.substr(from, at - from);
    result += address;
  }
  result += commandLine.substr(from);
  return result;
}

std::array<std::string, 7> launchCommandLines(const ApplicationList& list, std::string_view address) {
  std::array<std::string, 7> result;
  for (std::size_t slot = 0; slot < list.size(); ++slot) {
    // Converted whole, before anyone splits it: a Shift-JIS trail byte can
    // look like a backslash or a quote.
    if (!list[slot].empty()) result[slot] = ExpandIP(toUtf8(list[slot]), address);
  }
  return result;
}

std::vector<std::string> LaunchedApps::AutoAppClick(Launcher& launcher, const ApplicationList& list,
                                                    std::string_view address) {
  std::vector<std::string> failed;
  auto lines = launchCommandLines(list, address);
  for (std::size_t slot = 0; slot < lines.size(); ++slot) {
    ProcessHandle process = kNoProcess;
    // A line of blanks names no program: like an empty slot, nothing to report.
    if (lines[slot].find_first_not_of(" \t") != std::string::npos) {
      process = launcher.start(lines[slot]);
      if (process == kNoProcess) failed.push_back(lines[slot]);
    }
    if (slot < slots_.size()) slots_[slot] = process;
  }
  return failed;
}

void LaunchedApps::endAll(Launcher& launcher) {
  for (ProcessHandle& process : slots_) {
    if (process != kNoProcess) launcher.end(process);
    process = kNoProcess;
  }
}

}  // namespace tarvik
