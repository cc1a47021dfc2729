#pragma once
// Console transcripts for the parser tests, the fuzz target and the
// benchmark. Fixtures are UTF-8 text with "\n" line ends; the router sends
// Shift-JIS with every line ending in LF CR.

#include <string>
#include <string_view>
#include <vector>

namespace tarvik::test {

// UTF-8 text with "\n" line ends as the router sends it.
std::string routerText(std::string_view utf8);

// A fixture of tests/fixtures/console by name (without ".txt"), as the
// router sends it. Empty when the file cannot be read.
std::string loadTranscript(const std::string& name);

// A fixture of tests/fixtures/console by its file name, byte for byte as
// the router (or the simulator) sent it. Empty when it cannot be read.
std::string consoleFixture(const std::string& fileName);

// Cuts router output into answers the way the exchange layer does: each
// answer ends after the LF (and the CR after it) of a line holding "% ";
// what follows the last such line is the last answer.
std::vector<std::string> splitAnswers(std::string_view text);

// Shift-JIS to UTF-8, for readable assertions.
std::string utf8(std::string_view sjis);

}  // namespace tarvik::test
