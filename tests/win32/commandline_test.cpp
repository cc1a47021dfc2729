// Launch command lines on Windows: the words a started program reads, and
// the program an unquoted path with blanks names, as the system finds it.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/commandline.h"

namespace tarvik {
namespace {

using Args = std::vector<std::string>;

TEST(WindowsCommandLine, WordsKeepPathBackslashes) {
  struct Case {
    std::string line;
    Args args;
  } cases[] = {
      {"prog a  b\tc", {"prog", "a", "b", "c"}},
      {"  ", {}},
      {"", {}},
      {"C:\\Windows\\notepad.exe C:\\x\\", {"C:\\Windows\\notepad.exe", "C:\\x\\"}},
      {"\"C:\\Program Files\\a.exe\" --x", {"C:\\Program Files\\a.exe", "--x"}},
      {"say 'a b'", {"say", "'a", "b'"}},
      {"a\\\\\"b c\" d", {"a\\b c", "d"}},  // 2n backslashes: n, and the quote opens
      {"a\\\\\\\"b", {"a\\\"b"}},           // 2n+1: n and a literal quote
      {"\"a \"\"b\" \"\"", {"a \"b", ""}},  // "" inside quotes is a quote
      {"p \"unterminated arg", {"p", "unterminated arg"}},
  };
  for (const Case& c : cases) EXPECT_EQ(splitCommandLine(c.line), c.args) << c.line;
}

// The shortest leading run of plain words that names a program wins, as
// CreateProcessW tries them.
TEST(WindowsCommandLine, UnquotedProgramWithBlanks) {
  const std::set<std::string> programs = {"C:\\Program Files\\Mail\\mail.exe", "C:\\Program Files\\Mail\\mail.exe x",
                                          "C:\\My"};
  auto exists = [&](const std::string& name) { return programs.count(name) > 0; };
  struct Case {
    std::string line;
    Args argv;
  } cases[] = {
      {"C:\\Program Files\\Mail\\mail.exe x y", {"C:\\Program Files\\Mail\\mail.exe", "x", "y"}},
      {"C:\\My Tools\\t.exe", {"C:\\My", "Tools\\t.exe"}},
      {"\"C:\\Program Files\\Mail\\mail.exe\" \"a b\"", {"C:\\Program Files\\Mail\\mail.exe", "a b"}},
      {"unknown words here", {"unknown", "words", "here"}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(splitProgramLine(c.line, exists), c.argv) << c.line;
}

TEST(WindowsCommandLine, ProgramsAreFoundAsTheSystemFindsThem) {
  EXPECT_TRUE(isExecutableProgram("cmd"));  // on the system folder's path, ".exe" added
  EXPECT_TRUE(isExecutableProgram("C:\\windows\\system32\\cmd.exe"));
  EXPECT_FALSE(isExecutableProgram("C:\\no\\such\\program.exe"));
}

}  // namespace
}  // namespace tarvik
