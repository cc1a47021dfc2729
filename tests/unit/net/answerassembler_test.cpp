// AnswerAssembler: NUL and telnet stripping, refusals, prompt detection,
// the hold limit.

#include "engine/net/answerassembler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvik {
namespace {

using Answers = std::vector<std::string>;

struct Result {
  Answers answers;  // complete answers before the close
  Answers atClose;  // what finish() added
  std::string replies;
};

// Feeds the pieces in order, then closes.
Result run(const std::vector<std::string>& pieces) {
  AnswerAssembler assembler;
  Result r;
  for (const auto& piece : pieces) assembler.feed(piece, r.answers, r.replies);
  assembler.finish(r.atClose);
  return r;
}

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

const std::string kIac = bytes({255});
const std::string kDo = bytes({255, 253});
const std::string kWill = bytes({255, 251});
const std::string kWont = bytes({255, 252});
const std::string kDont = bytes({255, 254});
const std::string kSb = bytes({255, 250});
const std::string kSe = bytes({255, 240});

struct TelnetCase {
  const char* name;
  std::vector<std::string> pieces;
  std::string text;  // all answers joined
  std::string replies;
};

class TelnetTest : public ::testing::TestWithParam<TelnetCase> {};

TEST_P(TelnetTest, TextAndReplies) {
  const TelnetCase& c = GetParam();
  Result r = run(c.pieces);
  std::string text;
  for (const auto& a : r.answers) text += a;
  for (const auto& a : r.atClose) text += a;
  EXPECT_EQ(text, c.text);
  EXPECT_EQ(r.replies, c.replies);
}

INSTANTIATE_TEST_SUITE_P(
    Stripping, TelnetTest,
    ::testing::Values(
        TelnetCase{"plain", {"abc"}, "abc", ""},
        TelnetCase{"nulInMiddle", {std::string("ab\0cd", 5)}, "abcd", ""},
        TelnetCase{"nulOnly", {std::string("\0\0", 2)}, "", ""},
        TelnetCase{"crNul", {std::string("x\r\0y\n\r\0z", 8)}, "x\ry\n\rz", ""},
        TelnetCase{"doRefused", {"a" + kDo + bytes({1}) + "b"}, "ab", bytes({255, 252, 1})},
        TelnetCase{"willRefused", {kWill + bytes({3}) + "b"}, "b", bytes({255, 254, 3})},
        TelnetCase{"doBinaryOption0", {kDo + bytes({0}) + "b"}, "b", bytes({255, 252, 0})},
        TelnetCase{"wontDontNoAnswer", {"a" + kWont + bytes({1}) + kDont + bytes({3}) + "b"}, "ab", ""},
        TelnetCase{"escapedFF",
                   {"a" + kIac + kIac + "b"},
                   "a\xFF"
                   "b",
                   ""},
        TelnetCase{"nopAndGaDropped", {"a" + bytes({255, 241}) + bytes({255, 249}) + "b"}, "ab", ""},
        TelnetCase{"subnegotiationSkipped", {"a" + kSb + bytes({24, 1}) + "xterm" + kSe + "b"}, "ab", ""},
        TelnetCase{"subnegotiationEscapedFF", {"a" + kSb + bytes({24, 255, 255, 0}) + kSe + "b"}, "ab", ""},
        TelnetCase{"subnegotiationNulInside", {kSb + bytes({31, 0, 80, 0, 24}) + kSe + "z"}, "z", ""},
        // A subnegotiation cut short by another command ends there.
        TelnetCase{"subnegotiationBroken",
                   {"a" + kSb + bytes({24}) + kDo + bytes({5}) + "b"},
                   "ab",
                   bytes({255, 252, 5})},
        TelnetCase{"severalRequests",
                   {kDo + bytes({24}) + kDo + bytes({32}) + kWill + bytes({1}) + kWill + bytes({3}) + "ok"},
                   "ok",
                   bytes({255, 252, 24, 255, 252, 32, 255, 254, 1, 255, 254, 3})},
        // The same sequences cut at every point between their bytes.
        TelnetCase{"splitAfterIac", {"a" + kIac, bytes({253, 1}) + "b"}, "ab", bytes({255, 252, 1})},
        TelnetCase{"splitAfterVerb", {"a" + kWill, bytes({1}) + "b"}, "ab", bytes({255, 254, 1})},
        TelnetCase{"splitEachByte", {"a", kIac, bytes({253}), bytes({7}), "b"}, "ab", bytes({255, 252, 7})},
        TelnetCase{"splitEscapedFF",
                   {"a" + kIac, kIac + "b"},
                   "a\xFF"
                   "b",
                   ""},
        TelnetCase{
            "splitInSubnegotiation", {"a" + kSb, bytes({24, 1}) + "xt" + kIac, bytes({240}) + "b"}, "ab", ""},
        TelnetCase{"splitNulPieces", {std::string("a\0", 2), std::string("\0b", 2)}, "ab", ""}),
    [](const ::testing::TestParamInfo<TelnetCase>& info) { return std::string(info.param.name); });

struct PromptCase {
  const char* name;
  std::vector<std::string> pieces;
  Answers answers;  // released before the close
  Answers atClose;
};

class PromptTest : public ::testing::TestWithParam<PromptCase> {};

TEST_P(PromptTest, Answers) {
  const PromptCase& c = GetParam();
  Result r = run(c.pieces);
  EXPECT_EQ(r.answers, c.answers);
  EXPECT_EQ(r.atClose, c.atClose);
}

INSTANTIATE_TEST_SUITE_P(
    Prompts, PromptTest,
    ::testing::Values(
        PromptCase{"noPromptHeldToClose", {"line1\n\rline2\n\r"}, {}, {"line1\n\rline2\n\r"}},
        PromptCase{"emptyStream", {}, {}, {}},
        // The CR after the prompt's LF stays with the prompt's answer, so
        // the answer waits for that byte.
        PromptCase{"promptWithCr", {"a\n\rX% sh s\n\rb\n\r"}, {"a\n\rX% sh s\n\r"}, {"b\n\r"}},
        PromptCase{"promptWithoutCr", {"X% \nb"}, {"X% \n"}, {"b"}},
        PromptCase{"promptWaitsForNextByte", {"X% sh s\n"}, {}, {"X% sh s\n"}},
        PromptCase{"promptNextBytePiece", {"X% sh s\n", "\r"}, {"X% sh s\n\r"}, {}},
        PromptCase{"promptLineWithoutLfYet", {"X% sh s"}, {}, {"X% sh s"}},
        PromptCase{"percentWithoutBlank", {"50%\n\rBOD %\xEF\x81\n\rz"}, {}, {"50%\n\rBOD %\xEF\x81\n\rz"}},
        PromptCase{"percentBlankSplit", {"X%", " \n\r", "z"}, {"X% \n\r"}, {"z"}},
        PromptCase{"severalPromptsOnePiece",
                   {"l\n\rR% a\n\rx\n\rR% b\n\ry\n\rR% l\n\rBye\n\r"},
                   {"l\n\rR% a\n\r", "x\n\rR% b\n\r", "y\n\rR% l\n\r"},
                   {"Bye\n\r"}},
        PromptCase{"backToBackPrompts", {"R% \n\rR% \n\rR% \n\r"}, {"R% \n\r", "R% \n\r", "R% \n\r"}, {}},
        PromptCase{"promptMarkInEarlierLineOnly", {"a% \n", "\rb\n\r"}, {"a% \n\r"}, {"b\n\r"}},
        // Telnet bytes and NULs inside the prompt line do not hide it.
        PromptCase{"promptWithTelnetInside",
                   {std::string("R%\0", 3) + bytes({255, 241}) + " \n" + bytes({255, 251, 1}) + "\rz"},
                   {"R% \n\r"},
                   {"z"}}),
    [](const ::testing::TestParamInfo<PromptCase>& info) { return std::string(info.param.name); });

TEST(AnswerAssemblerTest, FinishResetsForANewStream) {
  AnswerAssembler assembler;
  Answers answers;
  std::string replies;
  assembler.feed("abc" + kIac, answers, replies);  // ends inside a telnet command
  assembler.finish(answers);
  ASSERT_EQ(answers, Answers{"abc"});
  assembler.feed(bytes({253}) + "R% \n\rx", answers, replies);
  EXPECT_EQ(answers, (Answers{"abc", bytes({253}) + "R% \n\r"}));
  EXPECT_EQ(replies, "");
  EXPECT_EQ(assembler.pending(), 1u);
}

// Text without a prompt is not held without end: past the hold limit, the
// complete lines are let go.
TEST(AnswerAssemblerTest, HoldLimitReleasesCompleteLines) {
  const std::size_t limit = AnswerAssembler::kHoldLimit;
  std::string line(99, 'x');
  line += "\n\r";  // 101-byte lines
  std::string text;
  while (text.size() <= limit + 500) text += line;
  AnswerAssembler assembler;
  Answers answers;
  std::string replies;
  assembler.feed(text, answers, replies);
  ASSERT_EQ(answers.size(), 1u);
  std::size_t expected = (limit / line.size()) * line.size();  // whole lines within the limit
  EXPECT_EQ(answers[0].size(), expected);
  EXPECT_EQ(answers[0].substr(answers[0].size() - 2), "\n\r");
  EXPECT_LE(assembler.pending(), limit);
  assembler.finish(answers);
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[0] + answers[1], text);
}

TEST(AnswerAssemblerTest, HoldLimitWithoutAnyLineEnd) {
  const std::size_t limit = AnswerAssembler::kHoldLimit;
  std::string text(2 * limit + 10, 'y');
  AnswerAssembler assembler;
  Answers answers;
  std::string replies;
  assembler.feed(text, answers, replies);
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[0].size(), limit);
  EXPECT_EQ(answers[1].size(), limit);
  EXPECT_EQ(assembler.pending(), 10u);
}

// A prompt that lies within the limit wins over the hold limit, one beyond
// it comes after the cut.
TEST(AnswerAssemblerTest, HoldLimitAndPrompt) {
  const std::size_t limit = AnswerAssembler::kHoldLimit;
  std::string head(limit - 10, 'a');
  head += "\n\rR% \n\r";
  AnswerAssembler assembler;
  Answers answers;
  std::string replies;
  assembler.feed(head + std::string(limit, 'b'), answers, replies);
  ASSERT_GE(answers.size(), 1u);
  EXPECT_EQ(answers[0], head);

  std::string far(limit + 100, 'c');
  far[1000] = '\n';
  AnswerAssembler second;
  Answers farAnswers;
  second.feed(far + "R% \n\rz", farAnswers, replies);
  ASSERT_EQ(farAnswers.size(), 2u);
  EXPECT_EQ(farAnswers[0], far.substr(0, 1001));
  EXPECT_EQ(farAnswers[1], far.substr(1001) + "R% \n\r");
}

}  // namespace
}  // namespace tarvik
