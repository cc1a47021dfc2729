// Name tagging of console lines.

#include "engine/monitor/tagline.h"

#include <gtest/gtest.h>

#include "engine/base/sjis.h"

namespace tarvik {
namespace {

TEST(TagLineTest, AppendsEveryMatchingNameInListOrder) {
  struct Case {
    const char* line;
    const char* tagged;
  };
  const std::vector<std::string> names = {"0312341234:Office", "nocolon", ":Nobody", "0312:Tokyo",
                                          "Tokyo:Capital"};
  for (Case c :
       {Case{"call 0312341234", "call 0312341234 Office Tokyo Capital"},  // the line as extended so far
        Case{"call 0398765432", "call 0398765432"}, Case{"", ""}}) {
    std::string line = c.line;
    TagLine(line, names);
    EXPECT_EQ(line, c.tagged) << c.line;
  }
}

TEST(TagLineTest, NameIsAtMost100BytesAndNeverCutInsideACharacter) {
  std::string kanji;
  for (int i = 0; i < 60; ++i) kanji += "名";
  const std::string longName = "x" + toSjis(kanji);  // 1 + 120 bytes
  std::string line = "0312";
  TagLine(line, {"0312:" + longName});
  EXPECT_EQ(line, "0312 " + longName.substr(0, 99));  // one byte short of 100: a character is not split
}

}  // namespace
}  // namespace tarvik
