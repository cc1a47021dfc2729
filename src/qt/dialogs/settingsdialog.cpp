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
#include <memory>

#include "engine/base/sjis.h"
#include "qt/dialogs/destinationbox.h"
#include "engine/settings/namelistedit.h"
#include "engine/settings/passwordkeeper.h"
#include "engine/settings/settingsfiles.h"
#include "engine/core/coretexts.h"
#include "engine/core/enginecommands.h"
#include "qt/windows/fonts.h"
#include "qt/windows/messageboxes.h"

namespace tarvik {
namespace {

// Each text field and the setting it holds (Shift-JIS in the store).
struct TextBinding {
  const char* control;
  std::string& (*field)(SettingsStore&);
};

const TextBinding kTextBindings[] = {
    {"Edit5", [](SettingsStore& s) -> std::string& { return s.tarvik.SOHOIP; }},
    {"Edit14", [](SettingsStore& s) -> std::string& { return s.tarvik.PASS; }},
    {"Edit4", [](SettingsStore& s) -> std::string& { return s.option.TIME; }},
    {"Edit6", [](SettingsStore& s) -> std::string& { return s.sound.s1; }},
    {"Edit1", [](SettingsStore& s) -> std::string& { return s.sound.s2; }},
    {"Edit3", [](SettingsStore& s) -> std::string& { return s.sound.s3; }},
    {"Edit15", [](SettingsStore& s) -> std::string& { return s.sound.s5; }},
    {"Edit16", [](SettingsStore& s) -> std::string& { return s.sound.s6; }},
    {"Edit2", [](SettingsStore& s) -> std::string& { return s.sound.s7; }},
    {"Edit_RingSound", [](SettingsStore& s) -> std::string& { return s.sound.s8; }},
    {"Edit_NameSound", [](SettingsStore& s) -> std::string& { return s.sound.NAMESOUND; }},
    {"Edit12", [](SettingsStore& s) -> std::string& { return s.time.ON; }},
    {"Edit13", [](SettingsStore& s) -> std::string& { return s.time.OFF; }},
    {"Edit17", [](SettingsStore& s) -> std::string& { return s.time.WARNING; }},
    {"Edit21", [](SettingsStore& s) -> std::string& { return s.rd.count; }},
    {"Edit18", [](SettingsStore& s) -> std::string& { return s.option.LOG; }},
    {"EditFlatDest", [](SettingsStore& s) -> std::string& { return s.tariff.FLATDEST; }},
};

struct BoolBinding {
  const char* control;
  bool& (*field)(SettingsStore&);
};

const BoolBinding kBoolBindings[] = {
    {"CheckBox11", [](SettingsStore& s) -> bool& { return s.option.monitoringOff; }},
    {"CheckBox1", [](SettingsStore& s) -> bool& { return s.option.SIZE; }},
    {"CheckBox4", [](SettingsStore& s) -> bool& { return s.option.restoreOnConnect; }},
    {"CheckBox3", [](SettingsStore& s) -> bool& { return s.option.NEXT; }},
    {"CheckBox5", [](SettingsStore& s) -> bool& { return s.option.parkOnDisconnect; }},
    {"CheckBox10", [](SettingsStore& s) -> bool& { return s.option.showChannelTrayIcons; }},
    {"CheckBox15", [](SettingsStore& s) -> bool& { return s.option.disconnectOnExit; }},
    {"CheckBox2", [](SettingsStore& s) -> bool& { return s.option.ONSCREEN; }},
    {"CheckBox13", [](SettingsStore& s) -> bool& { return s.option.startupConnect; }},
    {"CheckBox18", [](SettingsStore& s) -> bool& { return s.option.runRouterScript; }},
    {"CheckBox6", [](SettingsStore& s) -> bool& { return s.option.showConnectionTime; }},
    {"CheckBox7", [](SettingsStore& s) -> bool& { return s.option.showIpAddress; }},
    {"CheckBox8", [](SettingsStore& s) -> bool& { return s.option.showConnectionMode; }},
    {"CheckBox9", [](SettingsStore& s) -> bool& { return s.option.showPhoneNumber; }},
    {"CheckBox14", [](SettingsStore& s) -> bool& { return s.option.showLineUsage; }},
    {"CheckBox19", [](SettingsStore& s) -> bool& { return s.option.showTransferRate; }},
    {"CheckBox12", [](SettingsStore& s) -> bool& { return s.option.setRouterClock; }},
    {"CheckBox16", [](SettingsStore& s) -> bool& { return s.option.askCredentialsEachCall; }},
    {"CheckBox17", [](SettingsStore& s) -> bool& { return s.option.saveConnectionLog; }},
    {"CheckBoxKeyring", [](SettingsStore& s) -> bool& { return s.secret.KEYRING; }},
    {"CheckNotifyIncoming", [](SettingsStore& s) -> bool& { return s.notify.INCOMING; }},
    {"CheckNotifyConnected", [](SettingsStore& s) -> bool& { return s.notify.CONNECTED; }},
    {"CheckNotifyDisconnected", [](SettingsStore& s) -> bool& { return s.notify.DISCONNECTED; }},
    {"CheckNotifyFailed", [](SettingsStore& s) -> bool& { return s.notify.FAILED; }},
    {"CheckNotifyRouter", [](SettingsStore& s) -> bool& { return s.notify.ROUTER; }},
};

// Each number box and the setting it holds; the box keeps the setting's range.
struct NumberBinding {
  const char* control;
  int& (*field)(SettingsStore&);
};

const NumberBinding kNumberBindings[] = {
    {"SpinTariffUnit", [](SettingsStore& s) -> int& { return s.tariff.UNIT; }},
    {"SpinTariffYen", [](SettingsStore& s) -> int& { return s.tariff.YEN; }},
    {"SpinFlatFrom", [](SettingsStore& s) -> int& { return s.tariff.FLATFROM; }},
    {"SpinFlatTo", [](SettingsStore& s) -> int& { return s.tariff.FLATTO; }},
};

struct DestinationBinding {
  DestinationBox* SettingsPages::*box;
  int& (*field)(SettingsStore&);
};

const DestinationBinding kDestinationBindings[] = {
    {&SettingsPages::defaultBox, [](SettingsStore& s) -> int& { return s.tarvik.DEFAULT; }},
    {&SettingsPages::autoBox, [](SettingsStore& s) -> int& { return s.tarvik.AUTO; }},
    {&SettingsPages::redialBox, [](SettingsStore& s) -> int& { return s.tarvik.REDIAL; }},
    {&SettingsPages::appBox, [](SettingsStore& s) -> int& { return s.appPageDestination; }},
};

// Path fields that a click makes the browse target (the ring-sound and the
// name-sound folder fields never are).
const char* const kBrowseTargets[] = {"Edit7", "Edit8", "Edit9", "Edit10", "Edit11", "Edit19", "Edit20",
                                      "Edit6", "Edit1", "Edit3", "Edit2",  "Edit15", "Edit16"};

// Play button and the path field of its own row.
const std::pair<const char*, const char*> kPlayButtons[] = {
    {"SpeedButton1", "Edit6"},          {"SpeedButton2", "Edit1"},  {"SpeedButton3", "Edit3"},
    {"SpeedButton5", "Edit15"},         {"SpeedButton7", "Edit16"}, {"SpeedButton4", "Edit2"},
    {"SpeedButton8", "Edit_RingSound"},
};

QString fromSjis(const std::string& sjis) { return QString::fromStdString(toUtf8(sjis)); }
std::string toStore(const QString& text) { return toSjis(text.toStdString()); }

// A settings file that cannot be read or written must not end the program:
// the failure becomes a message like the store's own ones.
template <typename Operation>
std::string guardedFileOperation(const SettingsFiles& files, Operation operation) {
  try {
    return operation();
  } catch (const std::exception& e) {
    return "設定ファイル " + files.iniPath().string() + " を読み書きできません: " + e.what();
  }
}

std::optional<QString> platformFilePicker(QWidget* parent) {
  const QString file = QFileDialog::getOpenFileName(parent);
  if (file.isEmpty()) return std::nullopt;
  return file;
}

// Script text <-> lines; a final line break does not make an extra line.
std::vector<std::string> scriptLines(const QString& text) {
  std::vector<std::string> lines;
  if (text.isEmpty()) return lines;
  QStringList parts = text.split(QLatin1Char('\n'));
  if (parts.size() > 1 && parts.last().isEmpty()) parts.removeLast();
  for (const QString& part : parts) lines.push_back(toStore(part));
  return lines;
}

}  // namespace

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
  bindControls();
  updateDefaultButton();
  loadFromStore();
}

void SettingsDialog::edit(const std::function<void(SettingsStore&)>& change) {
  SettingsStore edited = core_.settings();
  change(edited);
  core_.applySettings(edited);
}

void SettingsDialog::bindControls() {
  for (const TextBinding& b : kTextBindings) {
    auto* edit = findChild<QLineEdit*>(QString::fromLatin1(b.control));
    auto field = b.field;
    connect(edit, &QLineEdit::textChanged, this, [this, field](const QString& text) {
      this->edit([&](SettingsStore& store) { field(store) = toStore(text); });
    });
  }
  for (const BoolBinding& b : kBoolBindings) {
    auto* box = findChild<QCheckBox*>(QString::fromLatin1(b.control));
    auto field = b.field;
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
      edit([&](SettingsStore& store) { field(store) = on; });
      applyDependentStates();
    });
  }
  for (const NumberBinding& b : kNumberBindings) {
    auto field = b.field;
    connect(findChild<QSpinBox*>(QString::fromLatin1(b.control)), &QSpinBox::valueChanged, this,
            [this, field](int value) { edit([&](SettingsStore& store) { field(store) = value; }); });
  }
  for (const DestinationBinding& b : kDestinationBindings) {
    DestinationBox* box = pages_.*(b.box);
    if (box == pages_.appBox) {
      // The application page switches sections only for a chosen entry or
      // finished typing, never for each key: every switch writes the shown
      // command lines to one section and reads another.
      connect(box, &DestinationBox::destinationChosen, this, &SettingsDialog::changeAppDestination);
    } else {
      auto field = b.field;
      connect(box, &DestinationBox::destinationChanged, this,
              [this, field](int index) { edit([&](SettingsStore& store) { field(store) = index; }); });
    }
  }
  connect(findChild<QLineEdit*>(QStringLiteral("Edit14")), &QLineEdit::textChanged, this,
          &SettingsDialog::showPasswordState);
  connect(pages_.script, &QPlainTextEdit::textChanged, this, [this] {
    edit([&](SettingsStore& store) { store.script = scriptLines(pages_.script->toPlainText()); });
  });

  for (const char* name : kBrowseTargets)
    findChild<QLineEdit*>(QString::fromLatin1(name))->installEventFilter(this);
  // A change of the warning sound's path makes it the target, also when the
  // start-up load fills it.
  auto* warning = findChild<QLineEdit*>(QStringLiteral("Edit2"));
  connect(warning, &QLineEdit::textChanged, this, [this, warning] { browseTarget_ = warning; });
  connect(pages_.soundBrowse, &QPushButton::clicked, this, &SettingsDialog::browse);
  connect(pages_.appBrowse, &QPushButton::clicked, this, &SettingsDialog::browse);

  for (const auto& [buttonName, editName] : kPlayButtons) {
    auto* button = findChild<QToolButton*>(QString::fromLatin1(buttonName));
    auto* edit = findChild<QLineEdit*>(QString::fromLatin1(editName));
    connect(button, &QToolButton::clicked, this, [this, edit] {
      if (play_ && !edit->text().isEmpty()) play_(toStore(edit->text()));
    });
  }

  connect(pages_.addName, &QPushButton::clicked, this, &SettingsDialog::addName);
  connect(pages_.deleteName, &QPushButton::clicked, this, &SettingsDialog::deleteName);
  connect(ok_, &QPushButton::clicked, this, &SettingsDialog::closeDialog);
  connect(tabs_, &QTabWidget::currentChanged, this, &SettingsDialog::updateDefaultButton);
}

void SettingsDialog::loadFromStore() {
  // Filling a control writes the same value back through its binding, so
  // the store is copied first: a value that does not survive the round trip
  // through UTF-8 must stay as it was read.
  SettingsStore loaded = core_.settings();
  for (const TextBinding& b : kTextBindings) {
    findChild<QLineEdit*>(QString::fromLatin1(b.control))->setText(fromSjis(b.field(loaded)));
  }
  for (const BoolBinding& b : kBoolBindings) {
    findChild<QCheckBox*>(QString::fromLatin1(b.control))->setChecked(b.field(loaded));
  }
  for (const NumberBinding& b : kNumberBindings) {
    findChild<QSpinBox*>(QString::fromLatin1(b.control))->setValue(b.field(loaded));
  }
  QStringList script;
  for (const std::string& line : loaded.script) script << fromSjis(line);
  pages_.script->setPlainText(script.join(QLatin1Char('\n')));
  pages_.nameList->clear();
  for (const std::string& entry : loaded.nameList) pages_.nameList->addItem(fromSjis(entry));
  for (const DestinationBinding& b : kDestinationBindings) {
    (pages_.*(b.box))->showIndex(b.field(loaded));
  }
  core_.applySettings(loaded);
  applyDependentStates();
  showPassword();
}

void SettingsDialog::showPassword() {
  const SettingsStore& store = core_.settings();
  auto* field = findChild<QLineEdit*>(QStringLiteral("Edit14"));
  {
    // The password as it stands already: nothing to write back.
    const QSignalBlocker quiet(field);
    field->setText(fromSjis(store.tarvik.PASS));
  }
  showPasswordState();
}

void SettingsDialog::showPasswordState() {
  // A password kept in the keyring that could not be read is shown as
  // there but unknown; its place stays as it is until a new one is typed.
  const bool unread = passwordUnread(core_.settings());
  auto* field = findChild<QLineEdit*>(QStringLiteral("Edit14"));
  field->setPlaceholderText(unread ? QStringLiteral("キーリング未読") : QString());
  field->setToolTip(unread ? QStringLiteral("パスワードはキーリングにありますが、読めませんでした。"
                                            "入力したパスワードが新しいパスワードになります")
                           : QString());
  findChild<QCheckBox*>(QStringLiteral("CheckBoxKeyring"))->setEnabled(!unread);
}

void SettingsDialog::setDestinationList(const QStringList& entries) {
  SettingsStore store = core_.settings();
  for (const DestinationBinding& b : kDestinationBindings)
    (pages_.*(b.box))->setEntries(entries, b.field(store));
}

void SettingsDialog::applyDependentStates() {
  const SettingsStore& store = core_.settings();
  findChild<QLineEdit*>(QStringLiteral("Edit4"))->setEnabled(!store.option.monitoringOff);
  pages_.script->setEnabled(store.option.runRouterScript);
  emit monitoringOffChanged(store.option.monitoringOff);
}

void SettingsDialog::setPasswordKeeper(PasswordKeeper* keeper) {
  keeper_ = keeper;
  findChild<QCheckBox*>(QStringLiteral("CheckBoxKeyring"))->setVisible(keeper_ != nullptr);
}

void SettingsDialog::openDialog() {
  core_.Config();
  if (!isVisible()) {
    loadAppFields();
    show();
  }
  raise();
  activateWindow();
}

bool SettingsDialog::closeDialog() {
  emit connectHintChanged(pages_.defaultBox->currentText());
  const SettingsStore edited = core_.settings();
  const std::string error =
      guardedFileOperation(core_.files(), [&] { return core_.ConfigClosed(edited, appFields()); });
  // The interval check may have put "5" in place of the text.
  const std::string& time = core_.settings().option.TIME;
  auto* interval = findChild<QLineEdit*>(QStringLiteral("Edit4"));
  if (toStore(interval->text()) != time) interval->setText(fromSjis(time));
  if (!error.empty()) {
    // An interval that is not a number is mended in the dialog; a file
    // that cannot be written would refuse every close, so the dialog
    // closes after saying so.
    if (!settingTextToInt(time)) {
      showErrorBox(this, QString::fromStdString(error));
      return false;
    }
    showErrorBox(this, QString::fromStdString(error + "\n" + texts::kSettingsNotSaved));
    hide();
    return true;
  }
  hide();
  if (keeper_) {
    // The keeper answers later, on a copy of the saved settings; where the
    // password went comes back to the engine from it.
    QPointer<SettingsDialog> self(this);
    auto kept = std::make_shared<SettingsStore>(core_.settings());
    keeper_->keep(*kept, core_.files(), [self, kept](const std::string& problem) {
      if (!self) return;
      // What the store holds now decides where the next save puts the password.
      self->edit([&](SettingsStore& store) { store.secret.held = kept->secret.held; });
      if (problem.empty()) return;
      // The store refused the password: the box shows where it went.
      self->edit([&](SettingsStore& store) { store.secret.KEYRING = kept->secret.KEYRING; });
      self->findChild<QCheckBox*>(QStringLiteral("CheckBoxKeyring"))->setChecked(kept->secret.KEYRING);
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
    if (auto* edit = qobject_cast<QLineEdit*>(watched)) browseTarget_ = edit;
  }
  return QDialog::eventFilter(watched, event);
}

void SettingsDialog::updateDefaultButton() {
  const bool names = tabs_->currentIndex() == SettingsPages::Names;
  pages_.addName->setDefault(names);
  ok_->setDefault(!names);
}

void SettingsDialog::browse() {
  const std::optional<QString> file = pickFile_(this);
  // Cancelling leaves the target as it was, so a set path is never lost.
  if (file && browseTarget_) browseTarget_->setText(*file);
}

void SettingsDialog::addName() {
  const NameEntryResult r =
      makeNameEntry(pages_.number->text().toStdString(), pages_.name->text().toStdString());
  pages_.number->setText(QString::fromStdString(r.number));
  pages_.name->setText(QString::fromStdString(r.name));
  switch (r.outcome) {
    case NameEntryResult::RefusedDash:
      showWarningBox(this, QString::fromUtf8(kNameEntryDashWarning));
      break;
    case NameEntryResult::Added:
      pages_.nameList->addItem(QString::fromStdString(r.entry));
      edit([&](SettingsStore& store) { store.nameList.push_back(toSjis(r.entry)); });
      break;
    case NameEntryResult::Empty:
      break;
  }
}

void SettingsDialog::deleteName() {
  const int row = pages_.nameList->currentRow();
  if (row < 0 || !pages_.nameList->currentItem()->isSelected()) return;
  delete pages_.nameList->takeItem(row);
  edit([&](SettingsStore& store) {
    auto& list = store.nameList;
    if (row < static_cast<int>(list.size())) list.erase(list.begin() + row);
  });
}

ApplicationList SettingsDialog::appFields() const {
  ApplicationList apps;
  for (std::size_t i = 0; i < apps.size(); ++i) apps[i] = toStore(pages_.apps[i]->text());
  return apps;
}

void SettingsDialog::showAppFields(const ApplicationList& apps) {
  for (std::size_t i = 0; i < apps.size(); ++i) pages_.apps[i]->setText(fromSjis(apps[i]));
}

void SettingsDialog::loadAppFields() {
  ApplicationList apps;
  const std::string error = guardedFileOperation(core_.files(), [&] {
    apps = core_.loadApplications(core_.settings().appPageDestination);
    return std::string();
  });
  if (!error.empty()) showErrorBox(this, QString::fromStdString(error));
  showAppFields(apps);
}

void SettingsDialog::changeAppDestination(int newIndex) {
  const int shown = core_.settings().appPageDestination;
  if (newIndex == shown) return;
  const std::string error =
      guardedFileOperation(core_.files(), [&] { return core_.saveApplications(shown, appFields()); });
  if (!error.empty()) {
    // The typed command lines are not written anywhere yet: stay on them.
    pages_.appBox->showIndex(shown);
    showErrorBox(this, QString::fromStdString(error));
    return;
  }
  edit([&](SettingsStore& store) { store.appPageDestination = newIndex; });
  loadAppFields();
}

}  // namespace tarvik
