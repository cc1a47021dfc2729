#include "reactions/soundpaths.h"

#include <gtest/gtest.h>

#include "base/sjis.h"

namespace tarvik {
namespace {

TEST(SettingsPath, BackslashIsReadAsSlashAfterConversion) {
  EXPECT_EQ(settingsPath(toSjis("wav\\接続.wav")), "wav/接続.wav");
  EXPECT_EQ(settingsPath(toSjis("NameSound\\")), "NameSound/");
  EXPECT_EQ(settingsPath(""), "");
  // "ソ" and "表" end in the byte 0x5C in Shift-JIS: it must survive.
  EXPECT_EQ(settingsPath(toSjis("ソ表\\a.wav")), "ソ表/a.wav");
}

}  // namespace
}  // namespace tarvik
