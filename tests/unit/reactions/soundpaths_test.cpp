#include "engine/reactions/soundpaths.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "engine/base/sjis.h"
#include "fakes/testdir.h"

namespace tarvik {
namespace {

TEST(SettingsPath, BackslashIsReadAsSlashAfterConversion) {
  EXPECT_EQ(settingsPath(toSjis("wav\\接続.wav")), "wav/接続.wav");
  EXPECT_EQ(settingsPath(toSjis("NameSound\\")), "NameSound/");
  EXPECT_EQ(settingsPath(""), "");
  // "ソ" and "表" end in the byte 0x5C in Shift-JIS: it must survive.
  EXPECT_EQ(settingsPath(toSjis("ソ表\\a.wav")), "ソ表/a.wav");
}

// A relative sound is looked for in the current directory, then in the
// config directory, then in the data folders, in that order.
TEST(FindSoundFile, CurrentThenConfigThenDataFolders) {
  namespace fs = std::filesystem;
  testing::TestDir root;
  for (const char* folder : {"cwd/wav", "config/wav", "data1/wav", "data2/wav", "data2/NameSound"}) {
    fs::create_directories(root / folder);
  }
  for (const char* file : {"cwd/wav/here.wav", "config/wav/here.wav", "config/wav/config.wav",
                           "data1/wav/config.wav", "data1/wav/data.wav", "data2/wav/data.wav",
                           "data2/wav/late.wav", "data2/NameSound/0312341234.wav"}) {
    testing::writeBytes(root / file, "RIFF");
  }
  fs::create_directories(root / "config/wav/folder.wav");  // a folder is no sound
  testing::writeBytes(root / "data1/wav/folder.wav", "RIFF");
  const SoundFolders folders{root / "config", {root / "data1", root / "data2"}};
  const fs::path saved = fs::current_path();
  fs::current_path(root / "cwd");
  struct Case {
    std::string path, found;
  } cases[] = {
      {"wav/here.wav", "wav/here.wav"},  // the current directory first, the name as stored
      {"wav/config.wav", (root / "config/wav/config.wav").string()},
      {"wav/data.wav", (root / "data1/wav/data.wav").string()},
      {"wav/late.wav", (root / "data2/wav/late.wav").string()},
      {"wav/folder.wav", (root / "data1/wav/folder.wav").string()},
      {"NameSound/0312341234.wav", (root / "data2/NameSound/0312341234.wav").string()},
      {"wav/missing.wav", "wav/missing.wav"},  // nowhere: as it stands
      {(root / "data2/wav/late.wav").string(), (root / "data2/wav/late.wav").string()},
      {"", ""},
  };
  // Compared as paths: on Windows "/" and "\\" are both separators.
  for (const Case& c : cases) EXPECT_EQ(fs::path(findSoundFile(c.path, folders)), fs::path(c.found)) << c.path;
  EXPECT_EQ(findSoundFile("wav/data.wav", SoundFolders{}), "wav/data.wav");
  fs::current_path(saved);
}

}  // namespace
}  // namespace tarvik
