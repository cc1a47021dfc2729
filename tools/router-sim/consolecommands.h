#pragma once
// The console's command vocabulary: one table of commands, each answered
// from the router's state. Answers are Shift-JIS, every line ends LF CR.

#include <string>
#include <string_view>

namespace sim {

class Router;

// Runs one console line (not empty, not the logout "l") and returns the answer.
std::string runCommand(Router& router, std::string_view line);

// True for the lines that end the console login.
bool isLogout(std::string_view line);

// The console prompt, e.g. "MN128-SOHO% ".
std::string promptFor(char variant);

}  // namespace sim
