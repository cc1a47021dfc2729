#include "engine/settings/inifile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/base/sjis.h"

namespace tarvik {
namespace {

// A hand-edited file with everything the profile functions have to cope
// with: mixed line ends, blanks, quotes, comments, duplicates, a last line
// without a line end.
const std::string kMessy =
    "; settings kept by hand\r\n"
    "orphan=before any section\r\n"
    "[Tarvik]\r\n"
    "  SOHOIP  =  192.168.0.1  \r\n"
    "pass=O53O54O55O\n"
    "DEFAULT=3\r\n"
    "DEFAULT=9\r\n"
    "; DEFAULT=7\r\n"
    "noequals\r\n"
    "\r\n"
    "[option] ; window and behaviour\r"
    "TIME=\"10\"\r\n"
    "LOG='my log.txt'\r\n"
    "LAST=\"unbalanced\r\n"
    "EMPTY=\r\n"
    "QUOTED=\"\"\r\n"
    "\r\n"
    "[Tarvik]\r\n"
    "AUTO=4\r\n"
    "[Extra]\r\n"
    "Other=kept";

TEST(IniFile, ReadsValuesAsTheProfileFunctionsDo) {
  IniFile ini(kMessy);
  struct Case {
    const char* section;
    const char* key;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"Tarvik", "SOHOIP", "192.168.0.1"},  // blanks around key and value dropped
      {"TARVIK", "sohoip", "192.168.0.1"},  // names without regard to case
      {"Tarvik", "PASS", "O53O54O55O"},     // LF-only line end
      {"Tarvik", "DEFAULT", "3"},           // the first of two keys wins
      {"Tarvik", "AUTO", std::nullopt},     // a repeated section is never looked at
      {"Tarvik", "noequals", std::nullopt},
      {"Tarvik", "; DEFAULT", std::nullopt},  // comment lines are no keys
      {"OPTION", "TIME", "10"},               // surrounding double quotes dropped
      {"OPTION", "LOG", "my log.txt"},        // single quotes too
      {"OPTION", "LAST", "\"unbalanced"},     // an unmatched quote stays
      {"OPTION", "EMPTY", ""},                // present but empty is not missing
      {"OPTION", "QUOTED", ""},
      {"Extra", "Other", "kept"},  // last line without a line end
      {"", "orphan", std::nullopt},
      {"Missing", "TIME", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ini.value(c.section, c.key), c.expected) << c.section << " " << c.key;
  }
  EXPECT_EQ(ini.readString("OPTION", "nothing", "fallback"), "fallback");
  EXPECT_EQ(ini.readString("OPTION", "EMPTY", "fallback"), "");
}

TEST(IniFile, DoubleByteNamesAreComparedWhole) {
  // 0x82 0x61 and 0x82 0x41 are different characters although their second
  // bytes are 'a' and 'A'; 0x83 0x5D ends in "]" but closes no section.
  std::string text = "[\x83\x5D]\r\nk\x82\x61=1\r\n[ab\x83\x5D\r\nx=2\r\n";
  IniFile ini(text);
  EXPECT_EQ(ini.value("\x83\x5D", "k\x82\x61"), "1");
  EXPECT_EQ(ini.value("\x83\x5D", "k\x82\x41"), std::nullopt);
  EXPECT_EQ(ini.value("\x83\x5D", "x"), "2");  // "[ab..." was no section header
  EXPECT_TRUE(profileNamesEqual("CHECK17", "check17"));
  EXPECT_FALSE(profileNamesEqual("CHECK17", "CHECK1"));
}

TEST(IniFile, ValuesAreReadAtMost1023Bytes) {
  std::string sjis = toSjis("接");
  struct Case {
    std::string value;
    std::size_t expectedBytes;
  };
  const Case cases[] = {
      {std::string(1023, 'x'), 1023},
      {std::string(1500, 'x'), 1023},
      // A double-byte character across the limit is left out, not split.
      {std::string(1022, 'x') + sjis + "yy", 1022},
      {std::string(1021, 'x') + sjis + "yy", 1023},
  };
  for (const Case& c : cases) {
    IniFile ini("[S]\r\nk=" + c.value + "\r\n");
    std::string read = ini.readString("S", "k", "");
    EXPECT_EQ(read.size(), c.expectedBytes);
    EXPECT_EQ(read, c.value.substr(0, c.expectedBytes));
  }
}

TEST(IniFile, IntegerAndBooleanRules) {
  struct Case {
    const char* value;  // nullptr: key missing
    int integer;        // read with fallback 77
    bool flagTrueFallback;
    bool flagFalseFallback;
  };
  const Case cases[] = {
      {"10", 10, true, true},
      {"-5", -5, true, true},
      {"+5", 5, true, true},
      {"010", 10, true, true},
      {"\" 7\"", 7, true, true},  // leading blank inside quotes: still decimal
      {"0x0A", 10, true, true},   // "0x" and longer than two characters: hex
      {"0X1f", 31, true, true},
      {"0x0", 0, false, false},
      {"0xFFFFFFFF", -1, true, true},  // 32 bits, signed
      {"2147483647", 2147483647, true, true},
      {"-2147483648", -2147483648, true, true},
      {"0", 0, false, false},
      {"2", 2, true, true},     // any non-zero number is true
      {"0x", 77, true, false},  // two characters: decimal, and not a number
      {"0x100000000", 77, true, false},
      {"0xG1", 77, true, false},
      {"2147483648", 77, true, false},
      {"$10", 77, true, false},
      {"1.5", 77, true, false},
      {"12abc", 77, true, false},
      {"yes", 77, true, false},
      {"", 77, true, false},
      {nullptr, 77, true, false},
  };
  for (const Case& c : cases) {
    IniFile ini(c.value ? std::string("[S]\r\nk=") + c.value + "\r\n" : "[S]\r\n");
    std::string label = c.value ? c.value : "(missing)";
    EXPECT_EQ(ini.readInteger("S", "k", 77), c.integer) << label;
    EXPECT_EQ(ini.readBool("S", "k", true), c.flagTrueFallback) << label;
    EXPECT_EQ(ini.readBool("S", "k", false), c.flagFalseFallback) << label;
  }
}

TEST(IniFile, AWriteChangesOneLineAndKeepsEveryOtherByte) {
  IniFile ini(kMessy);
  ini.writeString("TARVIK", "sohoip", "10.0.0.1");
  std::string expected = kMessy;
  // The key keeps its spelling from the file and its line gets CR LF.
  expected.replace(expected.find("  SOHOIP  =  192.168.0.1  \r\n"), 28, "SOHOIP=10.0.0.1\r\n");
  EXPECT_EQ(ini.text(), expected);

  ini.writeString("OPTION", "LOG", "b.log");
  expected.replace(expected.find("LOG='my log.txt'\r\n"), 18, "LOG=b.log\r\n");
  EXPECT_EQ(ini.text(), expected);
}

TEST(IniFile, MissingKeysAndSectionsAreAdded) {
  IniFile ini(kMessy);
  // After the section's last non-blank line, before the blank separator.
  ini.writeInteger("Tarvik", "REDIAL", 16);
  ini.writeBool("option", "CHECK4", true);
  // The last line had no line end; it gets one before the new section.
  ini.writeString("RD", "0", "3");
  ini.writeString("Extra", "More", "x");

  std::string expected = kMessy;
  expected.insert(expected.find("\r\n[option]"), "REDIAL=16\r\n");
  expected.insert(expected.find("\r\n[Tarvik]\r\nAUTO"), "CHECK4=1\r\n");
  expected += "\r\nMore=x\r\n[RD]\r\n0=3\r\n";
  EXPECT_EQ(ini.text(), expected);

  IniFile empty;
  empty.writeString("Tarvik", "SOHOIP", "h");
  empty.writeString("OPTION", "TIME", "5");
  empty.writeString("Tarvik", "PASS", "");
  EXPECT_EQ(empty.text(), "[Tarvik]\r\nSOHOIP=h\r\nPASS=\r\n[OPTION]\r\nTIME=5\r\n");
}

TEST(IniFile, AWrittenValueCannotBreakTheFile) {
  IniFile ini("[S]\r\nk=1\r\n");
  ini.writeString("S", "k", std::string("a\r\n[T]\nb\0c", 10));
  EXPECT_EQ(ini.text(), "[S]\r\nk=a  [T] b\r\n");
  EXPECT_EQ(ini.value("T", "b"), std::nullopt);
}

// Reading takes one pair of outer quotes off; what is written comes back
// as it was, quotes and all.
TEST(IniFile, WrittenValuesReadBackUnchanged) {
  for (const char* value : {"\"C:\\Program Files\\a.exe\" \"two words\"", "'single'", "\"\"", "\"",
                            " \"blank then quoted\"", "\"open only", "plain \"middle\" text", "\"'mixed\'"}) {
    IniFile ini;
    ini.writeString("AP0", "1", value);
    EXPECT_EQ(ini.value("AP0", "1"), std::string(value)) << value << " written as " << ini.text();
    EXPECT_EQ(IniFile(ini.text()).value("AP0", "1"), std::string(value)) << value;
  }
}

TEST(IniFile, ParsingKeepsEveryByteAndWritesSurviveARereading) {
  EXPECT_EQ(IniFile(kMessy).text(), kMessy);
  EXPECT_EQ(IniFile("").text(), "");
  EXPECT_EQ(IniFile("\r\r\n\n\r").text(), "\r\r\n\n\r");

  // Writing in one pass gives the file that writing key by key through the
  // disk (read, write one key, save) gives.
  struct Write {
    const char* section;
    const char* key;
    const char* value;
  };
  const Write writes[] = {{"Tarvik", "SOHOIP", "a"}, {"Extra", "new", "1"},    {"RD", "0", "2"},
                          {"rd", "0", "3"},          {"OPTION", "EMPTY", "x"}, {"AP16", "7", ""}};
  IniFile batch(kMessy);
  std::string stepwise = kMessy;
  for (const Write& w : writes) {
    batch.writeString(w.section, w.key, w.value);
    IniFile step(stepwise);
    step.writeString(w.section, w.key, w.value);
    stepwise = step.text();
  }
  EXPECT_EQ(batch.text(), stepwise);
  EXPECT_EQ(IniFile(stepwise).value("RD", "0"), "3");
}

}  // namespace
}  // namespace tarvik
