#pragma once
// The transfer rate shown for a channel, worked out from its line usage.

#include <optional>
#include <string>
#include <string_view>

namespace tarvik {

// A count of the router's 64-byte units as kilobytes with two decimals,
// truncated: 10 gives "0.64", 200 gives "12.80", 0 gives "0.00".
std::string renderRate(long long units);

// "U <up> D <down>K/s" from a line usage such as "10/1/0": up is the number
// before the first "/", down the number before the next "/" within the five
// bytes after it. Without a rate in it (no "/", no second "/", a number that
// does not convert or is negative) there is no text; the caller then shows
// the channel's status text.
std::optional<std::string> transferRateText(std::string_view lineUsage);

}  // namespace tarvik
