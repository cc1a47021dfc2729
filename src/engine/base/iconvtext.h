#pragma once
// One iconv conversion loop for every code the program and its tools
// convert between (CP932, UTF-8, EUC-JP, ISO-2022-JP).

#include <string>
#include <string_view>

namespace tarvik {

// What a byte sequence that cannot be converted costs of the input.
enum class BadInputStep {
  kOneByte,        // one byte; the next byte is tried again
  kWholeCharacter  // a whole UTF-8 sequence, or a Shift-JIS lead byte with its trail byte
};

// Converts in from the code `from` to the code `to`. Each sequence that
// cannot be converted becomes replacement and is stepped over, so the
// conversion always ends and never throws. The output ends in the target
// code's initial state (ISO-2022-JP returns to ASCII). A code iconv does not
// know gives the input unchanged.
std::string iconvText(const char* to, const char* from, std::string_view in, std::string_view replacement,
                      BadInputStep step);

}  // namespace tarvik
