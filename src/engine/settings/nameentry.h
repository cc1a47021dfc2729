#pragma once
// One entry of the caller name list (Tarvik.lst): "number:name", Shift-JIS.

#include <string_view>

namespace tarvik {

struct NameEntry {
  std::string_view number;  // before the first ":"; empty matches nothing
  std::string_view name;    // after it, at most 100 bytes
};

// The entry split at its first ":". Without a ":" both parts are empty, so
// the entry matches nothing. The name is cut to at most 100 bytes, never
// inside a double-byte character. Both parts point into entry.
NameEntry splitNameEntry(std::string_view entry);

}  // namespace tarvik
