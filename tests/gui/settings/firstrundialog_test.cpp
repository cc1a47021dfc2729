#include "dialogs/firstrundialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace tarvik {
namespace {

TEST(FirstRunDialog, TextsFieldAndButton) {
  FirstRunDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tarvik - セットアップ"));
  EXPECT_GE(dialog.width(), 404);
  EXPECT_EQ(dialog.height(), 188);
  QStringList texts;
  for (QLabel* l : dialog.findChildren<QLabel*>()) {
    texts << l->text();
    EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width())
        << "no line is cut: " << l->text().toStdString();
  }
  EXPECT_EQ(texts, QStringList({"Tarvikを使用するにあたってMN128 SOHOとのEither接続が必要です",
                                "MN128 SOHO の アドレスを入力して下さい",
                                "(デフォルトで使用している場合はこのままで結構です)",
                                "起動して正しく動作しない場合はアドレスが間違っている可能性があります"}));
  auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"));
  EXPECT_EQ(edit->text(), QStringLiteral("192.168.0.1"));
  EXPECT_EQ(edit->width(), 136);
  EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->isDefault());
}

// ask() waits as the start-up load does; the answer is given from inside.
std::optional<QString> answer(std::function<void(FirstRunDialog*)> act) {
  QTimer::singleShot(0, [act] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* d = qobject_cast<FirstRunDialog*>(w); d && d->isVisible()) act(d);
    }
  });
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

}  // namespace
}  // namespace tarvik
