#pragma once
// `tarvik --usage [YYYY-MM]`: a month of the call journal as a table on
// standard output. Needs neither windows nor the router.

#include <filesystem>
#include <string>

namespace tarvik::app {

// month: "YYYY-MM", or empty for the current month. Damaged journal lines
// are reported once on standard error. The cost is estimated with the
// [TARIFF] of Tarvik.ini; a settings file that cannot be read is an error.
// Returns the exit code.
int printUsage(const std::filesystem::path& configDir, const std::string& month);

}  // namespace tarvik::app
