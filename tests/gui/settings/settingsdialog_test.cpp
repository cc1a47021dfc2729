// The settings dialog as a window: its pages, the application page per
// destination, browsing and playing, Enter and Escape, and the save on
// every close with the interval rule and its error.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "qt/dialogs/destinationbox.h"
#include "fakes/secretstore.h"
#include "engine/settings/passwordkeeper.h"
#include "settingsfixture.h"
#include "support/layoutrules.h"

namespace tarvik {
namespace {

struct DialogTest : test::SettingsFixture, ::testing::Test {
  ~DialogTest() override {
    for (QMessageBox* box : dialog.findChildren<QMessageBox*>()) box->done(0);
  }
  QMessageBox* messageBox() {
    const auto boxes = dialog.findChildren<QMessageBox*>();
    for (QMessageBox* box : boxes) {
      if (box->isVisible()) return box;
    }
    return nullptr;
  }
  void openOn(int tab) {
    dialog.openDialog();
    dialog.tabs()->setCurrentIndex(tab);
  }
};

// The four destination boxes, each with its page and the setting it holds
// (the application page's is the destination shown there).
struct DestinationBoxRow {
  const char* box;
  int tab;
  int& (*field)(SettingsStore&);
};
const DestinationBoxRow kDestinationBoxes[] = {
    {"ComboBox1", 0, [](SettingsStore& s) -> int& { return s.tarvik.DEFAULT; }},
    {"ComboBox3", 2, [](SettingsStore& s) -> int& { return s.appPageDestination; }},
    {"ComboBox2", 3, [](SettingsStore& s) -> int& { return s.tarvik.AUTO; }},
    {"RedialBox", 4, [](SettingsStore& s) -> int& { return s.tarvik.REDIAL; }},
};

QStringList providerEntries() {
  QStringList entries;
  for (int i = 0; i < 16; ++i) entries << QStringLiteral("#%1 Provider%2").arg(i).arg(i);
  return entries;
}

// What a user does: select the box's text and type over it.
void typeInto(DestinationBox* box, const QString& text) {
  QApplication::setActiveWindow(box->window());
  box->setFocus();
  box->lineEdit()->selectAll();
  QTest::keyClicks(box, text);
}

// What a user does: open the list and click an entry.
void chooseFrom(DestinationBox* box, int index) {
  box->showPopup();
  QAbstractItemView* list = box->view();
  const QRect item = list->visualRect(list->model()->index(index, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
}

TEST_F(DialogTest, WindowTabsAndTheFirstPageShown) {
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tarvik - 設定"));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "fixed size";
  test::expectInside(dialog.tabs(), &dialog);
  auto* ok = find<QPushButton>("OK");
  ASSERT_NE(ok, nullptr);
  test::expectInside(ok, &dialog);
  EXPECT_GT(ok->geometry().top(), dialog.tabs()->geometry().bottom()) << "OK under the pages";
  EXPECT_GE(ok->geometry().right(), dialog.tabs()->geometry().right() - 8) << "OK at the right";
  EXPECT_FALSE(dialog.isModal());
  const QStringList titles = {QStringLiteral("基本設定"),     QStringLiteral("ｻｳﾝﾄﾞ設定"),
                              QStringLiteral("同時起動ｱﾌﾟﾘ"), QStringLiteral("時限処理"),
                              QStringLiteral("高度な設定"),   QStringLiteral("ﾈｰﾑﾃﾞｨｽﾌﾟﾚｲ"),
                              QStringLiteral("通知"),         QStringLiteral("料金")};
  ASSERT_EQ(dialog.tabs()->count(), titles.size());
  int tabsWidth = 0;
  for (int i = 0; i < titles.size(); ++i) {
    EXPECT_EQ(dialog.tabs()->tabText(i), titles[i]);
    tabsWidth += dialog.tabs()->tabBar()->tabRect(i).width();
  }
  // With room to spare: at 150 % the text widths round up, and a row that
  // just fits at 100 % cuts its last tab.
  EXPECT_LE(tabsWidth + 16, dialog.tabs()->width()) << "all tabs fit in one row";
  EXPECT_EQ(dialog.tabs()->currentIndex(), 1) << "the first opening shows ｻｳﾝﾄﾞ設定";
  openOn(4);
  ASSERT_TRUE(dialog.closeDialog());
  dialog.openDialog();
  EXPECT_EQ(dialog.tabs()->currentIndex(), 4) << "later openings show the page last shown";
}

TEST_F(DialogTest, TheSoundPagesTabOrderPutsTheBrowseButtonBeforeTheRingSound) {
  dialog.show();
  dialog.tabs()->setCurrentIndex(1);
  QWidget* w = find<QLineEdit>("Edit6");
  QStringList order;
  for (int i = 0; i < 9; ++i) {
    order << w->objectName();
    do {
      w = w->nextInFocusChain();
    } while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(&dialog));
  }
  EXPECT_EQ(order, QStringList({"Edit6", "Edit1", "Edit3", "Edit15", "Edit16", "Edit2", "SoundBrowse",
                                "Edit_RingSound", "Edit_NameSound"}));
  for (const char* name : {"SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton5", "SpeedButton7",
                           "SpeedButton4", "SpeedButton8"}) {
    ASSERT_NE(find<QToolButton>(name), nullptr) << name;
  }
  // The path fields in one column of one width, each play button beside
  // its own field.
  const std::pair<const char*, const char*> rows[] = {
      {"SpeedButton1", "Edit6"},  {"SpeedButton2", "Edit1"},  {"SpeedButton3", "Edit3"},
      {"SpeedButton5", "Edit15"}, {"SpeedButton7", "Edit16"}, {"SpeedButton4", "Edit2"},
      {"SpeedButton8", "Edit_RingSound"}};
  const QRect first = find<QLineEdit>("Edit6")->geometry();
  for (const auto& [button, field] : rows) {
    const QRect f = find<QLineEdit>(field)->geometry(), b = find<QToolButton>(button)->geometry();
    EXPECT_EQ(f.left(), first.left()) << field;
    EXPECT_EQ(f.width(), first.width()) << field;
    EXPECT_GT(b.left(), f.right()) << button << " after " << field;
    EXPECT_TRUE(b.top() <= f.bottom() && b.bottom() >= f.top()) << button << " on the row of " << field;
  }
  const QFontMetrics fm = find<QLineEdit>("Edit6")->fontMetrics();
  EXPECT_GE(first.width(), fm.horizontalAdvance(QStringLiteral("C:\\Windows\\Media\\chimes.wav")))
      << "a usual path shows whole";
}

// Every page, shown: its controls inside it, captions whole, nothing drawn
// over anything else.
TEST_F(DialogTest, EveryPageIsLaidOutTidily) {
  dialog.show();
  for (int i = 0; i < dialog.tabs()->count(); ++i) {
    SCOPED_TRACE(dialog.tabs()->tabText(i).toStdString());
    dialog.tabs()->setCurrentIndex(i);
    QApplication::processEvents();
    test::expectTidyLayout(dialog.tabs()->currentWidget());
  }
}

TEST_F(DialogTest, EnterClosesOnMostPagesAddsOnTheNamePageAndEscapeDoesNothing) {
  openOn(0);
  EXPECT_TRUE(find<QPushButton>("OK")->isDefault());
  QTest::keyClick(find<QLineEdit>("Edit5"), Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible()) << "no cancel";
  QTest::keyClick(find<QLineEdit>("Edit5"), Qt::Key_Return);
  EXPECT_FALSE(dialog.isVisible()) << "Enter on the basic page presses OK";
  EXPECT_EQ(core.last(), "ConfigClosed");

  openOn(3);
  find<QCheckBox>("CheckBox18")->setChecked(true);
  auto* script = find<QPlainTextEdit>("Script");
  script->setPlainText(QStringLiteral("7:00 dis a"));
  script->moveCursor(QTextCursor::End);
  QTest::keyClick(script, Qt::Key_Return);
  EXPECT_TRUE(dialog.isVisible()) << "Enter in the script starts a line";
  EXPECT_EQ(script->toPlainText(), QStringLiteral("7:00 dis a\n"));

  QTest::keyClick(find<DestinationBox>("ComboBox2"), Qt::Key_Return);
  EXPECT_FALSE(dialog.isVisible()) << "Enter in a destination box presses OK";

  openOn(5);
  EXPECT_TRUE(dialog.pages().addName->isDefault());
  dialog.pages().number->setText(QStringLiteral("0312341234"));
  dialog.pages().name->setText(QStringLiteral("事務所"));
  QTest::keyClick(dialog.pages().name, Qt::Key_Enter);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(core.store.nameList, std::vector<std::string>{toSjis("0312341234:事務所")});

  openOn(1);
  nextFile = QStringLiteral("/tmp/a.wav");
  QTest::mouseClick(find<QLineEdit>("Edit3"), Qt::LeftButton);
  QTest::keyClick(dialog.pages().soundBrowse, Qt::Key_Return);
  EXPECT_TRUE(dialog.isVisible()) << "a focused button takes Enter itself";
  EXPECT_EQ(find<QLineEdit>("Edit3")->text(), QStringLiteral("/tmp/a.wav"));
}

TEST_F(DialogTest, TypingInADestinationBoxIsNeverCompletedAndMatchesOnlyExactly) {
  dialog.setDestinationList(providerEntries());
  for (const DestinationBoxRow& row : kDestinationBoxes) {
    openOn(row.tab);
    auto* box = find<DestinationBox>(row.box);
    const struct {
      const char* typed;
      int index;
    } cases[] = {
        {"#4", 16},              // the start of an entry is not the entry
        {"#4 provider4", 16},    // nor is the entry in other letter case
        {"#4 Provider4", 4},     // only the entry itself
        {"#12 Provider1", 16},   // nor an entry's start that is another entry
        {"#12 Provider12", 12},
    };
    for (const auto& c : cases) {
      typeInto(box, QString::fromUtf8(c.typed));
      EXPECT_EQ(box->currentText(), QString::fromUtf8(c.typed)) << row.box << ": nothing was completed";
      if (row.field(core.store) != c.index) {
        // The application page switches once the typing is finished.
        QTest::keyClick(box, Qt::Key_Return);
        openOn(row.tab);
      }
      EXPECT_EQ(row.field(core.store), c.index) << row.box << " after typing " << c.typed;
      EXPECT_EQ(box->currentText(), QString::fromUtf8(c.typed)) << row.box << ": the text stays as typed";
    }
    EXPECT_EQ(box->count(), 16) << "typing never adds an entry";
    ASSERT_TRUE(dialog.closeDialog());
  }
}

TEST_F(DialogTest, EnterInADestinationBoxPressesOkAlsoRightAfterTyping) {
  dialog.setDestinationList(providerEntries());
  for (const DestinationBoxRow& row : kDestinationBoxes) {
    for (const char* typed : {"#1", "#1 Provider1", ""}) {
      openOn(row.tab);
      auto* box = find<DestinationBox>(row.box);
      typeInto(box, QString::fromUtf8(typed));
      QTest::keyClick(box, Qt::Key_Return);
      EXPECT_FALSE(dialog.isVisible()) << "Enter in " << row.box << " after typing '" << typed << "'";
      EXPECT_EQ(core.last(), "ConfigClosed");
      dialog.closeDialog();
    }
  }
}

TEST_F(DialogTest, TheApplicationPageSwitchesSectionsOnlyForAChosenOrFinishedEntry) {
  dialog.setDestinationList(providerEntries());
  openOn(2);
  auto* box = find<DestinationBox>("ComboBox3");
  const SettingsPages& pages = dialog.pages();
  core.files().saveApplications(4, {"four", "", "", "", "", "", ""});
  core.files().saveApplications(14, {"fourteen", "", "", "", "", "", ""});
  pages.apps[0]->setText(QStringLiteral("zero"));

  // Key by key, "#14 Provider14" passes through "#1 ..."-like texts and the
  // whole of nothing; no section is read or written meanwhile.
  typeInto(box, QStringLiteral("#14 Provider14"));
  EXPECT_EQ(core.store.appPageDestination, 0);
  EXPECT_EQ(pages.apps[0]->text(), QStringLiteral("zero"));
  for (const char* section : {"[AP0]", "[AP1]", "[AP16]"}) {
    EXPECT_EQ(iniText().find(section), std::string::npos) << section << " written while typing";
  }
  // Enter finishes the typing: one switch, then OK saves the shown section.
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(core.store.appPageDestination, 14);
  EXPECT_EQ(core.files().loadApplications(0)[0], "zero");
  EXPECT_EQ(core.files().loadApplications(14)[0], "fourteen");

  openOn(2);
  EXPECT_EQ(pages.apps[0]->text(), QStringLiteral("fourteen"));
  chooseFrom(box, 4);
  EXPECT_EQ(core.store.appPageDestination, 4);
  EXPECT_EQ(pages.apps[0]->text(), QStringLiteral("four"));
  for (int section : {1, 2, 3, 10, 11, 12, 13, 16}) {
    EXPECT_EQ(iniText().find("[AP" + std::to_string(section) + "]"), std::string::npos) << section;
  }
}

// The close box closes as OK does: the engine saves, the connect button's
// hint arrives; an interval that is no number keeps the dialog open with
// its box, a file that cannot be written closes it after its box.
TEST_F(DialogTest, TheCloseBoxClosesAsOkDoesAndKeepsOpenOnlyForABadInterval) {
  QStringList entries;
  for (int i = 0; i < 16; ++i) entries << QStringLiteral("#%1 プロバイダ").arg(i);
  dialog.setDestinationList(entries);
  QSignalSpy hint(&dialog, &SettingsDialog::connectHintChanged);
  dialog.openDialog();
  find<DestinationBox>("ComboBox1")->setCurrentIndex(2);
  dialog.close();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(core.calls, (std::vector<std::string>{"Config", "ConfigClosed"}));
  ASSERT_FALSE(hint.isEmpty());
  EXPECT_EQ(hint.last().at(0).toString(), QStringLiteral("#2 プロバイダ"));

  dialog.openDialog();
  find<QLineEdit>("Edit4")->setText(QStringLiteral("abc"));
  dialog.close();
  EXPECT_TRUE(dialog.isVisible());
  QMessageBox* box = messageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->text(), QStringLiteral("'abc' は整数ではありません"));
  box->done(0);

  find<QLineEdit>("Edit4")->setText(QStringLiteral("10"));
  std::filesystem::remove(core.files().iniPath());
  std::filesystem::create_directory(core.files().iniPath());  // cannot be written
  dialog.close();
  EXPECT_FALSE(dialog.isVisible());
  box = messageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_NE(box->text().indexOf(QStringLiteral("設定を保存できませんでした")), -1) << box->text().toStdString();
}

// The keyring box beside the password: shown only where there is a store;
// ticked, the close puts the password there and writes PASS empty; refused
// by the store, the box unticks and the file keeps the password.
TEST_F(DialogTest, TheKeyringBoxSendsThePasswordToTheStoreInsteadOfTheFile) {
  auto* box = find<QCheckBox>("CheckBoxKeyring");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->text(), QStringLiteral("キーリングに保存"));
  EXPECT_TRUE(box->isHidden()) << "no store, no box";
  EXPECT_GE(box->x(), find<QLineEdit>("Edit14")->geometry().right()) << "beside the password field";
  EXPECT_LE(box->geometry().right(), box->parentWidget()->width()) << "not cut by the page";

  test::FakeSecretStore secrets;
  secrets.answerAtOnce = true;
  PasswordKeeper keeper(secrets);
  dialog.setPasswordKeeper(&keeper);
  EXPECT_FALSE(box->isHidden());
  for (bool reachable : {true, false}) {
    SCOPED_TRACE(reachable ? "store reachable" : "store refuses");
    secrets.reachable = reachable;
    secrets.held.reset();
    dialog.openDialog();
    find<QLineEdit>("Edit14")->setText(QStringLiteral("himitsu"));
    box->setChecked(true);
    ASSERT_TRUE(dialog.closeDialog());
    SettingsStore reread;
    core.files().loadAll(reread);
    if (reachable) {
      EXPECT_EQ(secrets.held, "himitsu");
      EXPECT_EQ(reread.tarvik.PASS, "");
      EXPECT_TRUE(reread.secret.KEYRING);
      EXPECT_NE(iniText().find("PASS=\r\n"), std::string::npos) << iniText();
      EXPECT_EQ(messageBox(), nullptr);
    } else {
      EXPECT_EQ(secrets.held, std::nullopt);
      EXPECT_EQ(reread.tarvik.PASS, "himitsu");
      EXPECT_FALSE(reread.secret.KEYRING);
      EXPECT_FALSE(box->isChecked());
      QMessageBox* error = messageBox();
      ASSERT_NE(error, nullptr);
      EXPECT_EQ(error->text().toStdString(), std::string(kKeyringNotSaved) + " (no bus)");
      error->done(0);
    }
    // Unticked again, the password goes back into the file and out of the store.
    dialog.openDialog();
    box->setChecked(false);
    ASSERT_TRUE(dialog.closeDialog());
    EXPECT_EQ(secrets.held, std::nullopt);
    SettingsStore back;
    core.files().loadAll(back);
    EXPECT_EQ(back.tarvik.PASS, "himitsu");
  }
}

// The password kept in the keyring, at the next start: read, the field
// shows it (masked) and an OK that leaves it alone asks the keyring
// nothing; not read (the keyring locked and its unlock cancelled), the
// field says so, the keyring box stays as it is, and OK writes the
// password nowhere, until a new one is typed.
TEST_F(DialogTest, APasswordInTheKeyringIsShownAndNeverOverwrittenUnread) {
  for (bool locked : {false, true}) {
    SCOPED_TRACE(locked ? "keyring locked" : "keyring open");
    std::filesystem::remove(core.files().iniPath());
    {
      std::ofstream ini(core.files().iniPath(), std::ios::binary);
      ini << "[Tarvik]\r\nSOHOIP=10.0.0.1\r\nPASS=\r\n[SECRET]\r\nKEYRING=1\r\n";
    }
    test::FakeSecretStore secrets;
    secrets.answerAtOnce = true;
    secrets.held = "himitsu";
    secrets.locked = locked;
    PasswordKeeper keeper(secrets);
    dialog.setPasswordKeeper(&keeper);
    core.loadSettings();
    dialog.loadFromStore();
    // The start-up fetch, as the program runs it.
    SettingsStore fetched = core.settings();
    keeper.fetch(fetched, [](const std::string&) {});
    SettingsStore now = core.settings();
    takeFetchedPassword(fetched, now);
    core.applySettings(now);
    dialog.showPassword();

    auto* field = find<QLineEdit>("Edit14");
    auto* box = find<QCheckBox>("CheckBoxKeyring");
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(box->isEnabled(), !locked);
    EXPECT_EQ(field->text(), locked ? QString() : QStringLiteral("himitsu"));
    EXPECT_EQ(field->placeholderText().isEmpty(), !locked) << "an unread password is shown as there";

    dialog.openDialog();
    ASSERT_TRUE(dialog.closeDialog());
    EXPECT_NE(iniText().find("PASS=\r\n"), std::string::npos) << iniText();
    EXPECT_NE(iniText().find("[SECRET]\r\nKEYRING=1\r\n"), std::string::npos) << iniText();
    EXPECT_EQ(secrets.held, "himitsu");
    EXPECT_EQ(secrets.calls, std::vector<std::string>{"lookup"});
    EXPECT_EQ(messageBox(), nullptr);

    // Typed, the password is known again: the box can be changed, and OK
    // saves it (into the file, while the locked keyring refuses it).
    dialog.openDialog();
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("neu"));
    EXPECT_TRUE(box->isEnabled());
    EXPECT_TRUE(field->placeholderText().isEmpty());
    ASSERT_TRUE(dialog.closeDialog());
    SettingsStore reread;
    core.files().loadAll(reread);
    EXPECT_EQ(secrets.held, locked ? "himitsu" : "neu");
    EXPECT_EQ(reread.tarvik.PASS, locked ? "neu" : "");
    EXPECT_EQ(reread.secret.KEYRING, !locked);
    QMessageBox* refused = messageBox();
    EXPECT_EQ(refused != nullptr, locked) << "the refusal is told";
    if (refused) refused->done(0);
  }
}

}  // namespace
}  // namespace tarvik
