#include "engine/settings/password.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/base/sjis.h"

namespace tarvik {
namespace {

TEST(Password, EncodesEachByteAsItsValueLess44) {
  struct Case {
    std::string clear;
    std::string stored;
  };
  const Case cases[] = {
      {"", ""},
      {"abc", "O53O54O55O"},
      {" ", "O-12O"},  // a byte below 44 gives a negative number
      {std::string(1, '\0'), "O-44O"},
      {"\xFF", "O211O"},
      {toSjis("秘"), "O104O189O"},  // Shift-JIS 0x94 0xE9: each byte on its own
  };
  for (const Case& c : cases) {
    EXPECT_EQ(encodePassword(c.clear), c.stored) << c.stored;
    EXPECT_EQ(decodePassword(c.stored), c.clear) << c.stored;
  }
}

TEST(Password, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(decodePassword(encodePassword(all)), all);
}

TEST(Password, DecodesHandTypedAndDamagedValuesSafely) {
  struct Case {
    std::string stored;
    std::string clear;
  };
  const Case cases[] = {
      {"secret", "secret"},  // not beginning with "O": typed by hand, used as it is
      {"o53O", "o53O"},     {"O", ""}, {"OO", ""}, {"O53", ""},  // no closing "O"
      {"O53O5", "a"},                                            // a cut-off last piece is skipped
      {"O1234O54O", "b"},    // more than three digits: no "O" within reach
      {"O53OxyO54O", "ab"},  // not a number
      {"O999O53O", "a"},     // byte would be over 255
      {"O-45O53O", "a"},     // byte would be below 0
      {"O53OO54O", "ab"},    // an empty piece
      {"O-O53O", "a"},       // a sign alone
      {"O 53O", "a"},        // leading blank, as the decimal reading allows
  };
  for (const Case& c : cases) {
    EXPECT_EQ(decodePassword(c.stored), c.clear) << c.stored;
  }
}

}  // namespace
}  // namespace tarvik
