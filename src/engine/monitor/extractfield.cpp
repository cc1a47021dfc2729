#include "engine/monitor/extractfield.h"

namespace tarvik {

namespace {
constexpr std::size_t kValueWindow = 100;  // bytes read after the marker
constexpr std::size_t kLongestValue = 18;  // longer values show the status text
}  // namespace

std::string ExtractField(std::string_view marker, std::string_view section, std::string_view terminator,
                         const std::string& fallback, bool idle) {
  std::size_t at = section.find(marker);
  // Without its marker the block holds no such value: reading from some
  // fixed place instead would show unrelated bytes as, say, the address.
  if (at == std::string_view::npos || idle) return fallback;
  std::string_view window = section.substr(at + marker.size(), kValueWindow);
  std::size_t end = window.find(terminator);
  std::string_view value = end == std::string_view::npos ? std::string_view() : window.substr(0, end);
  if (value.size() > kLongestValue) return fallback;
  return std::string(value);
}

}  // namespace tarvik
