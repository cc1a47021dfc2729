// The message a second start sends the running program: whole words come
// back as they went, an unfinished message is not taken for one, and no
// command line makes a message longer than the running program reads.
#include "app/secondstart.h"

#include <gtest/gtest.h>

namespace tarvik::app {
namespace {

using Words = std::vector<std::string>;

TEST(SecondStartTest, WordsArriveAsTheyWent) {
  const Words cases[] = {{}, {"co"}, {"co", "b1", "b2"}, {"接続", "--odd word"}};
  for (const Words& words : cases) {
    const auto decoded = decodeSecondStart(encodeSecondStart(words));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, words);
  }
  // Empty words carry no action and are left out; a NUL ends a word.
  EXPECT_EQ(decodeSecondStart(encodeSecondStart({"", "co", std::string("b1\0x", 4)})), (Words{"co", "b1"}));
}

TEST(SecondStartTest, APartOfAMessageIsNoMessage) {
  const std::string whole = encodeSecondStart({"co", "b2"});
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    EXPECT_FALSE(decodeSecondStart(whole.substr(0, cut)).has_value()) << cut;
  }
  EXPECT_EQ(decodeSecondStart(whole + "more"), (Words{"co", "b2"})) << "what follows the message is not read";
}

TEST(SecondStartTest, AHugeCommandLineSendsTheWordsThatFit) {
  const Words words(5000, "co");
  const std::string message = encodeSecondStart(words);
  EXPECT_LE(message.size(), kSecondStartMaxBytes);
  const auto decoded = decodeSecondStart(message);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_GT(decoded->size(), 1000u);
  EXPECT_EQ(decoded->front(), "co");
}

}  // namespace
}  // namespace tarvik::app
