#include "engine/settings/settingsprint.h"

#include <gtest/gtest.h>

#include "engine/base/sjis.h"
#include "engine/settings/inifile.h"
#include "engine/settings/settingsfiles.h"
#include "engine/settings/settingskeys.h"
#include "fakes/testdir.h"

#ifdef __linux__
#include <sys/inotify.h>
#include <unistd.h>
#endif

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
  std::string out = printSettings(s, IniFile(testing::readBytes(files.iniPath())));
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

// A hand-edited file with mistakes: what is printed is what the program
// uses, and each part of the file it does not take is noted beside it.
TEST(PrintSettings, MistypedFilePrintsTheValuesInForceAndNotesTheRest) {
  testing::TestDir dir;
  const std::string ini =
      "[Tarvik]\r\nSOHOIP=127.0.0.1\r\nDEFAULT=3\r\n[OPTION]\r\nTIME=abc\r\nCHECK4=yes\r\n"
      "[TARIFF]\r\nUNIT=-5\r\nYEN=ten\r\nFLATFROM=25\r\n[SOUND\r\n";
  testing::writeBytes(dir / "Tarvik.ini", ini);
  const PrintedSettings printed = printSettingsIn(dir.path());
  EXPECT_EQ(printed.error, "");
  for (const char* line :
       {"\nTIME=5\n", "\nCHECK4=0\n", "\nUNIT=180\n", "\nYEN=10\n", "\nFLATFROM=23\n", "\nDEFAULT=3\n"}) {
    EXPECT_NE(printed.text.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(printed.text.find("abc"), std::string::npos);
  EXPECT_EQ(printed.notes,
            (std::vector<std::string>{"11 行目「[SOUND」(無視)", "[OPTION] TIME=abc (5 を使用)",
                                      "[OPTION] CHECK4=yes (0 を使用)", "[TARIFF] UNIT=-5 (180 を使用)",
                                      "[TARIFF] YEN=ten (10 を使用)", "[TARIFF] FLATFROM=25 (23 を使用)"}));
  EXPECT_EQ(testing::readBytes(dir / "Tarvik.ini"), ini);  // told, never mended in the file
}

#ifdef __linux__
// Tarvik.ini is read once however many sections it has: a big file costs
// one read, not one per [AP] section.
TEST(PrintSettings, ReadsTarvikIniOnce) {
  testing::TestDir dir;
  SettingsFiles files(dir.path());
  for (int destination : {0, 7, 16}) ASSERT_EQ(files.saveApplications(destination, {"run.exe"}), "");
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(::inotify_add_watch(watch, files.iniPath().c_str(), IN_OPEN), 0);
  const PrintedSettings printed = printSettingsIn(dir.path());
  EXPECT_NE(printed.text.find("\n[AP16]\n1=run.exe\n"), std::string::npos);
  int opens = 0;
  alignas(inotify_event) char buffer[4096];
  for (ssize_t got; (got = ::read(watch, buffer, sizeof buffer)) > 0;) {
    for (char* p = buffer; p < buffer + got;
         p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
      opens += (reinterpret_cast<inotify_event*>(p)->mask & IN_OPEN) != 0;
  }
  ::close(watch);
  EXPECT_EQ(opens, 1);
}
#endif

}  // namespace
}  // namespace tarvik
