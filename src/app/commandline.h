#pragma once
// A launch command line, as the user types it in the application list,
// turned into a program and its arguments, never through a shell.
//
// Words are split the way a POSIX shell splits them, without any expansion:
// blanks and tabs separate; '...' keeps its text literally; "..." keeps its
// text, with \" \\ \$ \` escaped; outside quotes a backslash keeps the next
// character. An unterminated quote runs to the end.
//
// A program path may hold blanks. When it is quoted, the quotes say where it
// ends. When it is not, the program is the longest leading run of plain
// words (no quotes, no backslashes), with the blanks between them as typed,
// that names an executable file; the rest are its arguments. When no run of
// two or more words names one, the first word is the program.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// Whether a program name can be started: a path, or a bare name to look up
// on PATH.
using ExecutableTest = std::function<bool(const std::string& name)>;

std::vector<std::string> splitCommandLine(std::string_view commandLine);

// argv for commandLine: argv[0] is the program. Empty for a blank line.
std::vector<std::string> splitProgramLine(std::string_view commandLine, const ExecutableTest& isExecutable);

// The system's answer for ExecutableTest: a name with a "/" must be a regular
// file (after links) that this user may execute; a bare name must be one in
// a folder of PATH (or of the usual folders when PATH is not set).
bool isExecutableProgram(const std::string& name);

}  // namespace tarvik
