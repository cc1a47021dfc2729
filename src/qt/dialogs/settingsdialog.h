#pragma once
// TForm3, "Tarvik - 設定": the modeless dialog bound live to the settings
// store. What it does with its controls is the desktop's settings form
// (desktop/settingsform.h); this window creates the controls, turns their
// signals into the form's events, and adds the keyring beside the password.

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

#include "qt/dialogs/settingspages.h"
#include "engine/settings/settingsstore.h"

class QTabWidget;
class QPushButton;

namespace tarvik::desktop {
class SettingsForm;
}

namespace tarvik {

class EngineCommands;
class PasswordKeeper;

class SettingsDialog : public QDialog {
  Q_OBJECT
 public:
  // Returns the chosen file, or nothing when the user cancelled.
  using FilePicker = std::function<std::optional<QString>(QWidget* parent)>;
  // Plays a sound file named as the settings hold it (Shift-JIS).
  using SoundPlayer = std::function<void(const std::string& sjisPath)>;

  SettingsDialog(EngineCommands& core, SoundPlayer play, QWidget* parent = nullptr);
  ~SettingsDialog() override;

  void setFilePicker(FilePicker picker) { pickFile_ = std::move(picker); }
  // Where the password goes at each close besides Tarvik.ini. Without a
  // keeper (no secret store on this system) the keyring box is hidden.
  void setPasswordKeeper(PasswordKeeper* keeper);

  // Every control from the store (after the start-up load), with the
  // dependent states of "監視しない" and "SOHO-スクリプトを使用".
  void loadFromStore();
  // The password field from the store: the password once the keyring has
  // answered, or a mark that the keyring's password could not be read.
  void showPassword();
  // The sixteen destination entries (UTF-8); each box shows its index.
  void setDestinationList(const QStringList& entries);

  // The menu action: open, or bring to the front when already open.
  void openDialog();
  // The close (OK or the close box): true when saved and hidden.
  bool closeDialog();

  QLineEdit* browseTarget() const;
  const SettingsPages& pages() const { return pages_; }
  QTabWidget* tabs() const { return tabs_; }

 signals:
  // "監視しない" ticked or not: the main window's channel boxes follow.
  void monitoringOffChanged(bool off);
  // At close: the connect button's hint becomes the default entry's text.
  void connectHintChanged(const QString& text);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class FormView;

  void bindControls();
  void showPasswordState();
  void updateDefaultButton();

  EngineCommands& core_;
  SoundPlayer play_;
  FilePicker pickFile_;
  QTabWidget* tabs_;
  QPushButton* ok_;
  SettingsPages pages_;
  PasswordKeeper* keeper_ = nullptr;
  std::unique_ptr<FormView> view_;
  std::unique_ptr<desktop::SettingsForm> form_;
};

}  // namespace tarvik
