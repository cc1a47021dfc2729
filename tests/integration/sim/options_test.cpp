// The command line: --help documents the options and the control protocol,
// --version names the program; a wrong option is refused.

#include <gtest/gtest.h>

#include "sim/simharness.h"

namespace simtest {
namespace {

TEST(SimOptions, HelpDocumentsOptionsControlProtocolAndFaults) {
  Child child({TARVIK_ROUTER_SIM, "--help"}, false, true);
  const std::string help = readAll(child.stdoutFd, 3000, 5000).bytes();
  EXPECT_EQ(child.wait(3000), 0);
  for (const char* word : {"--address",
                           "--version",
                           "--port",
                           "--password",
                           "--variant",
                           "--http-port",
                           "--control-port",
                           "--stdio",
                           "--seed",
                           "--fault",
                           "--busy",
                           "--failing",
                           "--kanji-code",
                           "--history-size",
                           "--connect-delay-ms",
                           "--minute-ms",
                           "--drip-ms",
                           "--split-ms",
                           "--slow-ms",
                           "ring NUMBER",
                           "stop-ring",
                           "busy N",
                           "unbusy N",
                           "failing N",
                           "unfailing N",
                           "hangup",
                           "history TEXT",
                           "fault NAME",
                           "nofault NAME",
                           "state",
                           "shutdown",
                           "refuse",
                           "hang",
                           "silent",
                           "split",
                           "drip",
                           "iac",
                           "nul",
                           "garbage",
                           "cut",
                           "slow",
                           "config-analog-port"})
    EXPECT_TRUE(contains(help, word)) << word;
}

// --version answers as every other program of Tarvik does: one line, and
// the program ends.
TEST(SimOptions, VersionIsOneLine) {
  Child child({TARVIK_ROUTER_SIM, "--version"}, false, true);
  const std::string out = readAll(child.stdoutFd, 3000, 5000).bytes();
  EXPECT_EQ(child.wait(3000), 0);
  EXPECT_EQ(out.rfind("tarvik-router-sim ", 0), 0u) << out;
  EXPECT_EQ(out.find('\n'), out.size() - 1) << out;
}

TEST(SimOptions, WrongOptionsAreRefused) {
  const std::vector<std::vector<std::string>> cases = {
      {"--bogus"},
      {"--port"},
      {"--port", "70000"},
      {"--variant", "X"},
      {"--fault", "explode"},
      {"--busy", "16"},
      {"--kanji-code", "x"},
      {"--minute-ms", "0"},
      {"--address", "not-an-ip"},
  };
  for (const auto& args : cases) {
    std::vector<std::string> argv = {TARVIK_ROUTER_SIM};
    argv.insert(argv.end(), args.begin(), args.end());
    Child child(argv, false, true);
    EXPECT_EQ(child.wait(3000), 2) << testing::PrintToString(args);
  }
}

}  // namespace
}  // namespace simtest
