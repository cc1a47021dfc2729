#include "engine/control/redial.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace tarvik {
namespace {

// One sequence, busy every time: the progress text and alternate choice of
// each dial, the first dial being the user's.
struct SequenceCase {
  std::string count;
  std::vector<std::string> progress;
  std::vector<bool> alternate;
};

class RedialSequence : public testing::TestWithParam<SequenceCase> {};

TEST_P(RedialSequence, FollowsTheParityRule) {
  const SequenceCase& c = GetParam();
  Redial redial;
  redial.arm(c.count);
  std::vector<std::string> progress;
  std::vector<bool> alternate;
  // The user's dial, then every requested redial until none is requested.
  for (int dial = 0; dial < 10; ++dial) {
    RedialChoice choice = redial.choose(c.count);
    progress.push_back(choice.RedialProgress);
    alternate.push_back(choice.UseAlternate);
    redial.busy();
    if (!redial.takeRequest(true)) break;
  }
  EXPECT_EQ(progress, c.progress);
  EXPECT_EQ(alternate, c.alternate);
  EXPECT_EQ(redial.RedialsLeft, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RedialSequence,
    testing::Values(SequenceCase{"0", {""}, {false}}, SequenceCase{"1", {"(1/1)", ""}, {false, false}},
                    SequenceCase{"2", {"(2/2)", "(1/2)", ""}, {false, true, false}},
                    SequenceCase{"3", {"(3/3)", "(2/3)", "(1/3)", ""}, {false, false, true, false}},
                    SequenceCase{
                        "4", {"(4/4)", "(3/4)", "(2/4)", "(1/4)", ""}, {false, true, false, true, false}}));

TEST(Redial, RequestWaitsForAFreeLine) {
  Redial redial;
  redial.arm("2");
  redial.busy();
  EXPECT_FALSE(redial.takeRequest(false));
  EXPECT_FALSE(redial.takeRequest(false));
  EXPECT_TRUE(redial.takeRequest(true));
  EXPECT_FALSE(redial.takeRequest(true));  // consumed
}

TEST(Redial, CountTextConversion) {
  struct Case {
    const char* text;
    bool ok;
    int count;
  };
  const Case cases[] = {
      {"5", true, 5},
      {"0", true, 0},
      {"  7", true, 7},
      {"+4", true, 4},
      {"-3", true, 0},                 // below zero counts as none
      {"99999999999", true, INT_MAX},  // more than can be counted
      {"abc", false, 0},
      {"", false, 0},
      {"10 ", false, 0},
      {"0x10", false, 0},
      {"1.5", false, 0},
  };
  for (const Case& c : cases) {
    int count = -1;
    EXPECT_EQ(Redial::parseCount(c.text, count), c.ok) << c.text;
    EXPECT_EQ(count, c.count) << c.text;
    Redial redial;
    redial.arm(c.text);
    EXPECT_EQ(redial.RedialsLeft, c.count) << c.text;
  }
}

TEST(Redial, BadCountIsShownVerbatimAndArmsNothing) {
  int count = 7;
  EXPECT_FALSE(Redial::parseCount("x3", count));
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(Redial::parseCount("-2", count));
  EXPECT_EQ(count, 0);

  Redial redial;
  redial.arm("x3");
  EXPECT_EQ(redial.RedialsLeft, 0);
  // Left over from an earlier good count: parity alone, no first-dial exception.
  redial.RedialsLeft = 3;
  RedialChoice choice = redial.choose("x3");
  EXPECT_EQ(choice.RedialProgress, "(3/x3)");
  EXPECT_TRUE(choice.UseAlternate);
}

TEST(Redial, ArmingEndsAPendingRequest) {
  Redial redial;
  redial.arm("3");
  redial.busy();
  redial.arm("3");
  EXPECT_EQ(redial.RedialsLeft, 3);
  EXPECT_FALSE(redial.takeRequest(true));
}

}  // namespace
}  // namespace tarvik
