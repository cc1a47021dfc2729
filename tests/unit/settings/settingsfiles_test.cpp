#include "engine/settings/settingsfiles.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <csignal>
#include <stdexcept>
#include <cstdlib>

#include "engine/base/sjis.h"
#include "fakes/testdir.h"

namespace tarvik {
namespace {

using testing::readBytes;
using testing::TestDir;
using testing::writeBytes;

const std::filesystem::path kWindowsFixture = std::filesystem::path(TARVIK_SETTINGS_FIXTURES) / "windows";

void copyFixture(const TestDir& dir) {
  for (const char* name : {"Tarvik.ini", "Tarvik.lst", "Tarvik.spt"}) {
    std::filesystem::copy_file(kWindowsFixture / name, dir / name);
  }
}

SettingsStore loaded(const SettingsFiles& files) {
  SettingsStore store;
  files.loadAll(store);
  return store;
}

TEST(SettingsFiles, NoFilesGiveTheDefaults) {
  TestDir dir;
  SettingsFiles files(dir.path());
  SettingsStore s = loaded(files);
  EXPECT_EQ(s.tarvik.SOHOIP, "");  // the shell shows the first-run dialog
  EXPECT_EQ(s.tarvik.PASS, "");
  EXPECT_EQ(s.tarvik.DEFAULT, 0);
  EXPECT_EQ(s.tarvik.AUTO, 0);
  EXPECT_EQ(s.tarvik.REDIAL, 0);
  EXPECT_EQ(s.tarvik.PORT, 23);
  EXPECT_EQ(s.option.TIME, "5");
  EXPECT_EQ(s.option.LOG, "mn128soho.log");
  EXPECT_EQ(s.sound.s1, toSjis("wav\\接続.wav"));
  EXPECT_EQ(s.sound.s2, toSjis("wav\\完了.wav"));
  EXPECT_EQ(s.sound.s3, toSjis("wav\\切断.wav"));
  EXPECT_EQ(s.sound.s5, toSjis("wav\\話中.wav"));
  EXPECT_EQ(s.sound.s6, "");
  EXPECT_EQ(s.sound.s7, toSjis("wav\\警告.wav"));
  EXPECT_EQ(s.sound.s8, toSjis("wav\\着信.wav"));
  EXPECT_EQ(s.sound.NAMESOUND, "NameSound\\");
  EXPECT_EQ(s.time.ON, "23:01");
  EXPECT_EQ(s.time.OFF, "7:58");
  EXPECT_EQ(s.time.WARNING, "7:55");
  EXPECT_EQ(s.rd.count, "0");
  const auto& o = s.option;
  for (bool shown : {o.showConnectionTime, o.showIpAddress, o.showConnectionMode, o.showPhoneNumber,
                     o.showLineUsage, o.showTransferRate})
    EXPECT_TRUE(shown);
  for (bool off : {o.SIZE, o.ONSCREEN, o.NEXT, o.restoreOnConnect, o.parkOnDisconnect, o.showChannelTrayIcons,
                   o.monitoringOff, o.setRouterClock, o.startupConnect, o.disconnectOnExit,
                   o.askCredentialsEachCall, o.saveConnectionLog, o.runRouterScript}) {
    EXPECT_FALSE(off);
  }
  EXPECT_EQ(std::vector<int>({o.left, o.top, o.left2, o.top2, o.Width2, o.Height2}),
            std::vector<int>({350, 0, 438, 300, 438, 279}));
  EXPECT_TRUE(s.nameList.empty());
  EXPECT_TRUE(s.script.empty());
  EXPECT_FALSE(files.readStayOnTop());
  EXPECT_EQ(files.loadApplications(0), ApplicationList{});
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));  // loading creates nothing
}

TEST(SettingsFiles, ReadsAFileWrittenByTheWindowsVersion) {
  TestDir dir;
  copyFixture(dir);
  SettingsFiles files(dir.path());
  SettingsStore s = loaded(files);
  EXPECT_EQ(s.tarvik.SOHOIP, "192.168.0.1");
  EXPECT_EQ(s.tarvik.PASS, "pass word");
  EXPECT_EQ(s.tarvik.DEFAULT, 3);
  EXPECT_EQ(s.tarvik.AUTO, 1);
  EXPECT_EQ(s.tarvik.REDIAL, 15);
  EXPECT_EQ(s.option.TIME, "10");
  EXPECT_EQ(s.option.LOG, toSjis("log\\接続記録.log"));
  EXPECT_EQ(s.option.LAST, "user01");
  EXPECT_TRUE(s.option.SIZE);
  EXPECT_TRUE(s.option.ONSCREEN);
  EXPECT_FALSE(s.option.showIpAddress);
  EXPECT_TRUE(s.option.saveConnectionLog);
  EXPECT_FALSE(s.option.showTransferRate);
  EXPECT_EQ(std::vector<int>({s.option.left, s.option.top, s.option.left2, s.option.top2, s.option.Width2,
                              s.option.Height2, s.option.B1, s.option.B2}),
            std::vector<int>({812, 40, 500, 320, 520, 300, 2, 5}));
  EXPECT_EQ(s.sound.s2, toSjis("C:\\Program Files\\Tarvik\\wav\\完了.wav"));
  EXPECT_EQ(s.sound.s6, toSjis("wav\\ソーダ.wav"));  // trail byte 0x5C stays as it is
  EXPECT_EQ(s.sound.s7, "");                         // emptied on purpose: no default
  EXPECT_EQ(s.kanji.CODE, "");
  EXPECT_EQ(s.time.OFF, "6:58");
  EXPECT_EQ(s.rd.count, "3");
  EXPECT_EQ(s.nameList, std::vector<std::string>({"0312341234:Office", toSjis("0451112222:山田 太郎")}));
  EXPECT_EQ(s.script, std::vector<std::string>({toSjis("; 毎朝切断"), "7:00 dis a", "23:00 co 1"}));
  EXPECT_TRUE(files.readStayOnTop());
  ApplicationList ap0 = files.loadApplications(0);
  EXPECT_EQ(ap0[0], "C:\\Program Files\\Mail\\mail.exe");
  EXPECT_EQ(ap0[3], toSjis("\"C:\\ソフト\\ftp.exe\" $IP"));  // inner quotes are no surrounding quotes
  EXPECT_EQ(files.loadApplications(3)[0], "C:\\Tools\\ping.exe $IP");
}

TEST(SettingsFiles, SavingWhatWasReadLeavesTheFilesByteForByte) {
  TestDir dir;
  copyFixture(dir);
  SettingsFiles files(dir.path());
  SettingsStore s = loaded(files);
  EXPECT_EQ(files.saveDialogSettings(s, files.loadApplications(0)), "");
  EXPECT_EQ(files.saveWindowState(s, false), "");
  for (const char* name : {"Tarvik.ini", "Tarvik.lst", "Tarvik.spt"}) {
    EXPECT_EQ(readBytes(dir / name), readBytes(kWindowsFixture / name)) << name;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);  // no temporary left
}

TEST(SettingsFiles, AFreshFileTakesTheLayoutOfKeyByKeyWrites) {
  // The same saves into an empty folder, in the order a user makes them
  // (dialog with destination #0 shown, then #3, then closing the window),
  // give the Windows version's file exactly.
  TestDir source;
  copyFixture(source);
  SettingsFiles sourceFiles(source.path());
  SettingsStore s = loaded(sourceFiles);

  TestDir dir;
  SettingsFiles files(dir.path());
  EXPECT_EQ(files.saveDialogSettings(s, sourceFiles.loadApplications(0)), "");
  EXPECT_EQ(files.saveApplications(3, sourceFiles.loadApplications(3)), "");
  EXPECT_EQ(files.saveWindowState(s, false), "");
  EXPECT_EQ(readBytes(files.iniPath()), readBytes(kWindowsFixture / "Tarvik.ini"));
}

TEST(SettingsFiles, KeysAndSectionsTheProgramDoesNotKnowSurviveASave) {
  TestDir dir;
  const std::string before =
      "; kept by hand\r\n"
      "[tarvik]\r\n"
      "sohoip = 10.0.0.1\r\n"
      "PORT=2323\r\n"
      "FUTURE=x\n"
      "\r\n"
      "[Mine]\r\n"
      "a = b \r\n";
  writeBytes(dir / "Tarvik.ini", before);
  SettingsFiles files(dir.path());
  SettingsStore s = loaded(files);
  EXPECT_EQ(s.tarvik.SOHOIP, "10.0.0.1");
  EXPECT_EQ(s.tarvik.PORT, 2323);
  s.tarvik.SOHOIP = "10.0.0.2";
  s.tarvik.PASS = "abc";
  ASSERT_EQ(files.saveDialogSettings(s, {}), "");
  std::string after = readBytes(dir / "Tarvik.ini");
  const std::string start =
      "; kept by hand\r\n[tarvik]\r\nsohoip=10.0.0.2\r\nPORT=2323\r\nFUTURE=x\nPASS=O53O54O55O\r\n";
  EXPECT_EQ(after.substr(0, start.size()), start);
  EXPECT_NE(after.find("DEFAULT=0\r\nAUTO=0\r\nREDIAL=0\r\n\r\n[Mine]\r\na = b \r\n[OPTION]\r\nTIME=5\r\n"),
            std::string::npos);
  EXPECT_EQ(loaded(files).tarvik.PASS, "abc");
}

TEST(SettingsFiles, HandEditedValuesAreMadeSafeAtLoad) {
  struct Case {
    const char* line;  // in its section
    const char* section;
    int (*get)(const SettingsStore&);
    int expected;
  };
  auto b1 = [](const SettingsStore& s) { return s.option.B1; };
  auto b2 = [](const SettingsStore& s) { return s.option.B2; };
  auto def = [](const SettingsStore& s) { return s.tarvik.DEFAULT; };
  auto autoDest = [](const SettingsStore& s) { return s.tarvik.AUTO; };
  auto redial = [](const SettingsStore& s) { return s.tarvik.REDIAL; };
  auto port = [](const SettingsStore& s) { return s.tarvik.PORT; };
  auto left = [](const SettingsStore& s) { return s.option.left; };
  const Case cases[] = {
      {"B1=6", "OPTION", b1, 6},
      {"B1=7", "OPTION", b1, 0},
      {"B2=-1", "OPTION", b2, 0},
      {"DEFAULT=0x0A", "Tarvik", def, 10},
      {"DEFAULT=16", "Tarvik", def, 16},  // "no match" is kept
      {"DEFAULT=17", "Tarvik", def, 0},
      {"AUTO=-3", "Tarvik", autoDest, 0},
      {"REDIAL=abc", "Tarvik", redial, 0},
      {"PORT=0", "Tarvik", port, 23},
      {"PORT=10023", "Tarvik", port, 10023},
      {"left=-1200", "OPTION", left, -1200},  // window positions may lie off the first screen
  };
  for (const Case& c : cases) {
    TestDir dir;
    writeBytes(dir / "Tarvik.ini", std::string("[") + c.section + "]\r\n" + c.line + "\r\n");
    EXPECT_EQ(c.get(loaded(SettingsFiles(dir.path()))), c.expected) << c.line;
  }
}

TEST(SettingsStore, IntervalFallsBackSafely) {
  struct Case {
    const char* text;
    int interval;
  };
  const Case cases[] = {
      {"5", 5},   {"2", 2}, {"58", 58}, {"1", 5},   {"59", 5},   {"0", 5},           {"-3", 5},
      {"abc", 5}, {"", 5},  {"10 ", 5}, {"  7", 7}, {"0x10", 5}, {"99999999999", 5},
  };
  for (const Case& c : cases) {
    SettingsStore s;
    s.option.TIME = c.text;
    EXPECT_EQ(pollIntervalSeconds(s), c.interval) << c.text;
    EXPECT_EQ(s.option.TIME, c.text);  // the text itself is left alone
  }
}

TEST(SettingsFiles, AnIntervalThatIsNoIntegerStopsTheDialogSave) {
  TestDir dir;
  SettingsFiles files(dir.path());
  SettingsStore s;
  s.tarvik.SOHOIP = "192.168.0.1";
  s.tarvik.REDIAL = 4;
  s.option.TIME = "ten";
  s.nameList = {"1:a"};
  EXPECT_EQ(files.saveDialogSettings(s, {}), "'ten' は整数ではありません");
  EXPECT_EQ(readBytes(files.iniPath()),
            "[Tarvik]\r\nSOHOIP=192.168.0.1\r\nPASS=\r\nDEFAULT=0\r\nAUTO=0\r\nREDIAL=4\r\n");
  EXPECT_FALSE(std::filesystem::exists(files.namesPath()));
  EXPECT_FALSE(std::filesystem::exists(files.scriptPath()));

  s.option.TIME = "";
  EXPECT_EQ(files.saveDialogSettings(s, {}), "'' は整数ではありません");
  s.option.TIME = toSjis("５");  // a full-width digit is no digit
  EXPECT_EQ(files.saveDialogSettings(s, {}), "'５' は整数ではありません");

  s.option.TIME = "12";  // corrected: everything is saved
  EXPECT_EQ(files.saveDialogSettings(s, {}), "");
  EXPECT_EQ(loaded(files).option.TIME, "12");
  EXPECT_TRUE(std::filesystem::exists(files.namesPath()));
}

TEST(SettingsFiles, AnIntervalOutOfRangeIsSavedAs5) {
  struct Case {
    const char* typed;
    const char* saved;
  };
  for (const Case& c : {Case{"1", "5"}, Case{"59", "5"}, Case{"-3", "5"}, Case{"2", "2"}, Case{"58", "58"},
                        Case{"05", "05"}}) {
    TestDir dir;
    SettingsFiles files(dir.path());
    SettingsStore s;
    s.option.TIME = c.typed;
    EXPECT_EQ(files.saveDialogSettings(s, {}), "") << c.typed;
    EXPECT_EQ(s.option.TIME, c.saved) << c.typed;  // the store holds it too
    EXPECT_EQ(loaded(files).option.TIME, c.saved) << c.typed;
  }
}

TEST(SettingsFiles, AParkedWindowLeavesTopAsItWas) {
  TestDir dir;
  writeBytes(dir / "Tarvik.ini", "[OPTION]\r\nleft=10\r\ntop=120\r\n");
  SettingsFiles files(dir.path());
  SettingsStore s = loaded(files);
  s.option.left = 400;
  s.option.top = -300;
  s.option.B1 = 3;
  s.option.LAST = "me";
  ASSERT_EQ(files.saveWindowState(s, true), "");
  SettingsStore back = loaded(files);
  EXPECT_EQ(back.option.top, 120);
  EXPECT_EQ(back.option.left, 400);
  EXPECT_EQ(back.option.B1, 3);
  EXPECT_EQ(back.option.LAST, "me");

  s.option.top = 75;
  ASSERT_EQ(files.saveWindowState(s, false), "");
  EXPECT_EQ(loaded(files).option.top, 75);
}

#ifndef _WIN32  // file modes, links and size limits: the POSIX file layer
// Each way a settings write can be refused, with every operation that
// writes Tarvik.ini: the message names the file and the old file stays whole.
TEST(SettingsFiles, ARefusedWriteReportsTheFileAndKeepsTheOldOne) {
  const std::string old = "[Tarvik]\r\nSOHOIP=old\r\n";
  enum class Refusal { kReadOnlyFolder, kReadOnlyFile, kDiskFull };
  for (Refusal refusal : {Refusal::kReadOnlyFolder, Refusal::kReadOnlyFile, Refusal::kDiskFull}) {
    for (int operation = 0; operation < 3; ++operation) {
      TestDir dir;
      writeBytes(dir / "Tarvik.ini", old);
      SettingsFiles files(dir.path());
      SettingsStore s;
      // Larger than the file size limit of the full-disk case.
      s.tarvik.SOHOIP = std::string(4000, 'n');
      s.option.LAST = s.tarvik.SOHOIP;
      std::string error;
      {
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (refusal == Refusal::kReadOnlyFolder) {
          // With the file read-only too: a writable file in a read-only
          // folder is written in place (see below).
          ::chmod((dir / "Tarvik.ini").c_str(), 0444);
          ::chmod(dir.path().c_str(), 0555);
        }
        if (refusal == Refusal::kReadOnlyFile) {
          ::chmod(dir.path().c_str(), 0777);
          ::chmod((dir / "Tarvik.ini").c_str(), 0444);
        }
        if (refusal == Refusal::kDiskFull) {
          rlimit small = saved;
          small.rlim_cur = 1024;
          ::setrlimit(RLIMIT_FSIZE, &small);
        }
        std::optional<testing::Unprivileged> user;
        if (refusal != Refusal::kDiskFull) user.emplace();
        if (operation == 0) error = files.saveDialogSettings(s, {});
        if (operation == 1) error = files.saveWindowState(s, false);
        if (operation == 2) error = files.saveApplications(2, {std::string(4000, 'a')});
        user.reset();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
      }
      SCOPED_TRACE("refusal " + std::to_string(static_cast<int>(refusal)) + ", operation " +
                   std::to_string(operation));
      EXPECT_EQ(error, files.iniPath().string() + " に書き込めません");
      EXPECT_EQ(readBytes(dir / "Tarvik.ini"), old);
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
  }
}

// A settings file that is there but cannot be read stops the load, naming
// the file; files that are missing are the defaults.
TEST(SettingsFiles, AFileThatCannotBeReadStopsTheLoad) {
  // A FIFO is refused without waiting for a writer that never comes.
  enum class Problem { kNone, kMissing, kUnreadable, kFolderInTheWay, kFifo };
  for (const char* name : {"Tarvik.ini", "Tarvik.lst", "Tarvik.spt"}) {
    for (Problem problem : {Problem::kNone, Problem::kMissing, Problem::kUnreadable, Problem::kFolderInTheWay,
                            Problem::kFifo}) {
      SCOPED_TRACE(std::string(name) + " " + std::to_string(static_cast<int>(problem)));
      TestDir dir;
      for (const char* file : {"Tarvik.ini", "Tarvik.lst", "Tarvik.spt"}) writeBytes(dir / file, "");
      if (problem != Problem::kNone) std::filesystem::remove(dir / name);
      if (problem == Problem::kUnreadable) {
        writeBytes(dir / name, "[Tarvik]\r\n");
        ::chmod((dir / name).c_str(), 0);
      }
      if (problem == Problem::kFolderInTheWay) std::filesystem::create_directory(dir / name);
      if (problem == Problem::kFifo) {
        ASSERT_EQ(::mkfifo((dir / name).c_str(), 0644), 0);  // readable for the unprivileged user
      }
      SettingsFiles files(dir.path());
      SettingsStore store;
      std::string error;
      {
        testing::Unprivileged user;  // permission bits do not stop root
        try {
          files.loadAll(store);
        } catch (const std::runtime_error& e) {
          error = e.what();
        }
        // The reads before and beside the load never wait either.
        EXPECT_FALSE(files.readStayOnTop());
        EXPECT_EQ(files.loadApplications(0), ApplicationList{});
      }
      const bool fails = problem != Problem::kNone && problem != Problem::kMissing;
      EXPECT_EQ(error.rfind((dir / name).string() + ": ", 0) == 0, fails) << error;
      if (!fails) { EXPECT_EQ(error, ""); }
      if (problem == Problem::kFifo) {
        EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
      }
    }
  }
}

// A hand-edited Tarvik.ini: each value the load cannot take and each line
// it passes over is told, with the value used in its place; what it takes
// is not told. The file is never changed for it.
TEST(SettingsFiles, TheLoadTellsWhatItDidNotTake) {
  struct Case {
    std::string ini;
    std::vector<std::string> told;
  };
  const Case cases[] = {
      {"[OPTION]\r\nTIME=abc\r\n", {"[OPTION] TIME=abc (5 を使用)"}},
      {"[OPTION]\r\nTIME=1\r\n", {"[OPTION] TIME=1 (5 を使用)"}},
      {"[OPTION]\r\nTIME=0x10\r\n", {"[OPTION] TIME=0x10 (5 を使用)"}},
      {"[OPTION]\r\nTIME=05\r\nCHECK4=2\r\nCHECK5=0x1\r\nB1=6\r\n", {}},
      {"[OPTION]\r\nCHECK4=yes\r\nB1=7\r\n", {"[OPTION] CHECK4=yes (0 を使用)", "[OPTION] B1=7 (0 を使用)"}},
      {"[RD]\r\n0=three\r\n", {"[RD] 0=three (0 を使用)"}},
      {"[TARIFF]\r\nUNIT=-5\r\nYEN=ten\r\n",
       {"[TARIFF] UNIT=-5 (180 を使用)", "[TARIFF] YEN=ten (10 を使用)"}},
      {"[Tarvik\r\nSOHOIP=192.168.0.1\r\n",
       {"1 行目「[Tarvik」(無視)", "2 行目「SOHOIP=192.168.0.1」(無視)"}},
      {"; note\r\n\r\n[OPTION]\r\n# note\r\n  \r\nnot a key\r\n", {"6 行目「not a key」(無視)"}},
      {"[OPTION]\r\nLOG=" + std::string(60, 'x') + "\r\nB2=" + std::string(50, '9') + "\r\n",
       {"[OPTION] B2=" + std::string(40, '9') + "... (0 を使用)"}},
  };
  for (const Case& c : cases) {
    TestDir dir;
    writeBytes(dir / "Tarvik.ini", c.ini);
    SettingsStore store;
    std::vector<std::string> told;
    for (const SettingProblem& problem : SettingsFiles(dir.path()).loadAll(store))
      told.push_back(settingProblemText(problem));
    EXPECT_EQ(told, c.told) << c.ini;
    EXPECT_EQ(readBytes(dir / "Tarvik.ini"), c.ini);
  }
}

// The start's line names a few and counts the rest, and says what to do.
TEST(SettingsFiles, TheNoticeNamesAFewAndCountsTheRest) {
  std::vector<SettingProblem> problems(5);
  for (std::size_t i = 0; i < problems.size(); ++i) {
    problems[i].text = "x" + std::to_string(i);
    problems[i].line = i + 1;
  }
  EXPECT_EQ(settingProblemsNotice({}), "");
  EXPECT_EQ(
      settingProblemsNotice(problems),
      "Tarvik.ini の読めない設定: 1 行目「x0」(無視)、2 行目「x1」(無視)、3 行目「x2」(無視)、ほか 2 件。"
      "Tarvik.ini を直してください");
}

// Settings beside a program installed in a read-only folder, the files
// themselves writable: every save writes them in place.
TEST(SettingsFiles, ReadOnlyFolderWithWritableFilesSavesInPlace) {
  for (int operation = 0; operation < 3; ++operation) {
    SCOPED_TRACE(operation);
    TestDir dir;
    for (const char* name : {"Tarvik.ini", "Tarvik.lst", "Tarvik.spt"}) {
      writeBytes(dir / name, name == std::string("Tarvik.ini") ? "[Tarvik]\r\nSOHOIP=old\r\n" : "");
      ::chmod((dir / name).c_str(), 0666);  // writable for the unprivileged user below
    }
    SettingsFiles files(dir.path());
    SettingsStore s = loaded(files);
    s.tarvik.SOHOIP = "192.168.1.9";
    s.option.top = 75;
    s.nameList = {"0312341234:Office"};
    std::string error;
    ::chmod(dir.path().c_str(), 0555);
    {
      testing::Unprivileged user;
      if (operation == 0) error = files.saveDialogSettings(s, {});
      if (operation == 1) error = files.saveWindowState(s, false);
      if (operation == 2) error = files.saveApplications(2, {"viewer $IP"});
    }
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(error, "");
    SettingsStore back = loaded(files);
    if (operation == 0) {
      EXPECT_EQ(back.tarvik.SOHOIP, "192.168.1.9");
      EXPECT_EQ(back.nameList, s.nameList);
    }
    if (operation == 1) { EXPECT_EQ(back.option.top, 75); }
    if (operation == 2) { EXPECT_EQ(files.loadApplications(2)[0], "viewer $IP"); }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
  }
}

mode_t modeOf(const std::filesystem::path& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

// Sets the process's umask for the length of a test, so that the modes
// checked do not depend on the shell the tests were started from.
class Umask {
 public:
  explicit Umask(mode_t mask) : saved_(::umask(mask)) {}
  ~Umask() { ::umask(saved_); }
  Umask(const Umask&) = delete;
  Umask& operator=(const Umask&) = delete;

 private:
  mode_t saved_;
};

// The settings hold the router's password: nothing the program creates in
// its config directory may be read by other users.
TEST(SettingsFiles, EveryFileItCreatesIsForItsOwnerOnly) {
  Umask mask(022);
  TestDir dir;
  const std::filesystem::path configDir = dir / "config" / "tarvik";
  SettingsFiles files(configDir);
  SettingsStore s;
  s.tarvik.PASS = "secret";
  s.nameList = {"0312341234:Office"};
  s.script = {"7:00 dis a"};
  ASSERT_EQ(files.saveDialogSettings(s, {}), "");
  for (const std::filesystem::path& folder : {dir / "config", configDir})
    EXPECT_EQ(modeOf(folder), 0700u) << folder;
  for (const std::filesystem::path& file : {files.iniPath(), files.namesPath(), files.scriptPath()}) {
    EXPECT_EQ(modeOf(file), 0600u) << file;
  }
}

// A Tarvik.ini that others may read keeps its permissions until it holds a
// password; the save that writes one makes it the owner's alone and says so
// once. The password's encoding in the file is the same either way.
TEST(SettingsFiles, APasswordSavedIntoAFileOthersCanReadMakesItTheOwnersAlone) {
  Umask mask(022);
  struct Case {
    mode_t before;
    const char* password;
    mode_t after;
    bool told;
  };
  for (const Case& c :
       {Case{0644, "secret", 0600, true}, Case{0640, "secret", 0600, true}, Case{0604, "secret", 0600, true},
        Case{0664, "secret", 0600, true}, Case{0755, "secret", 0700, true}, Case{0644, "", 0644, false},
        Case{0600, "secret", 0600, false}, Case{0620, "secret", 0620, false}}) {
    SCOPED_TRACE(std::to_string(c.before) + " " + c.password);
    for (int operation = 0; operation < 3; ++operation) {
      TestDir dir;
      SettingsFiles files(dir.path());
      std::vector<std::string> notices;
      files.setNotice([&](const std::string& text) { notices.push_back(text); });
      SettingsStore s;
      s.tarvik.PASS = c.password;
      // The first save writes the password wherever the file is new.
      ASSERT_EQ(files.saveDialogSettings(s, {}), "");
      ASSERT_TRUE(notices.empty());
      const std::string written = readBytes(files.iniPath());
      ::chmod(files.iniPath().c_str(), c.before);

      if (operation == 0) { ASSERT_EQ(files.saveDialogSettings(s, {}), ""); }
      if (operation == 1) { ASSERT_EQ(files.saveWindowState(s, false), ""); }
      if (operation == 2) { ASSERT_EQ(files.saveApplications(3, {}), ""); }
      EXPECT_EQ(modeOf(files.iniPath()), c.after) << "operation " << operation;
      EXPECT_EQ(notices,
                c.told ? std::vector<std::string>{std::string(kMadeOwnerOnly)} : std::vector<std::string>{});
      ASSERT_EQ(files.saveDialogSettings(s, {}), "");  // nothing more to say
      EXPECT_EQ(notices.size(), c.told ? 1u : 0u);
      if (operation == 0) { EXPECT_EQ(readBytes(files.iniPath()), written); }
    }
  }
}

TEST(SettingsFiles, ALinkedFileIsReplacedWhereItLies) {
  TestDir dir;
  TestDir kept;
  writeBytes(kept / "Tarvik.ini", "[Tarvik]\r\nSOHOIP=old\r\n");
  std::filesystem::create_symlink(kept / "Tarvik.ini", dir / "Tarvik.ini");
  SettingsFiles files(dir.path());
  ASSERT_EQ(files.saveApplications(1, {"x"}), "");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "Tarvik.ini"));
  EXPECT_EQ(SettingsFiles(kept.path()).loadApplications(1)[0], "x");
}

#endif

TEST(SettingsFiles, NameListAndScriptRoundTrip) {
  TestDir dir;
  SettingsFiles files(dir.path());
  // Any line end is read; each line is written with CR LF.
  writeBytes(files.namesPath(), "1:a\r2:b\n3:c\r\n\r\n5:e");
  writeBytes(files.scriptPath(), "");
  SettingsStore s = loaded(files);
  EXPECT_EQ(s.nameList, std::vector<std::string>({"1:a", "2:b", "3:c", "", "5:e"}));
  EXPECT_TRUE(s.script.empty());

  s.script = {"; " + toSjis("コメント"), "", "7:00 dis a"};
  ASSERT_EQ(files.saveDialogSettings(s, {}), "");
  EXPECT_EQ(readBytes(files.namesPath()), "1:a\r\n2:b\r\n3:c\r\n\r\n5:e\r\n");
  EXPECT_EQ(loaded(files).script, s.script);

  s.nameList.clear();  // an empty list gives an empty file
  ASSERT_EQ(files.saveDialogSettings(s, {}), "");
  EXPECT_TRUE(std::filesystem::exists(files.namesPath()));
  EXPECT_EQ(readBytes(files.namesPath()), "");
  EXPECT_TRUE(loaded(files).nameList.empty());
}

TEST(SettingsFiles, ANameListThatCannotBeCreatedStopsTheSave) {
  TestDir dir;
  SettingsFiles files(dir.path());
  std::filesystem::create_directory(files.namesPath());  // no file can replace a folder
  SettingsStore s;
  s.script = {"7:00 dis a"};
  EXPECT_EQ(files.saveDialogSettings(s, {}), "ﾌｧｲﾙ " + files.namesPath().string() + " を作成できません");
  EXPECT_TRUE(std::filesystem::exists(files.iniPath()));  // written before the list
  EXPECT_FALSE(std::filesystem::exists(files.scriptPath()));
}

TEST(SettingsFiles, DestinationSixteenHasItsOwnSection) {
  TestDir dir;
  SettingsFiles files(dir.path());
  ApplicationList apps{"a.exe $IP", "", "c.exe", "", "", "", toSjis("終わり.exe")};
  ASSERT_EQ(files.saveApplications(16, apps), "");
  EXPECT_EQ(files.loadApplications(16), apps);
  EXPECT_EQ(files.loadApplications(1), ApplicationList{});
  EXPECT_NE(readBytes(files.iniPath()).find("[AP16]\r\n1=a.exe $IP\r\n2=\r\n3=c.exe\r\n"), std::string::npos);

  SettingsStore s;
  s.appPageDestination = 16;
  ApplicationList changed = apps;
  changed[1] = "b.exe";
  ASSERT_EQ(files.saveDialogSettings(s, changed), "");
  EXPECT_EQ(files.loadApplications(16), changed);
  EXPECT_EQ(files.loadApplications(0), ApplicationList{});
}

#ifndef _WIN32  // the Windows lookup has tests of its own
// A program folder is used only for a portable copy that already holds the
// user's own Tarvik.ini: a program installed into a writable bin folder
// (~/.local/bin) keeps its settings in the user's folder, as one installed
// for everybody, and a Tarvik.ini that another user (root) left in a shared
// bin folder does not take everybody's settings.
TEST(ConfigDir, ExplicitThenPortableCopyThenXdg) {
  TestDir root;
  for (const char* folder : {"bin", "portable", "shared-bin", "given", "xdg", "home"}) {
    std::filesystem::create_directories(root / folder);
  }
  writeBytes(root / "portable/Tarvik.ini", "");
  writeBytes(root / "shared-bin/Tarvik.ini", "");
  // Another user's file: one only root can make.
  const bool othersFile =
      ::geteuid() == 0 && ::chown((root / "shared-bin/Tarvik.ini").c_str(), 65534, 65534) == 0;

  struct SavedVariable {
    const char* name;
    std::optional<std::string> value;
    ~SavedVariable() { value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name); }
  };
  auto save = [](const char* name) {
    const char* value = std::getenv(name);
    return SavedVariable{name, value ? std::optional<std::string>(value) : std::nullopt};
  };
  SavedVariable home = save("HOME"), xdg = save("XDG_CONFIG_HOME");
  ::setenv("HOME", (root / "home").c_str(), 1);

  struct Case {
    const char* xdgConfigHome;  // nullptr: unset
    std::filesystem::path explicitDir, exeDir, expected;
    const char* why;
  } const cases[] = {
      {"xdg", root / "given", root / "bin", root / "given", "--config-dir wins"},
      {"xdg", {}, root / "bin", root / "xdg/tarvik", "a writable bin folder without Tarvik.ini"},
      {"xdg", {}, root / "portable", root / "portable", "a portable copy"},
      {nullptr, {}, root / "bin", root / "home/.config/tarvik", "no XDG_CONFIG_HOME"},
      {"relative", {}, root / "bin", root / "home/.config/tarvik", "a relative XDG_CONFIG_HOME is ignored"},
      {"xdg", {}, {}, root / "xdg/tarvik", "no program folder known"},
      {"xdg",
       {},
       root / "shared-bin",
       othersFile ? root / "xdg/tarvik" : root / "shared-bin",
       "a Tarvik.ini of another user's"},
  };
  for (const Case& c : cases) {
    if (!c.xdgConfigHome) {
      ::unsetenv("XDG_CONFIG_HOME");
    } else {
      const std::string value =
          std::string(c.xdgConfigHome) == "relative" ? c.xdgConfigHome : (root / c.xdgConfigHome).string();
      ::setenv("XDG_CONFIG_HOME", value.c_str(), 1);
    }
    EXPECT_EQ(findConfigDir(c.explicitDir, c.exeDir), c.expected) << c.why;
  }
}
#endif

}  // namespace
}  // namespace tarvik

namespace tarvik {
namespace {

// [NOTIFY] is this program's own: a file without it reads as the defaults
// and gets it only once a switch is changed; from then on it is kept.
TEST(SettingsFiles, NotifySwitchesAppearOnlyOnceChanged) {
  TestDir dir;
  copyFixture(dir);
  SettingsFiles files(dir.path());
  SettingsStore s = loaded(files);
  EXPECT_TRUE(s.notify.INCOMING);
  EXPECT_FALSE(s.notify.CONNECTED);
  EXPECT_FALSE(s.notify.DISCONNECTED);
  EXPECT_TRUE(s.notify.FAILED);
  EXPECT_FALSE(s.notify.ROUTER);
  EXPECT_EQ(s.journal.SIZE, 1024);
  ASSERT_EQ(files.saveDialogSettings(s, {}), "");
  EXPECT_EQ(readBytes(dir / "Tarvik.ini").find("[NOTIFY]"), std::string::npos);

  s.notify.CONNECTED = true;
  ASSERT_EQ(files.saveDialogSettings(s, {}), "");
  const std::string text = readBytes(dir / "Tarvik.ini");
  EXPECT_NE(text.find("[NOTIFY]\r\nCONNECTED=1\r\n"), std::string::npos) << text;
  EXPECT_TRUE(loaded(files).notify.CONNECTED);

  s.notify.CONNECTED = false;  // back to the default: the key stays, with its value
  ASSERT_EQ(files.saveDialogSettings(s, {}), "");
  EXPECT_NE(readBytes(dir / "Tarvik.ini").find("[NOTIFY]\r\nCONNECTED=0\r\n"), std::string::npos);
  EXPECT_FALSE(loaded(files).notify.CONNECTED);
}

// [TARIFF] set by hand: a number out of its range or no number at all
// counts as the default; a file without the section stays without it.
TEST(SettingsFiles, TariffValuesOutsideTheirRangeAreTheDefaults) {
  const struct {
    const char* text;
    int unit, yen, from, to;
  } cases[] = {
      {"UNIT=60\r\nYEN=8\r\nFLATFROM=22\r\nFLATTO=7\r\n", 60, 8, 22, 7},
      {"UNIT=0\r\nYEN=-1\r\nFLATFROM=24\r\nFLATTO=-3\r\n", 180, 10, 23, 8},
      {"UNIT=x\r\nYEN=\r\nFLATFROM=1e3\r\nFLATTO=99999999999\r\n", 180, 10, 23, 8},
      {"UNIT=86400\r\nYEN=0\r\nFLATFROM=0\r\nFLATTO=23\r\n", 86400, 0, 0, 23},
      {"UNIT=86401\r\nYEN=100001\r\n", 180, 10, 23, 8},
  };
  for (const auto& c : cases) {
    TestDir dir;
    writeBytes(dir / "Tarvik.ini", std::string("[TARIFF]\r\n") + c.text + "FLATDEST=0,#3\r\n");
    SettingsStore s = loaded(SettingsFiles(dir.path()));
    EXPECT_EQ(s.tariff.UNIT, c.unit) << c.text;
    EXPECT_EQ(s.tariff.YEN, c.yen) << c.text;
    EXPECT_EQ(s.tariff.FLATFROM, c.from) << c.text;
    EXPECT_EQ(s.tariff.FLATTO, c.to) << c.text;
    EXPECT_EQ(s.tariff.FLATDEST, "0,#3");
  }

  TestDir dir;
  copyFixture(dir);
  SettingsFiles files(dir.path());
  SettingsStore s = loaded(files);
  ASSERT_EQ(files.saveDialogSettings(s, {}), "");
  EXPECT_EQ(readBytes(dir / "Tarvik.ini").find("[TARIFF]"), std::string::npos);
  s.tariff.FLATDEST = "0";
  ASSERT_EQ(files.saveDialogSettings(s, {}), "");
  EXPECT_NE(readBytes(dir / "Tarvik.ini").find("[TARIFF]\r\nFLATDEST=0\r\n"), std::string::npos);
}

TEST(SettingsFiles, JournalSizeIsReadWithinItsRange) {
  const std::pair<const char*, int> cases[] = {{"64", 64}, {"8", 8},   {"1", 1},          {"0", 1024},
                                               {"-5", 1024}, {"x", 1024}, {"2048", 2048}, {"1048577", 1024}};
  for (const auto& [text, expected] : cases) {
    TestDir dir;
    writeBytes(dir / "Tarvik.ini", std::string("[JOURNAL]\r\nSIZE=") + text + "\r\n");
    SettingsStore s = loaded(SettingsFiles(dir.path()));
    EXPECT_EQ(s.journal.SIZE, expected) << text;
    EXPECT_EQ(journalMaxBytes(s), static_cast<std::uintmax_t>(expected) * 1024);
  }
}

}  // namespace
}  // namespace tarvik
