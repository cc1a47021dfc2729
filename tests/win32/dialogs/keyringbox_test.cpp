// The settings dialog's box "キーリングに保存" with the Windows Credential
// Manager behind it (Wine keeps the credentials in its registry): a save
// with the box ticked leaves the password in the store and Tarvik.ini with
// KEYRING=1 and an empty PASS, the next start reads it from there, and a
// password that could not be read is never overwritten.
#include <gtest/gtest.h>

#include <optional>

#include "dialogfixture.h"
// after windows.h
#include <wincred.h>

#include "win32/dialogs/dialogids.h"
#include "win32/dialogs/routerpassword.h"

namespace tarvik::win32 {
namespace {

using testing::click;
using testing::setText;
using testing::textOf;

// What the Credential Manager holds under a name (UTF-8), read with the
// system's own call; nothing when it holds none.
std::optional<std::string> credential(const std::wstring& target) {
  PCREDENTIALW found = nullptr;
  if (!CredReadW(target.c_str(), CRED_TYPE_GENERIC, 0, &found)) return std::nullopt;
  const std::wstring text(reinterpret_cast<const wchar_t*>(found->CredentialBlob),
                          found->CredentialBlobSize / sizeof(wchar_t));
  CredFree(found);
  return narrow(text);
}

struct KeyringBoxTest : testing::DialogFixture, ::testing::Test {
  std::unique_ptr<SettingsDialog> dialog = make(core);
  std::unique_ptr<RouterPassword> password = std::make_unique<RouterPassword>(dir.path());

  KeyringBoxTest() {
    CredDeleteW(password->targetName().c_str(), CRED_TYPE_GENERIC, 0);
    password->attach(*dialog);
  }
  ~KeyringBoxTest() override { CredDeleteW(password->targetName().c_str(), CRED_TYPE_GENERIC, 0); }

  std::unique_ptr<SettingsDialog> make(EngineCommands& engine) {
    SettingsDialog::Hooks hooks;
    hooks.message = recordMessages();
    return std::make_unique<SettingsDialog>(engine, nullptr, hooks);
  }
  HWND box() const { return dialog->control(IDC_CheckBoxKeyring); }
  void saveWithBox(const std::string& typed, bool ticked) {
    dialog->openDialog();
    dialog->showTab(0);
    setText(dialog->control(IDC_Edit14), typed);
    SendMessageW(box(), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
    click(box());
    click(GetDlgItem(dialog->hwnd(), IDOK));
    ASSERT_FALSE(dialog->isVisible()) << "saved and closed";
  }
  // A start of the program over the same folder: a new engine loads
  // Tarvik.ini, and the password is read before the first exchange.
  struct Start {
    test::RecordingCore core;
    std::unique_ptr<SettingsDialog> dialog;
    std::vector<std::string> started;
  };
  std::unique_ptr<Start> start() {
    auto s = std::make_unique<Start>(Start{test::RecordingCore(dir.path()), nullptr, {}});
    s->core.loadSettings();
    s->dialog = make(s->core);
    RouterPassword(dir.path()).fetchAtStart(s->core, *s->dialog, [&s](const std::string& problem) {
      s->started.push_back(problem);
    });
    return s;
  }
};

TEST_F(KeyringBoxTest, TheBoxIsShownOnlyWithTheCredentialManagerBehindIt) {
  EXPECT_EQ(textOf(box()), "資格情報マネージャーに保存");
  EXPECT_NE(GetWindowLongW(box(), GWL_STYLE) & WS_VISIBLE, 0);
  dialog->setPasswordKeeper(nullptr);
  EXPECT_EQ(GetWindowLongW(box(), GWL_STYLE) & WS_VISIBLE, 0);
}

TEST_F(KeyringBoxTest, TickedThePasswordGoesToTheStoreAndTheNextStartReadsItFromThere) {
  const std::string typed = "ひみつ-Pass 1";
  saveWithBox(typed, true);
  const std::string ini = iniText();
  EXPECT_NE(ini.find("\r\nPASS=\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("[SECRET]\r\nKEYRING=1\r\n"), std::string::npos) << ini;
  EXPECT_EQ(credential(password->targetName()), typed);
  EXPECT_TRUE(messages.empty());

  auto next = start();
  EXPECT_EQ(next->started, std::vector<std::string>{""});
  EXPECT_EQ(next->core.settings().tarvik.PASS, toSjis(typed));
  EXPECT_EQ(textOf(next->dialog->control(IDC_Edit14)), typed) << "the field shows the password read";
  EXPECT_EQ(SendMessageW(next->dialog->control(IDC_CheckBoxKeyring), BM_GETCHECK, 0, 0), BST_CHECKED);

  // Unticked again: the password is back in Tarvik.ini, the store forgets it.
  saveWithBox(typed, false);
  EXPECT_EQ(credential(password->targetName()), std::nullopt);
  EXPECT_EQ(iniText().find("\r\nPASS=\r\n"), std::string::npos) << iniText();
  EXPECT_EQ(start()->core.settings().tarvik.PASS, toSjis(typed));
}

// KEYRING=1 and nothing in the store: the start says so, as on Linux, and
// runs with the file's (empty) password.
TEST_F(KeyringBoxTest, AStartFindingNoPasswordInTheStoreSaysSo) {
  saveWithBox("himitsu", true);
  CredDeleteW(password->targetName().c_str(), CRED_TYPE_GENERIC, 0);
  auto next = start();
  EXPECT_EQ(next->started, std::vector<std::string>{std::string(kKeyringEmpty)});
  EXPECT_EQ(next->core.settings().tarvik.PASS, "");
}

// The store's password could not be read at start: the box cannot be
// changed, and a save leaves both the store and Tarvik.ini as they were.
TEST_F(KeyringBoxTest, APasswordThatCouldNotBeReadIsNeverOverwritten) {
  saveWithBox("himitsu", true);
  const std::string savedIni = iniText();
  SettingsStore unread = core.settings();
  unread.tarvik.PASS.clear();
  unread.secret.unreadAs = "";
  unread.secret.held.reset();
  core.applySettings(unread);
  dialog->loadFromStore();
  EXPECT_FALSE(IsWindowEnabled(box()));

  dialog->openDialog();
  click(GetDlgItem(dialog->hwnd(), IDOK));
  EXPECT_EQ(credential(password->targetName()), "himitsu");
  EXPECT_EQ(iniText(), savedIni);

  // A new password typed: it is the password now, and goes to the store.
  dialog->openDialog();
  setText(dialog->control(IDC_Edit14), "neu");
  EXPECT_TRUE(IsWindowEnabled(box()));
  click(GetDlgItem(dialog->hwnd(), IDOK));
  EXPECT_EQ(credential(password->targetName()), "neu");
}

}  // namespace
}  // namespace tarvik::win32
