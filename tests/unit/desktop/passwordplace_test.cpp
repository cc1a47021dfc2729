// Where the password goes around the keeper, for both desktops: the store's
// answer at start does not undo what the user typed meanwhile, a refused
// store brings the choice back to Tarvik.ini, and an answer that comes
// after the dialog has gone changes nothing.
#include "desktop/passwordplace.h"

#include <gtest/gtest.h>

#include "fakes/recordingcore.h"
#include "fakes/secretstore.h"
#include "fakes/testdir.h"

namespace tarvik::desktop {
namespace {

using test::FakeSecretStore;
using test::RecordingCore;

struct PasswordPlace : ::testing::Test {
  tarvik::testing::TestDir dir;
  RecordingCore core{dir.path()};
  FakeSecretStore secrets;
  PasswordKeeper keeper{secrets};
  std::vector<std::string> reports;

  void setPassword(const std::string& pass, bool keyring) {
    SettingsStore s = core.settings();
    s.tarvik.PASS = pass;
    s.secret.KEYRING = keyring;
    core.applySettings(s);
  }
  // What the start-up load makes of KEYRING=1 with an empty PASS.
  void loadedUnread() {
    SettingsStore s = core.settings();
    s.tarvik.PASS = "";
    s.secret.KEYRING = true;
    s.secret.unreadAs = "";
    s.secret.held.reset();
    core.applySettings(s);
  }
  auto report() {
    return [this](const std::string& problem) { reports.push_back(problem); };
  }
};

TEST_F(PasswordPlace, TheStoresPasswordAtStartGivesWayToOneTypedMeanwhile) {
  secrets.held = "stored";
  loadedUnread();
  fetchPasswordAtStart(core, &keeper, {}, report());
  EXPECT_TRUE(reports.empty()) << "the start waits for the store";
  secrets.answerAll();
  EXPECT_EQ(reports, std::vector<std::string>{""});
  EXPECT_EQ(core.settings().tarvik.PASS, "stored");
  EXPECT_EQ(core.settings().secret.held, "stored");

  // The store is unreachable at first: the password stays unread, and one
  // typed before the answer is the password.
  secrets.reachable = false;
  loadedUnread();
  fetchPasswordAtStart(core, &keeper, {}, report());
  setPassword("typed", true);
  secrets.reachable = true;
  secrets.answerAll();
  EXPECT_EQ(core.settings().tarvik.PASS, "typed");
}

TEST_F(PasswordPlace, WithoutAStoreAnUnreadPasswordIsReported) {
  fetchPasswordAtStart(core, nullptr, "no bus", report());
  loadedUnread();
  fetchPasswordAtStart(core, nullptr, "no bus", report());
  EXPECT_EQ(reports, (std::vector<std::string>{"", std::string(kKeyringUnreachable) + " (no bus)"}));
}

TEST_F(PasswordPlace, ARefusedStoreBringsTheChoiceBackToTheFile) {
  secrets.locked = true;
  setPassword("himitsu", true);
  ASSERT_EQ(core.files().saveDialogSettings(core.store, {}), "");
  keepSavedPassword(core, keeper, {}, report());
  secrets.answerAll();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].rfind(std::string(kKeyringNotSaved), 0), 0u) << reports[0];
  EXPECT_FALSE(core.settings().secret.KEYRING);
  EXPECT_EQ(core.settings().tarvik.PASS, "himitsu");
  SettingsStore onDisk;
  core.files().loadAll(onDisk);
  EXPECT_EQ(onDisk.tarvik.PASS, "himitsu");
  EXPECT_FALSE(onDisk.secret.KEYRING);
}

TEST_F(PasswordPlace, AnAnswerAfterTheDialogHasGoneChangesNothing) {
  setPassword("himitsu", true);
  ASSERT_EQ(core.files().saveDialogSettings(core.store, {}), "");
  bool dialogThere = true;
  keepSavedPassword(
      core, keeper, [&] { return dialogThere; }, report());
  dialogThere = false;
  secrets.answerAll();
  EXPECT_EQ(core.settings().secret.held, std::nullopt);
  EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace tarvik::desktop
