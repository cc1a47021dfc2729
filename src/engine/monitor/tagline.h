#pragma once
// Tags console lines with the names of the telephone numbers they contain.

#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// A name-list entry is "number:name". The number is the text before the first
// ":" (empty, and so matching nothing, without one); the name is the text
// after it, at most 100 bytes, never cut inside a double-byte character.
std::string_view entryNumber(std::string_view entry);
std::string_view entryName(std::string_view entry);

// For each entry in list order whose number occurs in the line as extended so
// far, appends a blank and the entry's name.
void TagLine(std::string& line, const std::vector<std::string>& nameList);

}  // namespace tarvik
