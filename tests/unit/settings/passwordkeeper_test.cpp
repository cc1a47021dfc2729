#include "engine/settings/passwordkeeper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "fakes/secretstore.h"
#include "fakes/testdir.h"

namespace tarvik {
namespace {

using test::FakeSecretStore;
using testing::readBytes;
using testing::TestDir;
using testing::writeBytes;

struct Reports {
  std::vector<std::string> got;
  PasswordKeeper::Report add() {
    return [this](const std::string& problem) { got.push_back(problem); };
  }
};

SettingsStore loaded(const SettingsFiles& files) {
  SettingsStore store;
  files.loadAll(store);
  return store;
}

// Ticking the box moves the password from the file into the store; the file
// keeps PASS, empty, and [SECRET] KEYRING=1; the next start reads it back
// from the store. Unticking brings it back into the file and out of the store.
TEST(PasswordKeeper, ThePasswordMovesIntoTheStoreAndBack) {
  TestDir dir;
  SettingsFiles files(dir.path());
  FakeSecretStore secrets;
  Reports reports;
  SettingsStore s;
  s.tarvik.PASS = "himitsu";
  ASSERT_EQ(files.saveDialogSettings(s, {}), "");
  const std::string inFile = readBytes(files.iniPath());
  EXPECT_EQ(inFile.find("[SECRET]"), std::string::npos) << "no section before the store is chosen";

  PasswordKeeper keeper(secrets);
  s.secret.KEYRING = true;
  ASSERT_EQ(files.saveDialogSettings(s, {}), "");
  keeper.keep(s, files, reports.add());
  // Until the store has confirmed, the file keeps the password: a program
  // ended while the keyring still asks its questions loses nothing.
  EXPECT_EQ(readBytes(files.iniPath()), inFile) << "nothing changes before the store answers";
  secrets.answerAll();
  EXPECT_EQ(reports.got, std::vector<std::string>{""});
  EXPECT_EQ(secrets.held, "himitsu");
  std::string ini = readBytes(files.iniPath());
  EXPECT_NE(ini.find("PASS=\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("[SECRET]\r\nKEYRING=1\r\n"), std::string::npos) << ini;

  // The next start: the file has no password, the store has it.
  SettingsStore next = loaded(files);
  EXPECT_TRUE(next.secret.KEYRING);
  EXPECT_EQ(next.tarvik.PASS, "");
  PasswordKeeper nextKeeper(secrets);
  nextKeeper.fetch(next, reports.add());
  EXPECT_EQ(reports.got.size(), 1u) << "the answer comes from the store, later";
  secrets.answerAll();
  EXPECT_EQ(next.tarvik.PASS, "himitsu");
  EXPECT_EQ(reports.got.back(), "");

  // Back into the file: the store forgets it, the section says so.
  next.secret.KEYRING = false;
  ASSERT_EQ(files.saveDialogSettings(next, {}), "");
  nextKeeper.keep(next, files, reports.add());
  secrets.answerAll();
  EXPECT_EQ(secrets.held, std::nullopt);
  EXPECT_EQ(loaded(files).tarvik.PASS, "himitsu");
  EXPECT_NE(readBytes(files.iniPath()).find("[SECRET]\r\nKEYRING=0\r\n"), std::string::npos);
  EXPECT_EQ(secrets.calls, (std::vector<std::string>{"store himitsu", "lookup", "clear"}));
}

// What the start-up lookup reports, and what password the program then uses.
TEST(PasswordKeeper, TheStartUpLookupSaysWhyItFoundNoPassword) {
  struct Case {
    const char* name;
    bool keyring;
    bool reachable;
    std::optional<std::string> held;
    std::string problem;
    std::string password;
    std::vector<std::string> calls;
  };
  const std::string unreachable = std::string(kKeyringUnreachable) + " (no bus)";
  const Case cases[] = {
      {"file", false, true, "other", "", "in-file", {}},
      {"store", true, true, "stored", "", "stored", {"lookup"}},
      {"store unreachable", true, false, "stored", unreachable, "in-file", {"lookup"}},
      {"store empty", true, true, std::nullopt, std::string(kKeyringEmpty), "in-file", {"lookup"}},
      // The password is there, behind an unlock the user cancelled.
      {"store locked", true, true, "stored", std::string(kKeyringLocked), "in-file", {"lookup"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSecretStore secrets;
    secrets.reachable = c.reachable;
    secrets.locked = std::string(c.name) == "store locked";
    secrets.held = c.held;
    SettingsStore s;
    s.tarvik.PASS = "in-file";  // what an older copy may have written since
    s.secret.KEYRING = c.keyring;
    PasswordKeeper keeper(secrets);
    Reports reports;
    keeper.fetch(s, reports.add());
    secrets.answerAll();
    EXPECT_EQ(reports.got, std::vector<std::string>{c.problem});
    EXPECT_EQ(s.tarvik.PASS, c.password);
    EXPECT_EQ(secrets.calls, c.calls);
  }
}

// A store that cannot take the password leaves it in the file: nothing is
// lost between the two, and the user is told.
TEST(PasswordKeeper, AStoreThatRefusesThePasswordLeavesItInTheFile) {
  TestDir dir;
  SettingsFiles files(dir.path());
  writeBytes(files.iniPath(), "[Tarvik]\r\nSOHOIP=10.0.0.1\r\n");
  FakeSecretStore secrets;
  secrets.reachable = false;
  PasswordKeeper keeper(secrets);
  Reports reports;
  SettingsStore s = loaded(files);
  s.tarvik.PASS = "himitsu";
  s.secret.KEYRING = true;
  ASSERT_EQ(files.saveDialogSettings(s, {}), "");
  EXPECT_EQ(loaded(files).tarvik.PASS, "himitsu") << "the file keeps the password until the store has it";
  keeper.keep(s, files, reports.add());
  secrets.answerAll();
  EXPECT_EQ(reports.got, std::vector<std::string>{std::string(kKeyringNotSaved) + " (no bus)"});
  EXPECT_FALSE(s.secret.KEYRING);
  SettingsStore next = loaded(files);
  EXPECT_EQ(next.tarvik.PASS, "himitsu");
  EXPECT_FALSE(next.secret.KEYRING);
}

// A password kept in the store that Tarvik could not read (the store out of
// reach, locked with the unlock cancelled, or no store at all) is written
// nowhere by a save that leaves the password field alone: the store keeps
// its password, the file its PASS and KEYRING, and the status line says
// why. A password typed afterwards is the user's and is saved as usual.
TEST(PasswordKeeper, APasswordThatWasNotReadIsWrittenNowhere) {
  struct Case {
    const char* name;
    bool haveStore;
    bool reachable;
    bool locked;
    std::string problem;                   // what the start-up lookup says
    std::optional<std::string> typedLater;  // what the store holds after a typed password
    std::string typedReport;
  };
  const std::string notSaved = std::string(kKeyringNotSaved) + " (no bus)";
  const Case cases[] = {
      {"store out of reach", true, false, false, std::string(kKeyringUnreachable) + " (no bus)", "himitsu",
       notSaved},
      {"store locked", true, true, true, std::string(kKeyringLocked), "himitsu",
       std::string(kKeyringNotSaved) + " (dismissed)"},
      {"no store", false, true, false, "", "himitsu", ""},
  };
  const std::string file =
      "[Tarvik]\r\nSOHOIP=10.0.0.1\r\nPASS=\r\nDEFAULT=0\r\n[SECRET]\r\nKEYRING=1\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestDir dir;
    SettingsFiles files(dir.path());
    std::vector<std::string> notices;
    files.setNotice([&](const std::string& text) { notices.push_back(text); });
    writeBytes(files.iniPath(), file);
    FakeSecretStore secrets;
    secrets.held = "himitsu";
    secrets.reachable = c.reachable;
    secrets.locked = c.locked;
    PasswordKeeper keeper(secrets);
    Reports reports;

    SettingsStore s = loaded(files);
    if (c.haveStore) {
      keeper.fetch(s, reports.add());
      secrets.answerAll();
      EXPECT_EQ(reports.got, std::vector<std::string>{c.problem});
    }
    EXPECT_TRUE(passwordUnread(s));

    // OK without touching the password.
    ASSERT_EQ(files.saveDialogSettings(s, {}), "");
    if (c.haveStore) keeper.keep(s, files, reports.add());
    secrets.answerAll();
    SettingsStore reread = loaded(files);
    EXPECT_TRUE(reread.secret.KEYRING) << "the choice stays as it was";
    EXPECT_NE(readBytes(files.iniPath()).find("PASS=\r\n"), std::string::npos) << readBytes(files.iniPath());
    EXPECT_EQ(secrets.held, "himitsu");
    EXPECT_EQ(std::count(secrets.calls.begin(), secrets.calls.end(), "lookup"),
              static_cast<long>(secrets.calls.size()))
        << "nothing is stored or cleared";
    EXPECT_EQ(notices, std::vector<std::string>{std::string(kPasswordUnreadNotSaved)});
    EXPECT_TRUE(s.secret.KEYRING);

    // A password typed now is known, and saved like any other.
    s.tarvik.PASS = "neu";
    EXPECT_FALSE(passwordUnread(s));
    ASSERT_EQ(files.saveDialogSettings(s, {}), "");
    EXPECT_EQ(loaded(files).tarvik.PASS, "neu");
    reports.got.clear();
    if (c.haveStore) keeper.keep(s, files, reports.add());
    secrets.answerAll();
    if (c.haveStore) { EXPECT_EQ(reports.got, std::vector<std::string>{c.typedReport}); }
    EXPECT_EQ(secrets.held, c.typedLater);
    EXPECT_EQ(loaded(files).tarvik.PASS, "neu") << "the typed password is in the file";
    EXPECT_EQ(std::count(notices.begin(), notices.end(), std::string(kPasswordUnreadNotSaved)), 1)
        << "said only of the save that left the password alone";
  }
}

// Two saves in a row: the store answers in order, and only the last answer
// decides what the file says.
TEST(PasswordKeeper, OnlyTheLatestSaveDecidesTheFile) {
  TestDir dir;
  SettingsFiles files(dir.path());
  FakeSecretStore secrets;
  PasswordKeeper keeper(secrets);
  Reports reports;
  SettingsStore first;
  first.secret.KEYRING = true;
  first.tarvik.PASS = "first";
  ASSERT_EQ(files.saveDialogSettings(first, {}), "");
  keeper.keep(first, files, reports.add());
  SettingsStore second = first;
  second.tarvik.PASS = "second";
  ASSERT_EQ(files.saveDialogSettings(second, {}), "");
  keeper.keep(second, files, reports.add());

  secrets.pending.front()();  // the store takes "first"
  secrets.pending.pop_front();
  EXPECT_TRUE(reports.got.empty()) << "the overtaken save says nothing";
  EXPECT_EQ(loaded(files).tarvik.PASS, "second") << "the file keeps the password still on its way";
  secrets.answerAll();
  EXPECT_EQ(reports.got, std::vector<std::string>{""});
  EXPECT_EQ(secrets.held, "second");
  SettingsStore next = loaded(files);
  EXPECT_TRUE(next.secret.KEYRING);
  EXPECT_EQ(next.tarvik.PASS, "");

  // A save that changes nothing asks the store nothing.
  second.secret.held = "second";
  keeper.keep(second, files, reports.add());
  EXPECT_EQ(secrets.calls, (std::vector<std::string>{"store first", "store second"}));
}

// A file that never chose the store is saved without the new section, so
// files written before it existed stay as they were.
TEST(PasswordKeeper, TheFileAloneNeedsNoStore) {
  TestDir dir;
  SettingsFiles files(dir.path());
  FakeSecretStore secrets;
  PasswordKeeper keeper(secrets);
  Reports reports;
  SettingsStore s;
  s.tarvik.PASS = "abc";
  ASSERT_EQ(files.saveDialogSettings(s, {}), "");
  keeper.fetch(s, reports.add());
  keeper.keep(s, files, reports.add());
  secrets.answerAll();
  EXPECT_EQ(reports.got, (std::vector<std::string>{"", ""}));
  EXPECT_TRUE(secrets.calls.empty());
  EXPECT_EQ(readBytes(files.iniPath()).find("SECRET"), std::string::npos);
}

}  // namespace
}  // namespace tarvik
