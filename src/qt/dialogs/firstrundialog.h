#pragma once
// TForm8, "Tarvik - セットアップ": asks for the router's address when the
// settings hold none. OK gives the field's text exactly as typed; the close
// box gives nothing.

#include <QDialog>
#include <optional>
#include <string>

class QLineEdit;

namespace tarvik {

class SettingsFiles;
struct SettingsStore;

class FirstRunDialog : public QDialog {
  Q_OBJECT
 public:
  explicit FirstRunDialog(QWidget* parent = nullptr);
  QString address() const;

  // Shows the dialog and waits for it, as the start-up load does.
  static std::optional<QString> ask(QWidget* parent = nullptr);
  // The start-up load's question: a confirmed address becomes [Tarvik]
  // SOHOIP at once, in the store and in Tarvik.ini, so that the next start
  // does not ask again. Returns the write error for the user; empty when
  // the file was written or nothing was confirmed.
  static std::string askAndKeep(SettingsStore& store, const SettingsFiles& files, QWidget* parent = nullptr);

 private:
  QLineEdit* edit_;
};

}  // namespace tarvik
