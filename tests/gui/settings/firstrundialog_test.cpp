#include "qt/dialogs/firstrundialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <iterator>

#include "engine/settings/settingsfiles.h"
#include "support/layoutrules.h"
#include "engine/settings/settingsstore.h"

namespace tarvik {
namespace {

TEST(FirstRunDialog, TextsFieldAndButton) {
  FirstRunDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tarvik - セットアップ"));
  // No line cut, nothing outside the window or drawn over anything else.
  test::expectTidyLayout(&dialog);
  QStringList texts;
  for (QLabel* l : dialog.findChildren<QLabel*>()) texts << l->text();
  EXPECT_EQ(texts, QStringList({"Tarvikを使用するにあたってMN128 SOHOとのEither接続が必要です",
                                "MN128 SOHO の アドレスを入力して下さい",
                                "(デフォルトで使用している場合はこのままで結構です)",
                                "起動して正しく動作しない場合はアドレスが間違っている可能性があります"}));
  auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"));
  EXPECT_EQ(edit->text(), QStringLiteral("192.168.0.1"));
  EXPECT_GE(edit->contentsRect().width(), edit->fontMetrics().horizontalAdvance(QStringLiteral("255.255.255.255")))
      << "the longest address shows whole";
  EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->isDefault());
}

// ask() waits as the start-up load does; the answer is given from inside.
void answerLater(std::function<void(FirstRunDialog*)> act) {
  QTimer::singleShot(0, [act] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* d = qobject_cast<FirstRunDialog*>(w); d && d->isVisible()) act(d);
    }
  });
}

std::optional<QString> answer(std::function<void(FirstRunDialog*)> act) {
  answerLater(std::move(act));
  return FirstRunDialog::ask();
}

TEST(FirstRunDialog, OkGivesTheTextAsTypedAndTheCloseBoxNothing) {
  EXPECT_EQ(answer([](FirstRunDialog* d) { d->findChild<QPushButton*>()->click(); }),
            QStringLiteral("192.168.0.1"));
  EXPECT_EQ(answer([](FirstRunDialog* d) {
              d->findChild<QLineEdit*>()->setText(QStringLiteral(" router.local "));
              d->findChild<QPushButton*>()->click();
            }),
            QStringLiteral(" router.local "));
  EXPECT_EQ(answer([](FirstRunDialog* d) { d->close(); }), std::nullopt);
}

std::string fileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The confirmed address is in Tarvik.ini as soon as the dialog closes, so
// the next start finds it even when the settings dialog was never opened;
// what else the file holds stays.
TEST(FirstRunDialog, AConfirmedAddressIsWrittenAtOnce) {
  struct Case {
    const char* name;
    std::string before;
    std::function<void(FirstRunDialog*)> act;
    std::string after;
  };
  auto ok = [](FirstRunDialog* d) { d->findChild<QPushButton*>()->click(); };
  const Case cases[] = {
      {"no file, OK", "", ok, "[Tarvik]\r\nSOHOIP=192.168.0.1\r\n"},
      {"typed address", "[OPTION]\r\nTIME=10\r\n",
       [](FirstRunDialog* d) {
         d->findChild<QLineEdit*>()->setText(QStringLiteral("10.0.0.254"));
         d->findChild<QPushButton*>()->click();
       },
       "[OPTION]\r\nTIME=10\r\n[Tarvik]\r\nSOHOIP=10.0.0.254\r\n"},
      {"empty key kept in place", "[Tarvik]\r\nSOHOIP=\r\nPASS=abc\r\n", ok,
       "[Tarvik]\r\nSOHOIP=192.168.0.1\r\nPASS=abc\r\n"},
      {"close box", "[OPTION]\r\nTIME=10\r\n", [](FirstRunDialog* d) { d->close(); },
       "[OPTION]\r\nTIME=10\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    const std::filesystem::path configDir = dir.path().toStdString();
    if (!c.before.empty()) std::ofstream(configDir / "Tarvik.ini", std::ios::binary) << c.before;
    SettingsFiles files(configDir);
    SettingsStore store;
    files.loadAll(store);
    answerLater(c.act);
    EXPECT_EQ(FirstRunDialog::askAndKeep(store, files), "");
    EXPECT_EQ(fileText(files.iniPath()), c.after);
    SettingsStore reread;
    files.loadAll(reread);
    EXPECT_EQ(reread.tarvik.SOHOIP, store.tarvik.SOHOIP);
  }
}

}  // namespace
}  // namespace tarvik
