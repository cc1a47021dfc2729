#pragma once
// Reads the router's list of stored destinations ("#0 " to "#15").

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tarvik {

// The router keeps destinations #0 to #15.
inline constexpr int kDestinationCount = 16;
inline constexpr bool isDestination(long long n) { return n >= 0 && n < kDestinationCount; }

struct DestinationList {
  // Entry n is the line for destination #n, columns 31 to 35 left out;
  // empty when no line named #n.
  std::array<std::string, kDestinationCount> entries;
  // Menu caption for item i: the first 20 bytes of the i-th line, trailing
  // blanks removed.
  std::array<std::string, kDestinationCount> captions;
};

// Reads sixteen lines from `start` (where "#0 " was found). A line is taken
// up to its LF, at most 70 bytes; a line whose number (bytes 2 and 3) does
// not convert or lies outside 0 to 15 gives no entry, and the next line is
// read as usual.
DestinationList parseDestinationList(std::string_view answer, std::size_t start);

}  // namespace tarvik
