#include "engine/settings/nameentry.h"

#include "engine/base/bytes.h"

namespace tarvik {

namespace {
constexpr std::size_t kNameLimit = 100;
}  // namespace

NameEntry splitNameEntry(std::string_view entry) {
  std::size_t colon = entry.find(':');
  if (colon == std::string_view::npos) return {};
  return {entry.substr(0, colon), sjisCut(entry.substr(colon + 1), kNameLimit)};
}

}  // namespace tarvik
