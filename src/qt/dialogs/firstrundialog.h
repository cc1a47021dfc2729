#pragma once
// TForm8, "Tarvik - セットアップ": asks for the router's address when the
// settings hold none. OK gives the field's text exactly as typed; the close
// box gives nothing.

#include <QDialog>
#include <optional>

class QLineEdit;

namespace tarvik {

class FirstRunDialog : public QDialog {
  Q_OBJECT
 public:
  explicit FirstRunDialog(QWidget* parent = nullptr);
  QString address() const;

  // Shows the dialog and waits for it, as the start-up load does.
  static std::optional<QString> ask(QWidget* parent = nullptr);

 private:
  QLineEdit* edit_;
};

}  // namespace tarvik
