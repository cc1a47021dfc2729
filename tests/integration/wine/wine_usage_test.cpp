// `tarvik.exe --usage` under Wine prints what `tarvik --usage` prints for
// the same journal and settings: the table, the damage report on standard
// error, and the exit code of a month that is not one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/base/sjis.h"
#include "sim/headlesse2e.h"
#include "sim/headlessharness.h"

namespace tarvik::headless_test {
namespace {

namespace fs = std::filesystem;

struct Printed {
  std::optional<int> code;
  std::string out, err;
};

Printed usageOf(const fs::path& program, const TempDir& dir, const std::string& month) {
  const fs::path errFile = dir / (program.filename().string() + ".err");
  Child child;
  child.start(program, {"--usage", month, "--config-dir", dir.path().string()}, dir.path(), errFile);
  Printed printed;
  printed.code = child.wait(30s);  // Wine takes a second or two to start
  for (const std::string& l : child.lines()) printed.out += l + "\n";
  printed.err = readFile(errFile);
  return printed;
}

class WineUsage : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(std::getenv("TARVIK_EXE"), nullptr) << "run by scripts/test-windows.sh"; }
  TempDir dir;
};

// Outgoing calls by day and destination with Japanese names, a missed
// incoming one, the tariff from Tarvik.ini, and one damaged journal line.
TEST_F(WineUsage, TheMonthIsPrintedAsTheLinuxProgramPrintsIt) {
  writeFile(dir / "Tarvik.ini", "[TARIFF]\r\nFLATDEST=0\r\n");
  writeFile(dir / "Tarvik-journal.csv",
           "event,start,end,channel,destination,name,number,ip,minutes,result\n"
           "outgoing,2026-11-03 21:00:00,2026-11-03 21:10:00,B1,#0,プロバイダ,0312345678,203.0.113.1,10,\n"
           "outgoing,2026-11-05 22:50:00,2026-11-05 23:20:00,B1,#0,プロバイダ,0312345678,203.0.113.1,30,\n"
           "outgoing,2026-11-06 09:00:00,2026-11-06 09:04:00,B2,#3,会社,0398765432,203.0.113.9,4,\n"
           "incoming,2026-11-07 12:00:00,,B1,,山田,0311112222,,0,missed\n"
           "this line is not a call\n"
           "outgoing,2026-12-01 10:00:00,2026-12-01 10:05:00,B1,#0,プロバイダ,0312345678,203.0.113.1,5,\n");
  const Printed linux = usageOf(TARVIK_LINUX_BINARY, dir, "2026-11");
  const Printed windows = usageOf(TARVIK_BINARY, dir, "2026-11");
  ASSERT_EQ(linux.code, 0) << linux.err;
  EXPECT_NE(linux.out.find("会社"), std::string::npos) << linux.out;
  EXPECT_EQ(windows.code, linux.code) << windows.err;
  EXPECT_EQ(windows.out, linux.out);
  EXPECT_FALSE(linux.err.empty()) << "the damaged line is reported";
  EXPECT_EQ(windows.err, linux.err);
}

TEST_F(WineUsage, AMonthThatIsNotOneEndsBothAlike) {
  const Printed linux = usageOf(TARVIK_LINUX_BINARY, dir, "2026-13");
  const Printed windows = usageOf(TARVIK_BINARY, dir, "2026-13");
  EXPECT_EQ(linux.code, 2);
  EXPECT_EQ(windows.code, linux.code);
  EXPECT_EQ(windows.out, "");
  EXPECT_EQ(windows.err, linux.err);
}

}  // namespace
}  // namespace tarvik::headless_test
