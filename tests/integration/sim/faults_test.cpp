// Each fault mode does what it says, compared with the output of a console
// that behaves.

#include <gtest/gtest.h>
#include <unistd.h>

#include "sim/simharness.h"

namespace simtest {
namespace {

const std::vector<std::string> kCommands = {"sh ver", "sh s"};

// What a well-behaved console prints for the batch (nothing in it is random).
const std::string& reference() {
  static const std::string out = [] {
    Sim sim;
    return converse(sim.console, loginBatch(kCommands)).bytes();
  }();
  return out;
}

Transcript withFault(std::vector<std::string> args, int quietMs = 3000) {
  Sim sim(std::move(args));
  return converse(sim.console, loginBatch(kCommands), quietMs);
}

bool isSjisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

TEST(SimFaults, RefuseClosesAtOnce) {
  Sim sim({"--fault", "refuse"});
  const Transcript t = converse(sim.console, loginBatch(kCommands));
  EXPECT_TRUE(t.closedByPeer);
  EXPECT_EQ(t.bytes(), "");
}

TEST(SimFaults, SilentAcceptsAndSaysNothing) {
  const Transcript t = withFault({"--fault", "silent"}, 500);
  EXPECT_FALSE(t.closedByPeer);
  EXPECT_EQ(t.bytes(), "");
}

TEST(SimFaults, HangAnswersButNeverCloses) {
  Sim sim({"--fault", "hang"});
  const int fd = connectTo(sim.console);
  const std::string batch = loginBatch(kCommands);
  ASSERT_EQ(::write(fd, batch.data(), batch.size()), static_cast<ssize_t>(batch.size()));
  const Transcript t = readAll(fd, 500, 3000);
  EXPECT_FALSE(t.closedByPeer);
  EXPECT_EQ(t.bytes(), reference());
  EXPECT_TRUE(contains(sim.control("state"), " sessions=1"));
  ::close(fd);
}

TEST(SimFaults, SplitCutsInsideCharactersAndBetweenLfAndCr) {
  const Transcript t = withFault({"--fault", "split", "--split-ms", "3"});
  ASSERT_TRUE(t.closedByPeer);
  EXPECT_EQ(t.bytes(), reference());
  EXPECT_GT(t.chunks.size(), 30u);
  // Where each chunk ends, seen against the Shift-JIS text.
  const std::string all = t.bytes();
  std::vector<bool> isLead(all.size(), false);
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (isSjisLead(static_cast<unsigned char>(all[i])) && i + 1 < all.size()) {
      isLead[i] = true;
      ++i;
    }
  }
  int insideCharacter = 0, betweenLfCr = 0;
  std::size_t end = 0;
  for (std::size_t c = 0; c + 1 < t.chunks.size(); ++c) {
    end += t.chunks[c].bytes.size();
    insideCharacter += isLead[end - 1];
    betweenLfCr += all[end - 1] == '\n' && all[end] == '\r';
  }
  EXPECT_GT(insideCharacter, 0);
  EXPECT_GT(betweenLfCr, 0);
}

TEST(SimFaults, DripSendsOneByteAtATime) {
  const Transcript t = withFault({"--fault", "drip", "--drip-ms", "1"});
  ASSERT_TRUE(t.closedByPeer);
  EXPECT_EQ(t.bytes(), reference());
  // Most bytes come alone (the reader may now and then find two or three
  // waiting), and each waits its turn: about 1 ms per byte.
  EXPECT_GT(t.chunks.size() * 3, reference().size());
  EXPECT_GE(t.chunks.back().atMs * 10, static_cast<std::int64_t>(reference().size()) * 8);
}

std::string withoutTelnetCommands(const std::string& bytes) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (static_cast<unsigned char>(bytes[i]) != 0xFF) {
      out.push_back(bytes[i]);
      continue;
    }
    const unsigned char verb = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    i += (verb >= 0xFB && verb <= 0xFE) ? 2 : 1;
  }
  return out;
}

TEST(SimFaults, IacNegotiatesAtConnectAndInsideTheOutput) {
  const Transcript t = withFault({"--fault", "iac"});
  ASSERT_TRUE(t.closedByPeer);
  const std::string all = t.bytes();
  EXPECT_EQ(all.substr(0, 12), std::string("\xFF\xFB\x01\xFF\xFB\x03\xFF\xFD\x18\xFF\xFD\x1F"));
  EXPECT_GT(count(all.substr(12), "\xFF"), 2);
  EXPECT_EQ(withoutTelnetCommands(all), reference());
}

TEST(SimFaults, NulPutsNulBytesIntoTheOutput) {
  const Transcript t = withFault({"--fault", "nul"});
  ASSERT_TRUE(t.closedByPeer);
  std::string all = t.bytes();
  EXPECT_GE(count(all, std::string(1, '\0')), count(reference(), "\n\r"));
  std::erase(all, '\0');
  EXPECT_EQ(all, reference());
}

TEST(SimFaults, GarbageAddsLinesOfRandomBytesBetweenTheLines) {
  const Transcript t = withFault({"--fault", "garbage"});
  ASSERT_TRUE(t.closedByPeer);
  const std::vector<std::string> got = lines(t.bytes());
  const std::vector<std::string> want = lines(reference());
  EXPECT_GT(got.size(), want.size());
  // The real lines are all there, in order; everything else is garbage that
  // never looks like a prompt.
  std::size_t w = 0;
  for (const std::string& line : got) {
    if (w < want.size() && line == want[w]) {
      ++w;
      continue;
    }
    EXPECT_FALSE(contains(line, "%")) << "garbage line looks like a prompt";
  }
  EXPECT_EQ(w, want.size());
}

TEST(SimFaults, CutClosesInTheMiddleOfTheFirstAnswer) {
  const Transcript t = withFault({"--fault", "cut"});
  ASSERT_TRUE(t.closedByPeer);
  const std::string all = t.bytes();
  EXPECT_EQ(reference().rfind(all, 0), 0u) << "the output is the start of the real one";
  const std::size_t echo = all.find("MN128-SOHO% sh ver\n\r");
  ASSERT_NE(echo, std::string::npos);
  EXPECT_GT(all.size(), echo + 20) << "part of the answer came";
  EXPECT_FALSE(contains(all, sj("稼働時間"))) << "but not all of it";
}

TEST(SimFaults, SlowAnswersTakeTheirTime) {
  const Transcript t = withFault({"--fault", "slow", "--slow-ms", "300"});
  ASSERT_TRUE(t.closedByPeer);
  EXPECT_EQ(t.bytes(), reference());
  // Three command lines wait: "sys kc s", "sh ver" and "sh s".
  std::int64_t statusAt = -1;
  for (const Chunk& c : t.chunks)
    if (statusAt < 0 && contains(c.bytes, sj("回線種別:"))) statusAt = c.atMs;
  EXPECT_GE(statusAt, 850);
  EXPECT_GE(t.chunks.back().atMs, statusAt);
}

TEST(SimFaults, FloodAnswersEachCommandWithAMegabyteAndNoPrompt) {
  const Transcript t = withFault({"--fault", "flood"});
  ASSERT_TRUE(t.closedByPeer);
  const std::string all = t.bytes();
  EXPECT_GE(all.size(), 3u * 1024 * 1024) << "sys kc s, sh ver and sh s";
  EXPECT_FALSE(contains(all, sj("回線種別:")));
  const std::string prompt = "MN128-SOHO% ";
  const std::size_t afterLogin = all.find(prompt);
  ASSERT_NE(afterLogin, std::string::npos);
  // The next prompt comes only for the empty code line, after the floods.
  const std::size_t next = all.find(prompt, afterLogin + 1);
  ASSERT_NE(next, std::string::npos);
  EXPECT_GE(next, afterLogin + 3u * 1024 * 1024);
}

TEST(SimFaults, ControlPortSwitchesFaultsForNewConnections) {
  Sim sim;
  ASSERT_EQ(sim.control("fault refuse"), "OK");
  EXPECT_EQ(converse(sim.console, loginBatch(kCommands)).bytes(), "");
  ASSERT_EQ(sim.control("nofault refuse"), "OK");
  ASSERT_EQ(sim.control("fault nul"), "OK");
  std::string out = converse(sim.console, loginBatch(kCommands)).bytes();
  EXPECT_TRUE(contains(out, std::string(1, '\0')));
  std::erase(out, '\0');
  EXPECT_EQ(out, reference());
}

}  // namespace
}  // namespace simtest
