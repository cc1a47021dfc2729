#pragma once
// Tags console lines with the names of the telephone numbers they contain.

#include <string>
#include <vector>

namespace tarvik {

// For each entry in list order whose number occurs in the line as extended so
// far, appends a blank and the entry's name.
void TagLine(std::string& line, const std::vector<std::string>& nameList);

}  // namespace tarvik
