#pragma once
// The program's message boxes. None of them blocks the caller: each opens
// application-modal and answers through its callback, so socket events and
// timer ticks go on while it is open.

#include <QString>
#include <functional>

class QMessageBox;
class QWidget;

namespace tarvik {

// Title "確認", "回線を切断してもよろしいですか?", buttons OK and ｷｬﾝｾﾙ.
// answer(true) for OK; the close box counts as ｷｬﾝｾﾙ.
QMessageBox* askDisconnectOnExit(QWidget* parent, std::function<void(bool ok)> answer);

// An error the user must see, titled "Tarvik".
QMessageBox* showErrorBox(QWidget* parent, const QString& text);

// A warning with an OK button, titled "Tarvik".
QMessageBox* showWarningBox(QWidget* parent, const QString& text);

// A piece of information with an OK button, titled "Tarvik".
QMessageBox* showInformationBox(QWidget* parent, const QString& text);

inline QString disconnectQuestionText() { return QStringLiteral("回線を切断してもよろしいですか?"); }

}  // namespace tarvik
