// Reading the router's destination list.

#include "engine/monitor/destinationlist.h"

#include <gtest/gtest.h>

namespace tarvik {
namespace {

std::string lines(const std::vector<std::string>& list) {
  std::string text;
  for (const std::string& line : list) text += line + "\n\r";
  return text;
}

TEST(DestinationListTest, KeepsColumns1To30And36To48AndCaptionsTheFirst20) {
  std::string text = lines({"#0  ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnop"});
  DestinationList list = parseDestinationList(text, 0);
  EXPECT_EQ(list.entries[0], "#0  ABCDEFGHIJKLMNOPQRSTUVWXYZ56789abcdefgh");
  EXPECT_EQ(list.captions[0], "#0  ABCDEFGHIJKLMNOP");
  for (std::size_t i = 1; i < 16; ++i) {
    EXPECT_EQ(list.entries[i], "") << i;
    EXPECT_EQ(list.captions[i], "") << i;
  }
}

TEST(DestinationListTest, EntryIndexIsTheNumberInTheLineAndBadNumbersAreSkipped) {
  std::vector<std::string> input;
  for (int i = 0; i < 16; ++i)
    input.push_back("#" + std::to_string(15 - i) + " NAME" + std::to_string(i) + "   ");
  input[3] = "#x  BROKEN";   // does not convert
  input[4] = "#99 OUTSIDE";  // outside 0 to 15
  input[5] = "no hash";
  DestinationList list = parseDestinationList(lines(input) + "#0  AFTER THE SIXTEENTH\n\r", 0);

  EXPECT_EQ(list.entries[15], "#15 NAME0   ");
  EXPECT_EQ(list.entries[0], "#0 NAME15   ");
  EXPECT_EQ(list.entries[12], "");
  EXPECT_EQ(list.entries[11], "");
  EXPECT_EQ(list.entries[10], "");
  EXPECT_EQ(list.entries[9], "#9 NAME6   ");
  // Every item gets a caption, trailing blanks removed, even a bad line.
  EXPECT_EQ(list.captions[0], "#15 NAME0");
  EXPECT_EQ(list.captions[3], "#x  BROKEN");
  EXPECT_EQ(list.captions[4], "#99 OUTSIDE");
  EXPECT_EQ(list.captions[5], "no hash");
  EXPECT_EQ(list.captions[15], "#0 NAME15");
}

TEST(DestinationListTest, ShortLinesKeepNoLineBreakAndLongLinesAreCutAt70Bytes) {
  std::string longLine = "#1  " + std::string(80, 'L');
  DestinationList list = parseDestinationList(lines({"#0  SHORT", longLine, "#2  NEXT"}), 0);
  EXPECT_EQ(list.entries[0], "#0  SHORT");
  EXPECT_EQ(list.entries[1], longLine.substr(0, 30) + longLine.substr(35, 13));
  EXPECT_EQ(list.entries[2], "#2  NEXT");  // the long line does not swallow the next one
}

TEST(DestinationListTest, CaptionIsNotCutInsideADoubleByteCharacter) {
  // "#3 " + 9 bytes of ASCII, then a two-byte character over bytes 20 and 21.
  std::string line = "#3 ABCDEFGHIJKLMNOPQ\x83\x76XYZ";
  DestinationList list = parseDestinationList(lines({line}), 0);
  EXPECT_EQ(list.captions[0], "#3 ABCDEFGHIJKLMNOPQ");
  EXPECT_EQ(list.entries[3], line);
}

TEST(DestinationListTest, StartsAtTheGivenPositionAndToleratesTheEndOfTheText) {
  std::string text = "header\n\r#0  ONLY";
  DestinationList list = parseDestinationList(text, text.find("#0 "));
  EXPECT_EQ(list.entries[0], "#0  ONLY");
  EXPECT_EQ(list.captions[1], "");
  EXPECT_EQ(parseDestinationList(text, text.size() + 5).captions[0], "");
}

}  // namespace
}  // namespace tarvik
