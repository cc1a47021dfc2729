#include <gtest/gtest.h>

#include "engine/base/bytes.h"
#include "engine/base/sjis.h"

namespace tarvik {
namespace {

TEST(Sjis, RoundTripsJapaneseAndKeepsBackslash) {
  // CP932, not SHIFT_JIS: 0x5C must stay a backslash, not become a yen sign.
  std::string sj = toSjis("wav\\接続.wav");
  EXPECT_EQ(sj, std::string("wav\\\x90\xDA\x91\xB1.wav"));
  EXPECT_EQ(toUtf8(sj), "wav\\接続.wav");
  EXPECT_EQ(toSjis("ﾕｰｻﾞｰ名").size(), 7u);  // half-width katakana are one byte each
}

TEST(Sjis, InvalidBytesNeverStopConversion) {
  EXPECT_EQ(toUtf8(std::string("a\x81", 2)), "a\xEF\xBF\xBD");
  EXPECT_EQ(toUtf8(std::string("\xFF" "b", 2)), "\xEF\xBF\xBD" "b");
  EXPECT_EQ(toSjis("x\xC3"), "x?");
}

TEST(Bytes, CutNeverSplitsADoubleByteCharacter) {
  std::string sj = toSjis("ab接続");  // 2 + 4 bytes
  EXPECT_EQ(sjisCut(sj, 3), "ab");
  EXPECT_EQ(sjisCut(sj, 4), sj.substr(0, 4));
  EXPECT_EQ(sjisCut(sj, 100), sj);
  EXPECT_EQ(sjisCut("", 5), "");
}

TEST(Bytes, ParseDecimalAcceptsLeadingBlanksOnly) {
  struct Case { const char* text; bool ok; long long value; };
  for (const Case& c : {Case{"  12", true, 12}, Case{"-7", true, -7}, Case{"12 ", false, 0},
                        Case{"", false, 0}, Case{"0x1", false, 0}, Case{"99999999999999999999", false, 0}}) {
    long long v = 0;
    EXPECT_EQ(parseDecimal(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
  }
}

// The console password must not show in a router line the program shows,
// logs or journals; the same letters inside a longer word, or a trail byte
// that happens to equal the password's first letter, are not it.
TEST(Bytes, MaskWordHidesTheWordWhereItStandsAlone) {
  struct Case {
    const char* text;
    const char* word;
    const char* masked;
  } cases[] = {
      {"コマンドが正しくありません: secret", "secret", "コマンドが正しくありません: ****"},
      {"secret", "secret", "****"},
      {"secret secret", "secret", "**** ****"},
      {"[secret]", "secret", "[****]"},
      {"不正なsecret", "secret", "不正な****"},  // right after a double-byte character
      {"secrets mysecret", "secret", "secrets mysecret"},
      {"sh s", "", "sh s"},
      {"ド", "h", "ド"},  // ド is 0x83 0x68: its trail byte is "h"
      {"pa55 pa55word", "pa55", "**** pa55word"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toUtf8(maskWord(toSjis(c.text), toSjis(c.word), "****")), c.masked) << c.text;
  }
}

}  // namespace
}  // namespace tarvik
