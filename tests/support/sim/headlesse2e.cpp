#include "sim/headlesse2e.h"

#include <signal.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "engine/base/sjis.h"

namespace tarvik::headless_test {
namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

void Headless::TearDown() {
  if (!HasFailure()) return;
  std::string out;
  for (const std::string& l : app.lines()) out += "  " + l + "\n";
  std::cerr << programUnderTest().binary.filename().string() << " printed:\n"
            << out << "its stderr:\n"
            << readFile(dir / "tarvik.err");
}

void Headless::startSim(std::vector<std::string> extra) {
  std::vector<std::string> args = {"--connect-delay-ms", "300", "--seed", "7"};
  args.insert(args.end(), extra.begin(), extra.end());
  sim = std::make_unique<simtest::Sim>(args);
  consolePort = sim->console;
  ASSERT_GT(consolePort, 0);
}

void Headless::writeIni(const std::string& more) {
  writeFile(dir / "Tarvik.ini",
            toSjis("[Tarvik]\r\nSOHOIP=127.0.0.1\r\nPORT=" + std::to_string(consolePort) + "\r\n" + more));
}

void Headless::startProgram(const fs::path& program, std::vector<std::string> words, Child& child) {
  std::vector<std::string> args = {"--headless", "--config-dir", dir.path().string(), "--poll-ms",
                                   std::to_string(kPollMs)};
  args.insert(args.end(), words.begin(), words.end());
  child.keepDisplay(program == programUnderTest().binary && programUnderTest().keepDisplay);
  child.start(program, args, dir.path(), dir / "tarvik.err");
}

void Headless::startTarvik(std::vector<std::string> words, Child* child) {
  startProgram(programUnderTest().binary, std::move(words), child ? *child : app);
}

int Headless::expectLine(const std::string& kind, const std::string& part, std::size_t from) {
  const int i = app.waitLine(
      [&](const std::string& raw) {
        const Line l = parseLine(raw);
        return l.kind == kind && l.text().find(part) != std::string::npos;
      },
      wait(), from);
  EXPECT_GE(i, 0) << "no line " << kind << " with \"" << part << "\"";
  return i;
}

Line Headless::lineAt(int i) const { return parseLine(app.lines().at(static_cast<std::size_t>(i))); }

bool Headless::waitState(const std::string& part) {
  const auto deadline = std::chrono::steady_clock::now() + wait();
  while (std::chrono::steady_clock::now() < deadline) {
    if (simState().find(part) != std::string::npos) return true;
    app.drain(100ms);
  }
  ADD_FAILURE() << "simulator never showed " << part << "; last: " << simState();
  return false;
}

int Headless::endedSessions() {
  const std::string state = simState();
  const std::size_t at = state.find(" ended=");
  return at == std::string::npos ? -1 : std::atoi(state.c_str() + at + 7);
}

bool Headless::waitEndedSessions(int count) {
  const auto deadline = std::chrono::steady_clock::now() + wait();
  while (std::chrono::steady_clock::now() < deadline) {
    if (endedSessions() >= count) return true;
    app.drain(100ms);
  }
  ADD_FAILURE() << "the simulator never saw " << count << " sessions end; last: " << simState();
  return false;
}

std::size_t Headless::countLines(const std::string& kind, const std::string& text) const {
  std::size_t n = 0;
  for (const std::string& raw : app.lines()) {
    const Line l = parseLine(raw);
    if (l.kind == kind && l.text() == text) ++n;
  }
  return n;
}

void Headless::endWith(int sig, Child& child) {
  child.signal(programUnderTest().endsOnEverySignal ? sig : SIGINT);
  const std::optional<int> code = child.wait(wait());
  ASSERT_TRUE(code.has_value()) << "still running after the signal";
  EXPECT_EQ(*code, 0);
  ASSERT_FALSE(child.lines().empty());
  EXPECT_EQ(child.lines().back(), "quit");
}

}  // namespace tarvik::headless_test
