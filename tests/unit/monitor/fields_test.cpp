// Cutting field values and rendering the transfer rate.

#include <gtest/gtest.h>

#include "engine/monitor/extractfield.h"
#include "engine/monitor/transferrate.h"

namespace tarvik {
namespace {

TEST(ExtractFieldTest, CutsOrFallsBack) {
  struct Case {
    const char* section;
    bool idle;
    const char* expected;
  };
  const std::string fallback = "STATUS";
  const Case cases[] = {
      {"x IP[10.0.0.1] y", false, "10.0.0.1"},
      {"x IP[10.0.0.1] y", true, "STATUS"},                     // idle: every field shows the status
      {"IP[] IP[second]", false, ""},                           // first occurrence, empty value
      {"IP[123456789012345678]", false, "123456789012345678"},  // 18 bytes
      {"IP[1234567890123456789]", false, "STATUS"},             // 19 bytes
      {"no marker here, ] ]", false, "STATUS"},                 // absent marker
      {"IP[10.0.0.1", false, ""},                               // no terminator
      {"IP[", false, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractField("IP[", c.section, "]", fallback, c.idle), c.expected) << c.section;
  }
}

TEST(ExtractFieldTest, LooksForTheTerminatorWithin100BytesOfTheMarker) {
  std::string far = "IP[" + std::string(100, 'x') + "]";
  EXPECT_EQ(ExtractField("IP[", far, "]", "S", false), "");
  std::string near = "IP[" + std::string(99, ' ').replace(0, 2, "ab") + "]";
  EXPECT_EQ(ExtractField("IP[", near, "]", "S", false), "S");  // found, but 99 bytes long
}

TEST(TransferRateTest, RendersKilobytesWithTheWholeIntegerPart) {
  struct Case {
    long long units;
    const char* text;
  };
  for (Case c : {Case{0, "0.00"}, Case{1, "0.06"}, Case{10, "0.64"}, Case{100, "6.40"}, Case{200, "12.80"},
                 Case{15625, "1000.00"}, Case{16, "1.02"}}) {
    EXPECT_EQ(renderRate(c.units), c.text) << c.units;
  }
}

TEST(TransferRateTest, ReadsUpAndDownFromTheLineUsage) {
  struct Case {
    const char* usage;
    const char* text;  // nullptr: no rate in it
  };
  const Case cases[] = {
      {"10/1/0", "U 0.64 D 0.06K/s"},
      {"100/0/0", "U 6.40 D 0.00K/s"},
      {"  200/ 15/3", "U 12.80 D 0.96K/s"},  // leading blanks are allowed
      {"1/12345/", nullptr},                 // the second "/" lies beyond five bytes
      {"1/1234/", "U 0.06 D 78.97K/s"},
      {"64K", nullptr},
      {"100/0", nullptr},
      {"1 /0/0", nullptr},
      {"1/x/0", nullptr},
      {"-1/0/0", nullptr},
      {"999999999999999999/0/0", nullptr},  // too large to count in bytes
      {"", nullptr},
  };
  for (const Case& c : cases) {
    std::optional<std::string> text = transferRateText(c.usage);
    if (c.text) {
      ASSERT_TRUE(text.has_value()) << c.usage;
      EXPECT_EQ(*text, c.text) << c.usage;
    } else {
      EXPECT_FALSE(text.has_value()) << c.usage << " gave " << text.value_or("");
    }
  }
}

}  // namespace
}  // namespace tarvik
