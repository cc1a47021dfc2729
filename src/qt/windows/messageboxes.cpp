#include "qt/windows/messageboxes.h"

#include <QMessageBox>
#include <QPushButton>

#include "qt/windows/fonts.h"

namespace tarvik {
namespace {

QMessageBox* openBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
  auto* box = new QMessageBox(icon, title, text, QMessageBox::NoButton, parent);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setFont(proportionalFontPt(9));
  box->setWindowModality(Qt::ApplicationModal);
  return box;
}

QMessageBox* showWithOk(QWidget* parent, QMessageBox::Icon icon, const QString& text, const char* name) {
  QMessageBox* box = openBox(parent, icon, QStringLiteral("Tarvik"), text);
  box->setObjectName(QString::fromLatin1(name));
  box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box->open();
  return box;
}

}  // namespace

QMessageBox* askDisconnectOnExit(QWidget* parent, std::function<void(bool ok)> answer) {
  QMessageBox* box = openBox(parent, QMessageBox::Question, QStringLiteral("確認"), disconnectQuestionText());
  box->setObjectName(QStringLiteral("DisconnectQuestion"));
  QPushButton* ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  QPushButton* cancel = box->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QMessageBox::RejectRole);
  box->setDefaultButton(ok);
  box->setEscapeButton(cancel);
  QObject::connect(box, &QMessageBox::finished, box,
                   [box, ok, answer = std::move(answer)](int) { answer(box->clickedButton() == ok); });
  box->open();
  return box;
}

QMessageBox* showErrorBox(QWidget* parent, const QString& text) {
  return showWithOk(parent, QMessageBox::Critical, text, "ErrorBox");
}

QMessageBox* showWarningBox(QWidget* parent, const QString& text) {
  return showWithOk(parent, QMessageBox::Warning, text, "WarningBox");
}

QMessageBox* showInformationBox(QWidget* parent, const QString& text) {
  return showWithOk(parent, QMessageBox::Information, text, "InformationBox");
}

}  // namespace tarvik
