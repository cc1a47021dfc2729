#include "settings/dialogs/firstrundialog.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "windows/fonts.h"

namespace tarvik {
namespace {

QLabel* centredLine(QWidget* parent, const QString& text, int y, int width) {
  auto* l = new QLabel(text, parent);
  l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  l->setGeometry(0, y, width, 18);
  return l;
}

}  // namespace

FirstRunDialog::FirstRunDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("TForm8"));
  setWindowTitle(QStringLiteral("Tarvik - セットアップ"));
  setFont(proportionalFontPt(9));
  setFixedSize(404, 188);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  panel->setGeometry(9, 8, 385, 89);
  centredLine(panel, QStringLiteral("Tarvikを使用するにあたってMN128 SOHOとのEither接続が必要です"), 8, 385);
  centredLine(panel, QStringLiteral("MN128 SOHO の アドレスを入力して下さい"), 30, 385);
  edit_ = new QLineEdit(QStringLiteral("192.168.0.1"), panel);
  edit_->setObjectName(QStringLiteral("Edit1"));
  edit_->setGeometry((385 - 136) / 2, 56, 136, 22);

  centredLine(this, QStringLiteral("(デフォルトで使用している場合はこのままで結構です)"), 104, 404);
  centredLine(this, QStringLiteral("起動して正しく動作しない場合はアドレスが間違っている可能性があります"), 124, 404);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("Button1"));
  ok->setGeometry((404 - 75) / 2, 153, 75, 25);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QString FirstRunDialog::address() const { return edit_->text(); }

std::optional<QString> FirstRunDialog::ask(QWidget* parent) {
  FirstRunDialog dialog(parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.address();
}

}  // namespace tarvik
