#include "engine/monitor/destinationlist.h"

#include <algorithm>

#include "engine/base/bytes.h"

namespace tarvik {

namespace {

constexpr std::size_t kLineBytes = 70;
constexpr std::size_t kFirstColumns = 30;  // bytes 1-30 are kept
constexpr std::size_t kSecondFrom = 35;    // bytes 31-35 are dropped,
constexpr std::size_t kSecondBytes = 13;   // bytes 36-48 are kept
constexpr std::size_t kCaptionBytes = 20;

// The destination number in bytes 2 and 3 of an entry ("#7 " or "#12").
bool destinationNumber(std::string_view entry, std::size_t& number) {
  long long value = 0;
  if (!parseDecimal(trimBlanks(entry.substr(1, 2)), value) || !isDestination(value)) return false;
  number = static_cast<std::size_t>(value);
  return true;
}

}  // namespace

DestinationList parseDestinationList(std::string_view answer, std::size_t start) {
  DestinationList list;
  std::size_t at = std::min(start, answer.size());
  for (std::size_t item = 0; item < list.captions.size(); ++item) {
    std::string_view rest = answer.substr(at);
    std::size_t lineFeed = rest.find('\n');
    // The line alone: its break and the next line's bytes are no part of it.
    std::string_view line = rest.substr(0, std::min(lineFeed, kLineBytes));
    at = lineFeed == std::string_view::npos ? answer.size() : at + lineFeed + 1;
    if (at < answer.size() && answer[at] == '\r') ++at;

    std::string entry(line.substr(0, kFirstColumns));
    if (line.size() > kSecondFrom) entry += line.substr(kSecondFrom, kSecondBytes);

    std::size_t number = 0;
    if (!entry.empty() && entry.front() == '#' && destinationNumber(entry, number))
      list.entries[number] = entry;
    list.captions[item] = std::string(trimRightBlanks(sjisCut(entry, kCaptionBytes)));
  }
  return list;
}

}  // namespace tarvik
