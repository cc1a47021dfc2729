// The answers must not depend on how the network cut the router's output:
// every split into two pieces at every byte position, random splits into
// many pieces and a byte-by-byte drip all give exactly the answers (and
// telnet replies) of the whole transcript fed at once.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "engine/net/answerassembler.h"

namespace tarvik {
namespace {

struct Outcome {
  std::vector<std::string> answers;
  std::string replies;
  bool operator==(const Outcome&) const = default;
};

Outcome feedPieces(const std::string& text, const std::vector<std::size_t>& cuts) {
  AnswerAssembler assembler;
  Outcome out;
  std::size_t from = 0;
  for (std::size_t cut : cuts) {
    assembler.feed(std::string_view(text).substr(from, cut - from), out.answers, out.replies);
    from = cut;
  }
  assembler.feed(std::string_view(text).substr(from), out.answers, out.replies);
  assembler.finish(out.answers);
  return out;
}

std::string readFixture(const std::string& name) {
  std::ifstream in(std::string(TARVIK_CONSOLE_FIXTURES) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Random cut positions, sorted, possibly repeated (an empty piece is a
// valid read too).
std::vector<std::size_t> randomCuts(std::size_t size, std::mt19937& rng) {
  std::size_t count = 1 + rng() % 40;
  std::vector<std::size_t> cuts(count);
  for (auto& c : cuts) c = size == 0 ? 0 : rng() % (size + 1);
  std::sort(cuts.begin(), cuts.end());
  return cuts;
}

void expectChunkingInvariant(const std::string& text, bool everyTwoWaySplit) {
  const Outcome whole = feedPieces(text, {});
  if (everyTwoWaySplit) {
    for (std::size_t k = 0; k <= text.size(); ++k) {
      ASSERT_EQ(feedPieces(text, {k}), whole) << "split at byte " << k;
    }
  }
  std::mt19937 rng(20240611);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::size_t> cuts = randomCuts(text.size(), rng);
    ASSERT_EQ(feedPieces(text, cuts), whole) << "random split, round " << round;
  }
  std::vector<std::size_t> drip;
  for (std::size_t k = 1; k < text.size(); ++k) drip.push_back(k);
  ASSERT_EQ(feedPieces(text, drip), whole) << "byte by byte";
}

class TranscriptChunkingTest : public ::testing::TestWithParam<const char*> {};

TEST_P(TranscriptChunkingTest, SameAnswersHoweverCut) {
  const std::string text = readFixture(GetParam());
  ASSERT_FALSE(text.empty()) << "missing fixture " << GetParam();
  const Outcome whole = feedPieces(text, {});
  // Nothing is lost but telnet commands and NULs.
  EXPECT_FALSE(whole.answers.empty());
  std::string joined;
  for (const auto& a : whole.answers) joined += a;
  EXPECT_EQ(joined.find('\0'), std::string::npos);
  EXPECT_EQ(joined.find('\xFF'), std::string::npos);
  expectChunkingInvariant(text, true);
}

INSTANTIATE_TEST_SUITE_P(Transcripts, TranscriptChunkingTest,
                         ::testing::Values("net-poll.sjis", "net-startup.sjis", "net-dial.sjis",
                                           "net-disconnect.sjis", "net-wrong-password.sjis",
                                           // Recorded from the router simulator: with telnet
                                           // and NULs, every report, random garbage lines, a
                                           // wrong password.
                                           "net-sim-startup.sjis", "net-sim-reports.sjis",
                                           "net-sim-garbage.sjis", "net-sim-wrong-password.sjis"));

// A transcript that passes the hold limit twice, with prompts on both sides
// of the cuts and telnet commands placed across them.
TEST(LongTranscriptChunkingTest, SameAnswersAcrossTheHoldLimit) {
  const std::size_t limit = AnswerAssembler::kHoldLimit;
  std::string text = "R% sh h\n\r";
  std::string row = "12/31 23:59 B1 0312345678 connected 64K\n\r";
  while (text.size() < limit + 300) text += row;
  text += "R% \n\r";
  text += std::string(limit + 7, 'z');  // a run with no line end at all
  text += "\xFF\xFD\x01R% l\n\rBye\n\r";
  const Outcome whole = feedPieces(text, {});
  EXPECT_GE(whole.answers.size(), 5u);

  std::vector<std::vector<std::size_t>> cutSets;
  // Cuts right around the places where the limit bites.
  for (std::size_t base : {limit, limit + 9, text.size() - 16}) {
    for (std::size_t d = 0; d < 8; ++d) cutSets.push_back({base - 4 + d});
  }
  for (const auto& cuts : cutSets) ASSERT_EQ(feedPieces(text, cuts), whole) << cuts[0];
  expectChunkingInvariant(text, false);
}

}  // namespace
}  // namespace tarvik
