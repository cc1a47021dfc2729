#pragma once
// One line of comma-separated values with RFC 4180 quoting: a field that
// holds a comma, a double quote or a line break is quoted, its quotes
// doubled. The journal keeps one record per line, so line breaks and other
// control characters inside a field are turned into blanks when written.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// The fields joined into one line, without the line end.
std::string joinCsvLine(const std::vector<std::string>& fields);

// The fields of one line (without its line end); nullopt when the quoting
// is broken: a quoted field without its closing quote, or text after one.
std::optional<std::vector<std::string>> splitCsvLine(std::string_view line);

}  // namespace tarvik
