#pragma once
// The programs of one destination: seven command lines (Shift-JIS), section
// [AP<n>] keys 1..7. The settings dialog's application page edits them; a
// dial loads the dialled destination's list for the launcher.

#include <array>
#include <string>

namespace tarvik {

using ApplicationList = std::array<std::string, 7>;

}  // namespace tarvik
