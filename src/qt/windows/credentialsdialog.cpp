#include "qt/windows/credentialsdialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "qt/windows/fonts.h"

namespace tarvik {

CredentialsDialog::CredentialsDialog(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("TForm7"));
  setWindowTitle(QStringLiteral("Tarvik"));
  setFont(proportionalFontPt(9));
  setFixedSize(250, 112);

  auto* userLabel = new QLabel(QStringLiteral("ﾕｰｻﾞｰ名 "), this);
  userLabel->setObjectName(QStringLiteral("Label1"));
  userLabel->setGeometry(14, 16, 70, 20);
  userId_ = new QLineEdit(this);
  userId_->setObjectName(QStringLiteral("Edit1"));
  userId_->setGeometry(86, 14, 150, 22);

  auto* passLabel = new QLabel(QStringLiteral("ﾊﾟｽﾜｰﾄﾞ"), this);
  passLabel->setObjectName(QStringLiteral("Label2"));
  passLabel->setGeometry(14, 46, 70, 20);
  password_ = new QLineEdit(this);
  password_->setObjectName(QStringLiteral("Edit2"));
  password_->setGeometry(86, 44, 150, 22);
  password_->setEchoMode(QLineEdit::Password);
  password_->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // '*'

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("Button1"));
  ok->setGeometry(44, 78, 75, 25);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(QStringLiteral("Button2"));
  cancel->setGeometry(131, 78, 75, 25);

  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  // Escape and the close box reject, like the cancel button.
  connect(this, &QDialog::accepted, this, [this] { emit entered(userId_->text(), password_->text()); });
  connect(this, &QDialog::rejected, this, [this] { emit cancelled(); });
}

void CredentialsDialog::ask(const QString& lastUserId) {
  if (isVisible()) {
    raise();
    activateWindow();
    return;
  }
  userId_->clear();
  password_->clear();
  userId_->setText(lastUserId);
  setWindowModality(Qt::ApplicationModal);
  show();
  raise();
  activateWindow();
  userId_->setFocus();
}

}  // namespace tarvik
