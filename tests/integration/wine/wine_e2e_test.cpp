// `tarvik.exe --headless` under Wine against the router simulator on
// loopback: the scenarios every platform's program passes
// (headless_scenarios.cpp), the launch of a Windows program, and the lines
// of both programs compared for the same router output.
#include <signal.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "engine/base/sjis.h"
#include "sim/headlesse2e.h"

namespace tarvik::headless_test {

// tarvik.exe through tarvik-wine.sh, which scripts/test-windows.sh points
// at the build with TARVIK_EXE.
const ProgramUnderTest& programUnderTest() {
  static const ProgramUnderTest program{
      .binary = TARVIK_BINARY,
      .wait = 30s,
      .keepDisplay = true,
      .endsOnEverySignal = false,
      .unavailable = std::getenv("TARVIK_EXE") ? "" : "run by scripts/test-windows.sh"};
  return program;
}

namespace {

namespace fs = std::filesystem;

// The path as Windows programs under Wine see it (drive Z: is the root).
std::string windowsPath(const fs::path& path) {
  std::string p = "Z:" + fs::absolute(path).string();
  std::replace(p.begin(), p.end(), '/', '\\');
  return p;
}

fs::path launchee() {
  const char* path = std::getenv("TARVIK_LAUNCHEE");
  return path ? fs::path(path) : fs::path();
}

TEST_F(Headless, DialConnectsLaunchesWithTheAddressAndEndsTheProgramAtDisconnection) {
  ASSERT_FALSE(launchee().empty()) << "TARVIK_LAUNCHEE is not set";
  startSim();
  const fs::path record = dir / "argv.txt";
  const std::string program = windowsPath(launchee());
  // A line that starts and ends with a quote is kept in one more pair of
  // quotes, as the settings dialog saves it: reading takes one pair off.
  writeIni("[AP0]\r\n1=\"\"" + program + "\" " + windowsPath(record) + " --ip=$IP \"two words\"\"\r\n");
  startTarvik({"co"});

  expectLine("status", "ダイアル開始");
  expectLine("sound", "wav/接続.wav");
  int launch = expectLine("launch", program);
  ASSERT_GE(launch, 0);
  Line l = lineAt(launch);
  ASSERT_EQ(l.fields.size(), 4u) << l.text();
  EXPECT_EQ(l.fields[1], windowsPath(record));
  const std::string ipArg = l.fields[2];
  ASSERT_EQ(ipArg.rfind("--ip=203.0.113.", 0), 0u) << ipArg;
  EXPECT_EQ(l.fields[3], "two words");
  ASSERT_TRUE(waitState("b1=connected:0:" + ipArg.substr(5)));

  // The program really ran, with the address in place of $IP.
  for (int i = 0; i < 300 && !fs::exists(record); ++i) app.drain(100ms);
  std::istringstream recorded(readFile(record));
  std::string pid, arg1, arg2;
  std::getline(recorded, pid);
  std::getline(recorded, arg1);
  std::getline(recorded, arg2);
  EXPECT_EQ(arg1, ipArg);
  EXPECT_EQ(arg2, "two words");
  ASSERT_FALSE(pid.empty());

  // The network drops the call: the disconnection sound, and slot 1 is
  // asked to close (its window answers WM_CLOSE, so well before 5 s).
  std::size_t before = app.lines().size();
  ASSERT_EQ(control("hangup").rfind("OK", 0), 0u);
  expectLine("sound", "wav/切断.wav", before);
  int end = expectLine("end", program, before);
  ASSERT_GE(end, 0);
  EXPECT_EQ(lineAt(end).fields, l.fields);
  endWith(SIGINT);
}

// The lines both programs print from their start to the idle line of B1,
// and through an incoming call with a listed name, for the same router
// output, are the same lines in the same order. (A dial given at start may
// go out with the first exchange or the next, as the connection is quick
// or not, on either platform; the router's own events are polled alike.)
TEST_F(Headless, PrintsWhatTheLinuxProgramPrints) {
  writeFile(dir / "Tarvik.lst", toSjis("0312341234:Office\r\n"));
  // Each program meets a router of its own in the same starting state.
  auto run = [&](const fs::path& program, const std::string& name) {
    startSim();
    writeIni();
    Child child;
    startProgram(program, {}, child);
    const int idle = child.waitLine([](const std::string& raw) { return raw == "b1\t空き"; }, wait());
    EXPECT_GE(idle, 0) << name << " never showed B1 idle";
    EXPECT_EQ(control("ring 0312341234").rfind("OK", 0), 0u);
    const int caller = child.waitLine([](const std::string& raw) { return raw.rfind("caller\tOffice", 0) == 0; },
                                      wait(), static_cast<std::size_t>(std::max(idle, 0)));
    EXPECT_GE(caller, 0) << name << " never showed the caller";
    EXPECT_EQ(control("stop-ring").rfind("OK", 0), 0u);
    const int gone = child.waitLine([](const std::string& raw) { return raw.rfind("caller-off", 0) == 0; },
                                    wait(), static_cast<std::size_t>(std::max(caller, 0)));
    EXPECT_GE(gone, 0) << name << " never took the caller away";
    std::vector<std::string> lines(child.lines().begin(), child.lines().begin() + std::max(gone + 1, 0));
    endWith(SIGINT, child);
    return lines;
  };
  const std::vector<std::string> linux = run(TARVIK_LINUX_BINARY, "tarvik");
  const std::vector<std::string> windows = run(programUnderTest().binary, "tarvik.exe");
  ASSERT_FALSE(linux.empty());
  // The elapsed-time text counts seconds of each run's own, and each
  // program names a sound by the folder it found it in; the rest is the
  // same text.
  auto comparable = [](std::vector<std::string> lines) {
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& l) { return l.rfind("elapsed\t", 0) == 0; }),
                lines.end());
    for (std::string& l : lines) {
      if (l.rfind("sound\t", 0) == 0) l = "sound\t" + l.substr(l.find_last_of("/\\") + 1);
    }
    return lines;
  };
  const std::vector<std::string> w = comparable(windows), l = comparable(linux);
  std::size_t same = 0;
  while (same < w.size() && same < l.size() && w[same] == l[same]) ++same;
  EXPECT_TRUE(same == w.size() && same == l.size())
      << "first difference at line " << same << ": tarvik.exe \"" << (same < w.size() ? w[same] : "(end)")
      << "\", tarvik \"" << (same < l.size() ? l[same] : "(end)") << "\"";
}

}  // namespace
}  // namespace tarvik::headless_test
