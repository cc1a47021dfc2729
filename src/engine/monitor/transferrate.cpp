#include "engine/monitor/transferrate.h"

#include <limits>

#include "engine/base/bytes.h"

namespace tarvik {

namespace {

constexpr long long kBytesPerUnit = 64;
constexpr std::size_t kDownWindow = 5;  // bytes after the first "/" that hold the second number

std::optional<long long> units(std::string_view text) {
  long long value = 0;
  if (!parseDecimal(text, value) || value < 0) return std::nullopt;
  if (value > std::numeric_limits<long long>::max() / kBytesPerUnit) return std::nullopt;
  return value;
}

}  // namespace

std::string renderRate(long long units) {
  long long bytes = units * kBytesPerUnit;
  long long hundredths = (bytes % 1000) / 10;
  std::string text = std::to_string(bytes / 1000);
  text += '.';
  if (hundredths < 10) text += '0';
  text += std::to_string(hundredths);
  return text;
}

std::optional<std::string> transferRateText(std::string_view lineUsage) {
  std::size_t slash = lineUsage.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  std::string_view after = lineUsage.substr(slash + 1, kDownWindow);
  std::size_t secondSlash = after.find('/');
  if (secondSlash == std::string_view::npos) return std::nullopt;
  std::optional<long long> up = units(lineUsage.substr(0, slash));
  std::optional<long long> down = units(after.substr(0, secondSlash));
  if (!up || !down) return std::nullopt;
  return "U " + renderRate(*up) + " D " + renderRate(*down) + "K/s";
}

}  // namespace tarvik
