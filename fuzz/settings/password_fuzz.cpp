// The password decoder reads whatever PASS holds: any bytes must decode
// without reading outside the value, and every password must survive its
// encoding.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/settings/password.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string decoded = tarvik::decodePassword(input);
  if (input.empty() || input.front() != 'O') {
    check(decoded == input);
  } else {
    // At most one byte per "O" but the last.
    check(decoded.size() < static_cast<std::size_t>(std::count(input.begin(), input.end(), 'O')) ||
          decoded.empty());
  }

  std::string encoded = tarvik::encodePassword(input);
  check(encoded.find_first_not_of("O-0123456789") == std::string::npos);
  check(tarvik::decodePassword(encoded) == input);
  return 0;
}
