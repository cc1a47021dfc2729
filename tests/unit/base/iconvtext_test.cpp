#include <gtest/gtest.h>

#include "engine/base/iconvtext.h"
#include "engine/base/sjis.h"

namespace tarvik {
namespace {

// The conversion loop behind both functions and the simulator's console
// codes: what a bad sequence costs of the input, and a stateful target code
// that ends each piece back in ASCII.
TEST(IconvText, BadInputStepsAndStatefulCodes) {
  const std::string unmappable = std::string("\x81\x20", 2) + "z";  // a lead byte without a trail byte
  struct Case {
    const char* to;
    const char* from;
    std::string in;
    BadInputStep step;
    std::string out;
  } cases[] = {
      {"EUC-JP-MS", "CP932", unmappable, BadInputStep::kWholeCharacter, "?z"},
      {"EUC-JP-MS", "CP932", unmappable, BadInputStep::kOneByte, "? z"},
      {"CP932", "UTF-8", "\xE6\x8E" "a", BadInputStep::kWholeCharacter, "?"},  // the 3-byte sequence's length
      {"CP932", "UTF-8", "\xE6\x8E" "a", BadInputStep::kOneByte, "??a"},
      {"ISO-2022-JP", "CP932", toSjis("接") + "x" + toSjis("続"), BadInputStep::kWholeCharacter,
       "\x1B$B@\\\x1B(Bx\x1B$BB3\x1B(B"},
      {"NO-SUCH-CODE", "CP932", "abc", BadInputStep::kOneByte, "abc"},
      {"UTF-8", "CP932", "", BadInputStep::kOneByte, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(iconvText(c.to, c.from, c.in, "?", c.step), c.out) << c.to << " " << c.in;
  }
}

}  // namespace
}  // namespace tarvik
