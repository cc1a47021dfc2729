// Splitting a caller name-list entry into number and name.

#include "engine/settings/nameentry.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/base/sjis.h"

namespace tarvik {
namespace {

TEST(SplitNameEntry, SplitsAtTheFirstColon) {
  struct Case {
    std::string entry, number, name;
  };
  const Case cases[] = {
      {"0312341234:Office", "0312341234", "Office"},
      {"0312341234:Office:2", "0312341234", "Office:2"},  // later colons belong to the name
      {"12:a:b", "12", "a:b"},
      {"no colon", "", ""},                               // matches nothing, names nothing
      {"", "", ""},
      {":Nobody", "", "Nobody"},                          // empty number: matches nothing
      {"0312:", "0312", ""},
      {":", "", ""},
      {" 03 : Tokyo ", " 03 ", " Tokyo "},                // blanks are kept as stored
      {"03:" + std::string(100, 'n'), "03", std::string(100, 'n')},
      {"03:" + std::string(101, 'n'), "03", std::string(100, 'n')},
  };
  for (const Case& c : cases) {
    NameEntry e = splitNameEntry(c.entry);
    EXPECT_EQ(e.number, c.number) << c.entry;
    EXPECT_EQ(e.name, c.name) << c.entry;
  }
}

TEST(SplitNameEntry, NameIsCutAt100BytesNeverInsideACharacter) {
  struct Case {
    std::string nameUtf8;
    std::size_t bytes;  // of the cut name
  };
  const std::string kana = "あいうえおかきくけこさしすせそたちつてとなにぬねの";  // 25 characters
  const Case cases[] = {
      {std::string(61, 'a') + kana, 99},  // 61 + 2 x 25: a cut at 100 would split a character
      {std::string(60, 'a') + kana, 100},
      {"x" + kana + kana + kana, 99},     // 1 + 150 bytes
      {kana + kana, 100},
      {kana, 50},
  };
  for (const Case& c : cases) {
    const std::string name = toSjis(c.nameUtf8);
    const std::string entry = "1:" + name;
    std::string_view cut = splitNameEntry(entry).name;
    EXPECT_EQ(cut.size(), c.bytes) << c.nameUtf8;
    EXPECT_EQ(cut, std::string_view(name).substr(0, c.bytes));
    EXPECT_EQ(toUtf8(cut).find("\xEF\xBF\xBD"), std::string::npos) << c.nameUtf8;  // no half character
  }
}

}  // namespace
}  // namespace tarvik
