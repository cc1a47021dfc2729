#include "settings/passwordkeeper.h"

#include <gtest/gtest.h>

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
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSecretStore secrets;
    secrets.reachable = c.reachable;
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
  EXPECT_EQ(loaded(files).tarvik.PASS, "") << "the save itself leaves the password to the store";
  keeper.keep(s, files, reports.add());
  secrets.answerAll();
  EXPECT_EQ(reports.got, std::vector<std::string>{std::string(kKeyringNotSaved) + " (no bus)"});
  EXPECT_FALSE(s.secret.KEYRING);
  SettingsStore next = loaded(files);
  EXPECT_EQ(next.tarvik.PASS, "himitsu");
  EXPECT_FALSE(next.secret.KEYRING);
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
