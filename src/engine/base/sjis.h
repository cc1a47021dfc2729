#pragma once
// Conversion between UTF-8 and the router's Shift-JIS (Windows code page 932).
//
// All console output, settings values, names and script lines are kept as
// Shift-JIS byte strings; UTF-8 is used only for display and file names.
// These two functions are the only place that knows how the conversion is
// done (iconv's "CP932" on POSIX, code page 932 of the Windows API on
// Windows), so the core stays portable.

#include <string>
#include <string_view>

namespace tarvik {

// UTF-8 to CP932. Characters that CP932 cannot hold become '?'.
std::string toSjis(std::string_view utf8);

// CP932 to UTF-8. Invalid bytes become U+FFFD, never lost silently as a cut.
std::string toUtf8(std::string_view sjis);

}  // namespace tarvik
