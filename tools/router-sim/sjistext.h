#pragma once
// Text helpers of the simulator. Everything the console prints is built as
// Shift-JIS bytes (the source literals are UTF-8 and go through sj()), so
// that columns can be counted in bytes the way the router's clients do.

#include <string>
#include <string_view>

namespace sim {

// UTF-8 literal to Shift-JIS (CP932).
std::string sj(std::string_view utf8);

// Pads (or cuts, never inside a double-byte character) Shift-JIS text to
// exactly width bytes.
std::string padSjis(std::string_view text, std::size_t width);

// Converts Shift-JIS output to the console character code: 's' (as is),
// 'e' (EUC-JP), 'j' (ISO-2022-JP, ending in ASCII) or 'u' (UTF-8).
std::string encodeFor(char kanjiCode, std::string_view sjis);

// The line end the console writes: LF followed by CR.
inline constexpr std::string_view kEol = "\n\r";

}  // namespace sim
