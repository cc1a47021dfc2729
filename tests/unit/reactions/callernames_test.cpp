#include "engine/reactions/callernames.h"

#include <gtest/gtest.h>

#include <set>

#include "engine/base/sjis.h"

namespace tarvik {
namespace {

TEST(DestinationName, LastMatchingEntryWins) {
  const std::vector<std::string> list = {"03:Tokyo", "0312341234:Office", ":Nobody", "nonumber", "999:Other"};
  EXPECT_EQ(destinationName(list, "0312341234"), "Office");
  EXPECT_EQ(destinationName(list, "0398765432"), "Tokyo");  // "03" matches any text holding it
  EXPECT_EQ(destinationName(list, "0120"), std::nullopt);
  EXPECT_EQ(destinationName({}, "0312341234"), std::nullopt);
}

TEST(NameSound, FolderNumberAndWavJoinedAsStored) {
  EXPECT_EQ(nameSoundPath(toSjis("NameSound\\"), "0312341234"), "NameSound/0312341234.wav");
  EXPECT_EQ(nameSoundPath("snd", "0312"), "snd0312.wav");
  EXPECT_EQ(nameSoundPath("NameSound\\", ""), "");
  EXPECT_EQ(nameSoundPath("NameSound\\", "../../x"), "");
  EXPECT_EQ(nameSoundPath("NameSound\\", "a/b"), "");
}

TEST(CallerDisplay, SoundOnceWhileRingingNameSoundOrGeneral) {
  std::set<std::string> files = {"NameSound/0312341234.wav"};
  auto exists = [&](const std::string& p) { return files.count(p) > 0; };
  const std::string folder = "NameSound\\", general = toSjis("wav\\着信.wav");

  CallerDisplay display;
  EXPECT_EQ(display.ShowCallerName("0312341234", folder, general, exists), "NameSound/0312341234.wav");
  EXPECT_TRUE(display.showing());
  EXPECT_EQ(display.ShowCallerName("0312341234", folder, general, exists), "");  // still ringing
  EXPECT_TRUE(display.ClearCallerName());
  EXPECT_FALSE(display.ClearCallerName());
  EXPECT_EQ(display.ShowCallerName("0455555555", folder, general, exists), "wav/着信.wav");
  display.ClearCallerName();
  EXPECT_EQ(display.ShowCallerName("0455555555", folder, "", exists), "");  // empty: silence
}

}  // namespace
}  // namespace tarvik
