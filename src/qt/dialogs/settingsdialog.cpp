#include "qt/dialogs/settingsdialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QPointer>
#include <memory>

#include "desktop/passwordplace.h"
#include "desktop/settingsform.h"
#include "desktop/settingsformtable.h"
#include "engine/base/sjis.h"
#include "engine/core/enginecommands.h"
#include "engine/settings/passwordkeeper.h"
#include "qt/dialogs/destinationbox.h"
#include "qt/windows/fonts.h"
#include "qt/windows/messageboxes.h"

namespace tarvik {
namespace {

using desktop::BrowseRole;
using desktop::CloseOutcome;
using desktop::FormAction;
using desktop::FormButton;
using desktop::FormField;

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::optional<QString> platformFilePicker(QWidget* parent) {
  const QString file = QFileDialog::getOpenFileName(parent);
  if (file.isEmpty()) return std::nullopt;
  return file;
}

}  // namespace

// The form's controls are this dialog's widgets, found by their object names.
class SettingsDialog::FormView final : public desktop::SettingsFormView {
 public:
  explicit FormView(SettingsDialog& dialog) : d_(dialog) {}

  QWidget* widget(std::string_view control) const { return d_.findChild<QWidget*>(qs(control)); }
  template <typename T>
  T* as(std::string_view control) const {
    return qobject_cast<T*>(widget(control));
  }

  std::string text(std::string_view control) const override {
    QWidget* w = widget(control);
    if (auto* box = qobject_cast<QComboBox*>(w)) return box->currentText().toStdString();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text().toStdString();
    if (auto* spin = qobject_cast<QSpinBox*>(w)) return QString::number(spin->value()).toStdString();
    if (auto* area = qobject_cast<QPlainTextEdit*>(w)) return area->toPlainText().toStdString();
    return {};
  }
  void setText(std::string_view control, const std::string& text) override {
    QWidget* w = widget(control);
    const QString t = QString::fromStdString(text);
    if (auto* box = qobject_cast<QComboBox*>(w)) {
      box->setEditText(t);
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      edit->setText(t);
    } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
      spin->setValue(t.toInt());
    } else if (auto* area = qobject_cast<QPlainTextEdit*>(w)) {
      area->setPlainText(t);
    }
  }
  bool checked(std::string_view control) const override {
    auto* box = as<QCheckBox>(control);
    return box && box->isChecked();
  }
  void setChecked(std::string_view control, bool on) override {
    if (auto* box = as<QCheckBox>(control)) box->setChecked(on);
  }
  void setEnabled(std::string_view control, bool on) override {
    if (QWidget* w = widget(control)) w->setEnabled(on);
  }
  void setEntries(std::string_view control, const std::vector<std::string>& entries, int shown) override {
    QStringList list;
    for (const std::string& entry : entries) list << QString::fromStdString(entry);
    if (auto* box = as<DestinationBox>(control)) box->setEntries(list, shown);
  }
  void showEntry(std::string_view control, int index) override {
    if (auto* box = as<DestinationBox>(control)) box->showIndex(index);
  }
  void setItems(std::string_view control, const std::vector<std::string>& items) override {
    auto* list = as<QListWidget>(control);
    list->clear();
    for (const std::string& item : items) list->addItem(QString::fromStdString(item));
  }
  void addItem(std::string_view control, const std::string& item) override {
    as<QListWidget>(control)->addItem(QString::fromStdString(item));
  }
  void removeItem(std::string_view control, int row) override { delete as<QListWidget>(control)->takeItem(row); }
  int selectedItem(std::string_view control) const override {
    auto* list = as<QListWidget>(control);
    const int row = list->currentRow();
    return row < 0 || !list->currentItem()->isSelected() ? -1 : row;
  }
  bool dialogShown() const override { return d_.isVisible(); }
  void showDialog() override {
    if (!d_.isVisible()) d_.show();
    d_.raise();
    d_.activateWindow();
  }
  void hideDialog() override { d_.hide(); }
  void showMessage(desktop::MessageKind kind, const std::string& text) override {
    if (kind == desktop::MessageKind::Warning) {
      showWarningBox(&d_, QString::fromStdString(text));
    } else {
      showErrorBox(&d_, QString::fromStdString(text));
    }
  }
  std::optional<std::string> pickFile() override {
    const std::optional<QString> file = d_.pickFile_(&d_);
    if (!file) return std::nullopt;
    return file->toStdString();
  }
  void play(const std::string& sjisSetting) override {
    if (d_.play_) d_.play_(sjisSetting);
  }
  void monitoringOffChanged(bool off) override { emit d_.monitoringOffChanged(off); }
  // The main window takes "常に手前に表示" at the next start.
  void stayOnTopChanged(bool) override {}
  void connectHintChanged(const std::string& text) override {
    emit d_.connectHintChanged(QString::fromStdString(text));
  }

 private:
  SettingsDialog& d_;
};

SettingsDialog::SettingsDialog(EngineCommands& core, SoundPlayer play, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      core_(core),
      play_(std::move(play)),
      pickFile_(platformFilePicker) {
  setObjectName(QStringLiteral("TForm3"));
  setWindowTitle(QStringLiteral("Tarvik - 設定"));
  setFont(proportionalFontPt(9));
  setModal(false);
  // Wide enough for the eight tabs in one row.
  setFixedSize(458, 333);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("PageControl1"));
  tabs_->setGeometry(5, 8, 452, 289);
  // All the tabs in one row, as narrow as their captions allow, with room
  // to spare for the rounding of text widths on a scaled screen.
  tabs_->setUsesScrollButtons(false);
  tabs_->tabBar()->setExpanding(false);
  tabs_->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 2px; }"));
  pages_ = buildSettingsPages(tabs_);
  setPasswordKeeper(nullptr);

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("OK"));
  ok_->setGeometry(376, 302, 75, 25);

  // The first opening shows the sound page; later ones the page last shown.
  tabs_->setCurrentIndex(SettingsPages::Sound);
  view_ = std::make_unique<FormView>(*this);
  form_ = std::make_unique<desktop::SettingsForm>(core_, *view_);
  bindControls();
  updateDefaultButton();
  loadFromStore();
}

SettingsDialog::~SettingsDialog() = default;

QLineEdit* SettingsDialog::browseTarget() const {
  const std::string_view target = form_->browseTarget();
  return target.empty() ? nullptr : view_->as<QLineEdit>(target);
}

// Each control of the form's table tells the form its changes; the form
// ignores those it made itself.
void SettingsDialog::bindControls() {
  desktop::SettingsForm* form = form_.get();
  for (const FormField& field : desktop::settingsFormFields()) {
    QWidget* w = view_->widget(field.control);
    const std::string name(field.control);
    if (auto* box = qobject_cast<DestinationBox*>(w)) {
      connect(box, &QComboBox::editTextChanged, this,
              [form, name](const QString& text) { form->edited(name, text.toStdString()); });
      // A chosen entry, or typing finished (Enter, or the focus left the box).
      connect(box, &DestinationBox::destinationChosen, this,
              [form, name, box] { form->chosen(name, box->currentText().toStdString()); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      connect(edit, &QLineEdit::textChanged, this,
              [form, name](const QString& text) { form->edited(name, text.toStdString()); });
    } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
      connect(spin, &QSpinBox::valueChanged, this,
              [form, name](int value) { form->edited(name, std::to_string(value)); });
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
      connect(check, &QCheckBox::toggled, this, [form, name](bool on) { form->toggled(name, on); });
    } else if (auto* area = qobject_cast<QPlainTextEdit*>(w)) {
      connect(area, &QPlainTextEdit::textChanged, this,
              [form, name, area] { form->edited(name, area->toPlainText().toStdString()); });
    }
    if (w && field.browse != BrowseRole::None) w->installEventFilter(this);
  }
  for (const FormButton& button : desktop::settingsFormButtons()) {
    auto* b = view_->as<QAbstractButton>(button.control);
    if (!b) continue;
    if (button.action == FormAction::Ok) {
      connect(b, &QAbstractButton::clicked, this, &SettingsDialog::closeDialog);
    } else {
      connect(b, &QAbstractButton::clicked, this, [form, name = std::string(button.control)] { form->clicked(name); });
    }
  }
  connect(findChild<QLineEdit*>(QStringLiteral("Edit14")), &QLineEdit::textChanged, this,
          &SettingsDialog::showPasswordState);
  connect(tabs_, &QTabWidget::currentChanged, this, &SettingsDialog::updateDefaultButton);
}

void SettingsDialog::loadFromStore() {
  form_->load();
  showPasswordState();
}

void SettingsDialog::showPassword() {
  const SettingsStore& store = core_.settings();
  auto* field = findChild<QLineEdit*>(QStringLiteral("Edit14"));
  {
    // The password as it stands already: nothing to write back.
    const QSignalBlocker quiet(field);
    field->setText(QString::fromStdString(toUtf8(store.tarvik.PASS)));
  }
  showPasswordState();
}

void SettingsDialog::showPasswordState() {
  // A password kept in the keyring that could not be read is shown as
  // there but unknown; its place stays as it is until a new one is typed.
  const bool unread = passwordUnread(core_.settings());
  auto* field = findChild<QLineEdit*>(QStringLiteral("Edit14"));
  field->setPlaceholderText(unread ? qs(desktop::kPasswordUnreadCue) : QString());
  field->setToolTip(unread ? qs(desktop::kPasswordUnreadTip) : QString());
  findChild<QCheckBox*>(QStringLiteral("CheckBoxKeyring"))->setEnabled(!unread);
}

void SettingsDialog::setDestinationList(const QStringList& entries) {
  std::vector<std::string> list;
  for (const QString& entry : entries) list.push_back(entry.toStdString());
  form_->setDestinationList(list);
}

void SettingsDialog::setPasswordKeeper(PasswordKeeper* keeper) {
  keeper_ = keeper;
  findChild<QCheckBox*>(QStringLiteral("CheckBoxKeyring"))->setVisible(keeper_ != nullptr);
}

void SettingsDialog::openDialog() { form_->open(); }

bool SettingsDialog::closeDialog() {
  const CloseOutcome outcome = form_->close();
  if (outcome == CloseOutcome::KeptOpen) return false;
  if (outcome == CloseOutcome::ClosedUnsaved) return true;
  if (keeper_) {
    QPointer<SettingsDialog> self(this);
    desktop::keepSavedPassword(
        core_, *keeper_, [self] { return !self.isNull(); },
        [self](const std::string& problem) {
          // The store refused the password: the box shows where it went.
          self->findChild<QCheckBox*>(QStringLiteral("CheckBoxKeyring"))
              ->setChecked(self->core_.settings().secret.KEYRING);
          showErrorBox(self, QString::fromStdString(problem));
        });
  }
  return true;
}

void SettingsDialog::closeEvent(QCloseEvent* event) {
  if (!isVisible() || closeDialog()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void SettingsDialog::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // A focused push button has taken its own Enter before this point.
      if (tabs_->currentIndex() == SettingsPages::Names) {
        pages_.addName->click();
      } else {
        ok_->click();
      }
      event->accept();
      return;
    case Qt::Key_Escape:
      event->accept();  // no cancel: Escape does nothing
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    form_->pressed(watched->objectName().toStdString());
  }
  return QDialog::eventFilter(watched, event);
}

void SettingsDialog::updateDefaultButton() {
  const bool names = tabs_->currentIndex() == SettingsPages::Names;
  pages_.addName->setDefault(names);
  ok_->setDefault(!names);
}

}  // namespace tarvik
