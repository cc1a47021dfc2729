#pragma once
// TForm7: the user ID and password for one call. It opens without blocking
// the caller; the answer comes back as exactly one of the two signals.

#include <QDialog>

class QLineEdit;

namespace tarvik {

class CredentialsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CredentialsDialog(QWidget* parent = nullptr);

  // Empties both fields, puts lastUserId into the ID field and shows the
  // dialog application-modal. While the dialog is open a second request
  // only brings it to the front: the one answer serves both.
  void ask(const QString& lastUserId);

 signals:
  void entered(const QString& userId, const QString& password);
  void cancelled();

 private:
  QLineEdit* userId_;
  QLineEdit* password_;
};

}  // namespace tarvik
