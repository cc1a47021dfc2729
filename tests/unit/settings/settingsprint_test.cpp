#include "engine/settings/settingsprint.h"

#include <gtest/gtest.h>

#include "engine/base/sjis.h"
#include "engine/settings/inifile.h"
#include "engine/settings/settingskeys.h"
#include "fakes/testdir.h"

namespace tarvik {
namespace {

SettingsStore sample() {
  SettingsStore s;
  s.tarvik.SOHOIP = "192.168.0.1";
  s.tarvik.PASS = "abc";
  s.tarvik.DEFAULT = 16;
  s.option.TIME = "0x10";  // printed as it stands, not as it is used
  s.option.showIpAddress = false;
  s.option.top = -300;
  s.sound.s6 = toSjis("wav\\ソーダ.wav");
  s.nameList = {toSjis("0312341234:山田")};
  s.script = {"7:00 dis a", ""};
  return s;
}

TEST(PrintSettings, IsTheIniTextOfEveryKeyInUtf8) {
  SettingsStore s = sample();
  std::string out = printSettings(s);
  const std::string start = "[Tarvik]\nSOHOIP=192.168.0.1\n";
  EXPECT_EQ(out.substr(0, start.size()), start);
  EXPECT_NE(out.find("PASS=O53O54O55O\n"), std::string::npos);
  EXPECT_EQ(out.find("abc"), std::string::npos);  // never in clear
  EXPECT_NE(out.find("\n6=wav\\ソーダ.wav\n"), std::string::npos);
  EXPECT_NE(out.find("\n; Tarvik.lst: 1 line\n; 0312341234:山田\n"), std::string::npos);
  EXPECT_NE(out.find("\n; Tarvik.spt: 2 lines\n; 7:00 dis a\n; \n"), std::string::npos);

  // Read back as an INI file, the output gives every key's value.
  IniFile back(toSjis(out));
  SettingsStore read;
  for (const SettingKey& key : settingKeys()) {
    EXPECT_EQ(back.value(key.section, key.key), storedSetting(key, s)) << key.section << " " << key.key;
    readSetting(back, key, read);
  }
  EXPECT_EQ(read.tarvik.PASS, "abc");
  EXPECT_EQ(read.option.top, -300);
}

TEST(PrintSettings, ShowsTheApplicationSectionsInUse) {
  testing::TestDir dir;
  SettingsFiles files(dir.path());
  ASSERT_EQ(files.saveApplications(16, {"", "", "", toSjis("メール.exe $IP")}), "");
  ASSERT_EQ(files.saveApplications(4, {}), "");  // present, but holds nothing
  SettingsStore s = sample();
  std::string out = printSettings(s, files);
  EXPECT_NE(out.find("\n[AP16]\n1=\n2=\n3=\n4=メール.exe $IP\n5=\n6=\n7=\n\n; Tarvik.lst"),
            std::string::npos);
  EXPECT_EQ(out.find("[AP4]"), std::string::npos);
  EXPECT_EQ(out.substr(0, out.find("\n[AP16]")) + out.substr(out.find("\n; Tarvik.lst")), printSettings(s));
}

// A file that is there but cannot be read is a reason, never an exception
// out of the printing program.
TEST(PrintSettings, UnreadableFileGivesItsReasonInsteadOfText) {
  testing::TestDir dir;
  ASSERT_EQ(SettingsFiles(dir.path()).saveApplications(2, {"run.exe"}), "");
  PrintedSettings good = printSettingsIn(dir.path());
  EXPECT_EQ(good.error, "");
  EXPECT_NE(good.text.find("\n[AP2]\n1=run.exe\n"), std::string::npos);

  for (const char* name : {"Tarvik.ini", "Tarvik.lst", "Tarvik.spt"}) {
    testing::TestDir broken;
    std::filesystem::create_directory(broken / name);
    PrintedSettings printed = printSettingsIn(broken.path());
    EXPECT_EQ(printed.text, "") << name;
    EXPECT_NE(printed.error.find((broken / name).string()), std::string::npos)
        << name << ": " << printed.error;
  }
}

}  // namespace
}  // namespace tarvik
