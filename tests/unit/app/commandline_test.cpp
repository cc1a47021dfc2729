// The launch command line: word rules, and the program found by the files
// that exist, checked against real files in a temporary folder.

#include "app/commandline.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace tarvik {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

TEST(SplitCommandLine, ShellWordRulesWithoutExpansion) {
  struct Case {
    std::string line;
    Args args;
  } cases[] = {
      {"prog a  b\tc", {"prog", "a", "b", "c"}},
      {"  ", {}},
      {"", {}},
      {"\"/opt/my prog/run\" --x", {"/opt/my prog/run", "--x"}},
      {"say 'a \"b\" $HOME'", {"say", "a \"b\" $HOME"}},
      {"say \"a \\\"b\\\" \\\\ \\n\"", {"say", "a \"b\" \\ \\n"}},
      {"a\\ b c", {"a b", "c"}},
      {"x''y \"\"", {"xy", ""}},
      {"p $(reboot); `id` | cat > f", {"p", "$(reboot);", "`id`", "|", "cat", ">", "f"}},
      {"p \"unterminated arg", {"p", "unterminated arg"}},
  };
  for (const Case& c : cases) EXPECT_EQ(splitCommandLine(c.line), c.args) << c.line;
}

class ProgramLine : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tarvik-cmdline-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string file(const std::string& relative, bool executable) {
    fs::path p = root_ / relative;
    fs::create_directories(p.parent_path());
    std::ofstream(p) << "#!/bin/sh\n";
    ::chmod(p.c_str(), executable ? 0755 : 0644);
    return p.string();
  }

  fs::path root_;
};

TEST_F(ProgramLine, ProgramWithBlanksIsFoundQuotedOrNot) {
  const std::string r = root_.string();
  file("My Apps/run", true);
  file("My", true);  // shorter run that is a program too: the longest wins
  file("Two  Blanks/run", true);
  file("Not Exec/run", false);
  fs::create_directories(root_ / "A Dir/sub x");
  file("ソフト 集/開く", true);

  struct Case {
    std::string line;
    Args argv;
  } cases[] = {
      {r + "/My Apps/run --x 1.2.3.4", {r + "/My Apps/run", "--x", "1.2.3.4"}},
      {"\"" + r + "/My Apps/run\" --x", {r + "/My Apps/run", "--x"}},
      {"'" + r + "/My Apps/run' --x", {r + "/My Apps/run", "--x"}},
      {r + "/My\\ Apps/run --x", {r + "/My Apps/run", "--x"}},
      // Blanks inside the path are kept as typed.
      {r + "/Two  Blanks/run a", {r + "/Two  Blanks/run", "a"}},
      {r + "/ソフト 集/開く $IP", {r + "/ソフト 集/開く", "$IP"}},
      // Only a file the user may execute counts; a folder is no program.
      {r + "/Not Exec/run a", {r + "/Not", "Exec/run", "a"}},
      {r + "/A Dir/sub x", {r + "/A", "Dir/sub", "x"}},
      // A quoted word ends the run: "Apps/run" is not part of the program.
      {r + "/My \"Apps/run\" b", {r + "/My", "Apps/run", "b"}},
      {r + "/My Apps", {r + "/My", "Apps"}},
      {"/nonexistent/My Apps/run a", {"/nonexistent/My", "Apps/run", "a"}},
      {"   ", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(splitProgramLine(c.line, isExecutableProgram), c.argv) << c.line;
}

TEST_F(ProgramLine, BareNamesAreLookedUpOnPath) {
  file("bin/my tool", true);
  file("bin/plain", false);
  const char* saved = ::getenv("PATH");
  const std::string savedPath = saved ? saved : "";
  ::setenv("PATH", ("/nonexistent:" + (root_ / "bin").string()).c_str(), 1);
  EXPECT_TRUE(isExecutableProgram("my tool"));
  EXPECT_FALSE(isExecutableProgram("plain"));
  EXPECT_FALSE(isExecutableProgram("missing"));
  EXPECT_FALSE(isExecutableProgram(""));
  EXPECT_EQ(splitProgramLine("my tool --now", isExecutableProgram), (Args{"my tool", "--now"}));
  ::setenv("PATH", savedPath.c_str(), 1);
}

}  // namespace
}  // namespace tarvik
