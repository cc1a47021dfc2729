#include "reactions/launchlist.h"

#include "base/sjis.h"

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

std::vector<std::string> splitCommandLine(std::string_view line) {
  std::vector<std::string> args;
  std::string word;
  bool inWord = false;
  std::size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t') {
      if (inWord) args.push_back(std::move(word));
      word.clear();
      inWord = false;
      ++i;
      continue;
    }
    inWord = true;
    if (c == '\'') {
      std::size_t close = line.find('\'', i + 1);
      std::size_t end = close == std::string_view::npos ? line.size() : close;
      word += line.substr(i + 1, end - i - 1);
      i = close == std::string_view::npos ? line.size() : close + 1;
    } else if (c == '"') {
      ++i;
      while (i < line.size() && line[i] != '"') {
        if (line[i] == '\\' && i + 1 < line.size() &&
            (line[i + 1] == '"' || line[i + 1] == '\\' || line[i + 1] == '$' || line[i + 1] == '`')) {
          ++i;
        }
        word += line[i++];
      }
      if (i < line.size()) ++i;  // closing quote
    } else if (c == '\\' && i + 1 < line.size()) {
      word += line[i + 1];
      i += 2;
    } else {
      word += c;
      ++i;
    }
  }
  if (inWord) args.push_back(std::move(word));
  return args;
}

std::array<std::vector<std::string>, 7> launchArguments(const LaunchList& list, std::string_view address) {
  std::array<std::vector<std::string>, 7> result;
  for (std::size_t slot = 0; slot < list.size(); ++slot) {
    // Split after converting: a Shift-JIS trail byte can look like a backslash.
    if (!list[slot].empty()) result[slot] = splitCommandLine(ExpandIP(toUtf8(list[slot]), address));
  }
  return result;
}

void LaunchedApps::AutoAppClick(Launcher& launcher, const LaunchList& list, std::string_view address) {
  auto arguments = launchArguments(list, address);
  for (std::size_t slot = 0; slot < arguments.size(); ++slot) {
    ProcessHandle process = kNoProcess;
    if (!arguments[slot].empty()) process = launcher.start(arguments[slot]);
    if (slot < slots_.size()) slots_[slot] = process;
  }
}

void LaunchedApps::endAll(Launcher& launcher) {
  for (ProcessHandle& process : slots_) {
    if (process != kNoProcess) launcher.end(process);
    process = kNoProcess;
  }
}

}  // namespace tarvik
