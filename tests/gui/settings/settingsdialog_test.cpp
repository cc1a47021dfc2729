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

TEST_F(DialogTest, EachPlayButtonPlaysItsOwnRowsFileAndAnEmptyRowNothing) {
  const std::pair<const char*, const char*> rows[] = {
      {"SpeedButton1", "Edit6"},          {"SpeedButton2", "Edit1"},  {"SpeedButton3", "Edit3"},
      {"SpeedButton5", "Edit15"},         {"SpeedButton7", "Edit16"}, {"SpeedButton4", "Edit2"},
      {"SpeedButton8", "Edit_RingSound"},
  };
  for (const auto& [button, edit] : rows) {
    find<QLineEdit>(edit)->setText(QStringLiteral("wav\\%1.wav").arg(QString::fromLatin1(edit)));
  }
  find<QLineEdit>("Edit16")->clear();
  for (const auto& [button, edit] : rows) find<QToolButton>(button)->click();
  EXPECT_EQ(played,
            (std::vector<std::string>{"wav\\Edit6.wav", "wav\\Edit1.wav", "wav\\Edit3.wav", "wav\\Edit15.wav",
                                      "wav\\Edit2.wav", "wav\\Edit_RingSound.wav"}));
}

TEST_F(DialogTest, TheApplicationPageFollowsItsDestinationSectionBySection) {
  core.files().saveApplications(3, {"ppp-up", "", "", "mail $IP", "", "", ""});
  QStringList entries;
  for (int i = 0; i < 16; ++i) entries << QStringLiteral("#%1 dest").arg(i);
  dialog.setDestinationList(entries);
  dialog.openDialog();
  auto* box = find<DestinationBox>("ComboBox3");
  const SettingsPages& pages = dialog.pages();
  pages.apps[0]->setText(QStringLiteral("browser"));
  pages.apps[6]->setText(QStringLiteral("clock"));

  chooseFrom(box, 3);
  EXPECT_EQ(core.store.appPageDestination, 3);
  EXPECT_EQ(core.files().loadApplications(0), (ApplicationList{"browser", "", "", "", "", "", "clock"}));
  EXPECT_EQ(pages.apps[0]->text(), QStringLiteral("ppp-up"));
  EXPECT_EQ(pages.apps[3]->text(), QStringLiteral("mail $IP"));
  EXPECT_EQ(pages.apps[6]->text(), QString());

  typeInto(box, QStringLiteral("no such destination"));
  QTest::keyClick(box, Qt::Key_Tab);  // the typing ends when the focus leaves
  EXPECT_EQ(core.store.appPageDestination, 16);
  pages.apps[1]->setText(QStringLiteral("unmatched"));
  ASSERT_TRUE(dialog.closeDialog());
  EXPECT_NE(iniText().find("[AP16]"), std::string::npos);
  EXPECT_EQ(core.files().loadApplications(16)[1], "unmatched");
  EXPECT_EQ(core.files().loadApplications(3)[0], "ppp-up") << "one destination's lists never reach another's";
}

TEST_F(DialogTest, OpeningAgainWhileOpenOnlyBringsItToTheFront) {
  dialog.openDialog();
  dialog.pages().apps[0]->setText(QStringLiteral("typed"));
  core.files().saveApplications(0, {"from file", "", "", "", "", "", ""});
  dialog.openDialog();
  EXPECT_EQ(dialog.pages().apps[0]->text(), QStringLiteral("typed"));
  EXPECT_EQ(std::count(core.calls.begin(), core.calls.end(), "Config"), 2);
  ASSERT_TRUE(dialog.closeDialog());
  dialog.openDialog();
  EXPECT_EQ(dialog.pages().apps[0]->text(), QStringLiteral("typed")) << "the close saved it";
}

TEST_F(DialogTest, AClickedPathFieldIsTheBrowseTargetForBothBrowseButtons) {
  dialog.show();
  EXPECT_EQ(dialog.browseTarget(), find<QLineEdit>("Edit2")) << "the loaded warning sound";
  nextFile = QStringLiteral("/home/user/鳴る.wav");

  dialog.tabs()->setCurrentIndex(1);
  QTest::mouseClick(find<QLineEdit>("Edit6"), Qt::LeftButton);
  EXPECT_EQ(dialog.browseTarget(), find<QLineEdit>("Edit6"));
  QTest::mouseClick(find<QLineEdit>("Edit_RingSound"), Qt::LeftButton);
  QTest::mouseClick(find<QLineEdit>("Edit_NameSound"), Qt::LeftButton);
  EXPECT_EQ(dialog.browseTarget(), find<QLineEdit>("Edit6")) << "ring and folder fields are never targets";

  dialog.tabs()->setCurrentIndex(2);
  dialog.pages().appBrowse->click();  // the target lies on the other page
  EXPECT_EQ(find<QLineEdit>("Edit6")->text(), QStringLiteral("/home/user/鳴る.wav"));
  EXPECT_EQ(core.store.sound.s1, toSjis("/home/user/鳴る.wav"));

  QTest::mouseClick(dialog.pages().apps[4], Qt::LeftButton);
  nextFile = QStringLiteral("/usr/bin/xclock");
  dialog.pages().appBrowse->click();
  EXPECT_EQ(dialog.pages().apps[4]->text(), QStringLiteral("/usr/bin/xclock"));

  nextFile.reset();  // cancelled
  dialog.pages().soundBrowse->click();
  EXPECT_EQ(dialog.pages().apps[4]->text(), QStringLiteral("/usr/bin/xclock")) << "a cancel keeps the path";
}

TEST_F(DialogTest, WithoutATargetTheFileDialogShowsAndNothingChanges) {
  core.store.sound.s7.clear();
  SettingsDialog fresh(core, nullptr);
  fresh.setFilePicker([this](QWidget*) {
    ++pickerCalls;
    return std::optional<QString>(QStringLiteral("/tmp/x.wav"));
  });
  EXPECT_EQ(fresh.browseTarget(), nullptr);
  const SettingsStore before = core.store;
  fresh.pages().soundBrowse->click();
  EXPECT_EQ(pickerCalls, 1);
  EXPECT_EQ(core.store.sound.s1, before.sound.s1);
  EXPECT_EQ(core.store.sound.s7, before.sound.s7);
}

TEST_F(DialogTest, AChangeOfTheWarningSoundMakesItTheTargetAlsoWhenLoaded) {
  core.store.sound.s7 = toSjis("wav\\警告.wav");
  dialog.loadFromStore();
  EXPECT_EQ(dialog.browseTarget(), find<QLineEdit>("Edit2"));
  QTest::mouseClick(find<QLineEdit>("Edit3"), Qt::LeftButton);
  EXPECT_EQ(dialog.browseTarget(), find<QLineEdit>("Edit3"));
  find<QLineEdit>("Edit2")->setText(QStringLiteral("x.wav"));
  EXPECT_EQ(dialog.browseTarget(), find<QLineEdit>("Edit2"));
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

TEST_F(DialogTest, EveryCloseSavesAndTheConnectHintFollowsTheDefaultEntry) {
  QStringList entries;
  for (int i = 0; i < 16; ++i) entries << QStringLiteral("#%1 プロバイダ").arg(i);
  dialog.setDestinationList(entries);
  QSignalSpy hint(&dialog, &SettingsDialog::connectHintChanged);
  for (const char* how : {"OK", "close box"}) {
    core.calls.clear();
    dialog.openDialog();
    find<QLineEdit>("Edit5")->setText(QStringLiteral("192.168.1.%1").arg(std::string(how) == "OK" ? 1 : 2));
    find<DestinationBox>("ComboBox1")->setCurrentIndex(2);
    if (std::string(how) == "OK") {
      find<QPushButton>("OK")->click();
    } else {
      dialog.close();
    }
    EXPECT_FALSE(dialog.isVisible()) << how;
    EXPECT_EQ(core.calls, (std::vector<std::string>{"Config", "ConfigClosed"})) << how;
    const std::string ini = iniText();
    EXPECT_NE(ini.find(std::string("SOHOIP=192.168.1.") + (std::string(how) == "OK" ? "1" : "2")),
              std::string::npos)
        << ini;
    EXPECT_NE(ini.find("DEFAULT=2"), std::string::npos);
    ASSERT_FALSE(hint.isEmpty());
    EXPECT_EQ(hint.last().at(0).toString(), QStringLiteral("#2 プロバイダ"));
  }
}

TEST_F(DialogTest, TheIntervalIsKeptFrom2To58AndOtherwiseBecomes5) {
  const std::pair<const char*, const char*> cases[] = {{"1", "5"},   {"2", "2"},  {"30", "30"},
                                                       {"58", "58"}, {"59", "5"}, {"-3", "5"}};
  for (const auto& [typed, saved] : cases) {
    dialog.openDialog();
    find<QLineEdit>("Edit4")->setText(QString::fromLatin1(typed));
    ASSERT_TRUE(dialog.closeDialog()) << typed;
    EXPECT_EQ(core.store.option.TIME, saved) << typed;
    EXPECT_EQ(find<QLineEdit>("Edit4")->text().toStdString(), saved) << "the field shows what was saved";
    EXPECT_NE(iniText().find(std::string("TIME=") + saved), std::string::npos);
  }
}

TEST_F(DialogTest, AnIntervalThatIsNoNumberKeepsTheDialogOpenWithItsError) {
  int round = 0;
  for (const char* typed : {"abc", ""}) {
    const std::string off = "6:3" + std::to_string(round++);
    core.calls.clear();
    dialog.openDialog();
    find<QLineEdit>("Edit4")->setText(QString::fromLatin1(typed));
    find<QLineEdit>("Edit5")->setText(QStringLiteral("10.0.0.1"));
    find<QLineEdit>("Edit13")->setText(QString::fromStdString(off));
    dialog.close();
    EXPECT_TRUE(dialog.isVisible()) << typed;
    QMessageBox* box = messageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("'%1' は整数ではありません").arg(QString::fromLatin1(typed)));
    EXPECT_EQ(core.calls, std::vector<std::string>{"Config"}) << "the script stays held back";
    const std::string ini = iniText();
    EXPECT_NE(ini.find("SOHOIP=10.0.0.1"), std::string::npos) << "the router keys are written";
    EXPECT_EQ(ini.find("OFF=" + off), std::string::npos) << "the rest waits";
    box->done(0);

    find<QLineEdit>("Edit4")->setText(QStringLiteral("10"));
    find<QPushButton>("OK")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_NE(iniText().find("OFF=" + off), std::string::npos);
    EXPECT_EQ(core.last(), "ConfigClosed");
  }
}

// A settings file that cannot be written (a read-only settings folder) is
// told, with the file's name, and the dialog closes all the same: it could
// not be closed at all otherwise.
TEST_F(DialogTest, AWriteThatFailsIsToldAndTheDialogCloses) {
  dialog.openDialog();
  // A directory where the file should be: it cannot be written.
  std::filesystem::create_directory(core.files().iniPath());
  find<QPushButton>("OK")->click();
  EXPECT_FALSE(dialog.isVisible());
  QMessageBox* box = messageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_NE(box->text().indexOf(QString::fromStdString(core.files().iniPath().string())), -1)
      << "the message names the file: " << box->text().toStdString();
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
