// The caller-name editor's rules: trimming, the "-" refusal, empty fields,
// in UTF-8 as a window holds the texts and in Shift-JIS as the store does.
#include "engine/settings/namelistedit.h"

#include <gtest/gtest.h>

#include "engine/base/sjis.h"

namespace tarvik {
namespace {

TEST(NameListEdit, Rules) {
  const struct {
    const char* number;
    const char* name;
    NameEntryResult::Outcome outcome;
    const char* entry;
    const char* trimmedNumber;
    const char* trimmedName;
  } cases[] = {
      {"0312341234", "Office", NameEntryResult::Added, "0312341234:Office", "0312341234", "Office"},
      {"  0312341234 ", "\t事務所  ", NameEntryResult::Added, "0312341234:事務所", "0312341234", "事務所"},
      {"03-1234", "Office", NameEntryResult::RefusedDash, "", "03-1234", "Office"},
      {" 03-1234 ", "", NameEntryResult::RefusedDash, "", "03-1234", ""},
      {"0312341234", "", NameEntryResult::Empty, "", "0312341234", ""},
      {"0312341234", " \r\n", NameEntryResult::Empty, "", "0312341234", ""},
      {"   ", "Office", NameEntryResult::Empty, "", "", "Office"},
      {"0312341234", "　全角空白　", NameEntryResult::Added, "0312341234:　全角空白　", "0312341234",
       "　全角空白　"},
      {"abc", "letters pass", NameEntryResult::Added, "abc:letters pass", "abc", "letters pass"},
      {"1", "a:b", NameEntryResult::Added, "1:a:b", "1", "a:b"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.number) + "/" + c.name);
    const NameEntryResult utf8 = makeNameEntry(c.number, c.name);
    EXPECT_EQ(utf8.outcome, c.outcome);
    EXPECT_EQ(utf8.entry, c.entry);
    EXPECT_EQ(utf8.number, c.trimmedNumber);
    EXPECT_EQ(utf8.name, c.trimmedName);
    // The same rules on the store's Shift-JIS bytes.
    const NameEntryResult sjis = makeNameEntry(toSjis(c.number), toSjis(c.name));
    EXPECT_EQ(sjis.outcome, c.outcome);
    EXPECT_EQ(sjis.entry, toSjis(c.entry));
    EXPECT_EQ(sjis.name, toSjis(c.trimmedName));
  }
}

// Shift-JIS trail bytes reach down to 0x40, never to "-" (0x2D) or the
// blanks: a name whose characters end in such bytes is not cut or refused.
TEST(NameListEdit, DoubleByteCharactersAreNeverTakenForBlanksOrDashes) {
  const std::string name = toSjis("ソ表能");  // trail bytes 0x5C and 0x40 among them
  const NameEntryResult r = makeNameEntry(toSjis("０３１２"), name);
  EXPECT_EQ(r.outcome, NameEntryResult::Added);
  EXPECT_EQ(r.entry, toSjis("０３１２:ソ表能"));
}

}  // namespace
}  // namespace tarvik
