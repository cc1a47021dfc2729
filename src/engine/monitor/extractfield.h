#pragma once
// Cuts one value out of a channel's status block.

#include <string>
#include <string_view>

namespace tarvik {

// The value after the first `marker` in `section`, up to `terminator`, read
// from at most 100 bytes after the marker. The `fallback` (the channel's
// status text) is returned instead when the channel is idle, when the value
// is 19 bytes or longer, or when the marker is absent. A value without its
// terminator is empty. Values are not trimmed.
std::string ExtractField(std::string_view marker, std::string_view section, std::string_view terminator,
                         const std::string& fallback, bool idle);

}  // namespace tarvik
