#include "desktop/settingsform.h"

#include <exception>

#include "desktop/settingsformtable.h"
#include "engine/base/sjis.h"
#include "engine/core/coretexts.h"
#include "engine/core/enginecommands.h"
#include "engine/settings/namelistedit.h"
#include "engine/settings/settingskeys.h"

namespace tarvik::desktop {
namespace {

constexpr int kEntries = 16;  // destination entries #0 to #15; 16 is "none matches"

// A field's whole number within min..max; nothing for any other text.
std::optional<int> numberIn(const std::string& text, int min, int max) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return {};
  const int value = std::stoi(text);
  if (value < min || value > max) return {};
  return value;
}

// The value a keyed row shows (UTF-8 for texts).
std::string shownValue(const FormField& field, const SettingKey& key, const SettingsStore& store) {
  auto& s = const_cast<SettingsStore&>(store);
  switch (field.kind) {
    case ControlKind::Text:
    case ControlKind::Password:
      return toUtf8(key.text(s));
    case ControlKind::Number:
      return std::to_string(key.number(s));
    default:
      return {};
  }
}

// Application page row: its key 1..7 as the list's index 0..6.
std::size_t appIndex(const FormField& field) { return static_cast<std::size_t>(field.key[0] - '1'); }

}  // namespace

std::vector<std::string> scriptLines(const std::string& text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (end == std::string::npos) {
      if (!line.empty() || lines.empty()) lines.push_back(line);
      break;
    }
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string scriptText(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\n";
    text += lines[i];
  }
  return text;
}

SettingsForm::SettingsForm(EngineCommands& core, SettingsFormView& view)
    : core_(core), view_(view), entries_(kEntries) {}

void SettingsForm::edit(const std::function<void(SettingsStore&)>& change) {
  SettingsStore edited = core_.settings();
  change(edited);
  core_.applySettings(edited);
}

void SettingsForm::put(std::string_view control, const std::string& text) {
  quiet_ = true;
  view_.setText(control, text);
  quiet_ = false;
}

void SettingsForm::load() {
  // The store is filled from a copy and goes back once, as read: a value
  // that does not survive the trip through the controls' text stays as it was.
  const SettingsStore loaded = core_.settings();
  auto& s = const_cast<SettingsStore&>(loaded);
  std::vector<std::string> changeTargets;
  quiet_ = true;
  for (const FormField& field : settingsFormFields()) {
    const SettingKey* key = settingKeyOf(field);
    const std::string control(field.control);
    switch (field.kind) {
      case ControlKind::Text:
      case ControlKind::Password:
      case ControlKind::Number: {
        if (!key) break;
        const std::string value = shownValue(field, *key, loaded);
        if (field.browse == BrowseRole::OnClickOrChange && view_.text(control) != value)
          changeTargets.push_back(control);
        view_.setText(control, value);
        break;
      }
      case ControlKind::Check:
        if (key) view_.setChecked(control, key->flag(s));
        break;
      case ControlKind::Destination:
        if (key) view_.showEntry(control, key->number(s));
        break;
      case ControlKind::AppDestination:
        view_.showEntry(control, loaded.appPageDestination);
        break;
      case ControlKind::Script:
        view_.setText(control, toUtf8(scriptText(loaded.script)));
        break;
      case ControlKind::NameList: {
        std::vector<std::string> items;
        for (const std::string& entry : loaded.nameList) items.push_back(toUtf8(entry));
        view_.setItems(control, items);
        break;
      }
      case ControlKind::AppCommand:
      case ControlKind::NameField:
        break;
    }
  }
  quiet_ = false;
  // Filling the warning sound's path makes it the browse target.
  if (!changeTargets.empty()) browseTarget_ = changeTargets.back();
  core_.applySettings(loaded);
  applyDependentStates();
}

void SettingsForm::setDestinationList(const std::vector<std::string>& entries) {
  entries_ = entries;
  entries_.resize(kEntries);
  const SettingsStore& store = core_.settings();
  quiet_ = true;
  for (const FormField& field : settingsFormFields()) {
    if (field.kind == ControlKind::Destination) {
      view_.setEntries(field.control, entries_,
                       settingKeyOf(field)->number(const_cast<SettingsStore&>(store)));
    } else if (field.kind == ControlKind::AppDestination) {
      view_.setEntries(field.control, entries_, store.appPageDestination);
    }
  }
  quiet_ = false;
}

int SettingsForm::destinationIndex(const std::string& text) const {
  for (int i = 0; i < kEntries; ++i) {
    if (entries_[static_cast<std::size_t>(i)] == text) return i;
  }
  return kEntries;
}

void SettingsForm::applyDependentStates() {
  const SettingsStore& store = core_.settings();
  for (const DependentState& rule : settingsDependentStates()) {
    const SettingKey* key = settingKeyOf(*formField(rule.checkBox));
    const bool ticked = key->flag(const_cast<SettingsStore&>(store));
    view_.setEnabled(rule.control, ticked == rule.enabledWhenTicked);
  }
  view_.monitoringOffChanged(store.option.monitoringOff);
  view_.stayOnTopChanged(store.option.ONSCREEN);
}

void SettingsForm::edited(std::string_view control, const std::string& text) {
  if (quiet_) return;
  const FormField* field = formField(control);
  if (!field) return;
  if (field->browse == BrowseRole::OnClickOrChange) browseTarget_ = std::string(control);
  const SettingKey* key = settingKeyOf(*field);
  switch (field->kind) {
    case ControlKind::Text:
    case ControlKind::Password:
      if (key) edit([&](SettingsStore& s) { key->text(s) = toSjis(text); });
      break;
    case ControlKind::Number:
      // A number outside the key's range is not taken; the close shows the
      // setting again.
      if (const std::optional<int> value = key ? numberIn(text, key->min, key->max) : std::nullopt)
        edit([&](SettingsStore& s) { key->number(s) = *value; });
      break;
    case ControlKind::Destination:
      edit([&](SettingsStore& s) { key->number(s) = destinationIndex(text); });
      break;
    case ControlKind::Script:
      edit([&](SettingsStore& s) { s.script = scriptLines(toSjis(text)); });
      break;
    default:
      // The application page's box switches sections only when chosen: every
      // switch writes the shown command lines to one section and reads another.
      break;
  }
}

void SettingsForm::chosen(std::string_view control, const std::string& text) {
  if (quiet_) return;
  const FormField* field = formField(control);
  if (!field) return;
  // The other destination boxes follow every edit already; a box left
  // before the router's list has come would otherwise match its empty text.
  if (field->kind == ControlKind::AppDestination) changeAppDestination(destinationIndex(text));
}

void SettingsForm::toggled(std::string_view control, bool on) {
  if (quiet_) return;
  const FormField* field = formField(control);
  const SettingKey* key = field && field->kind == ControlKind::Check ? settingKeyOf(*field) : nullptr;
  if (!key) return;
  edit([&](SettingsStore& s) { key->flag(s) = on; });
  applyDependentStates();
}

void SettingsForm::pressed(std::string_view control) {
  const FormField* field = formField(control);
  if (field && field->browse != BrowseRole::None) browseTarget_ = std::string(control);
}

void SettingsForm::clicked(std::string_view control) {
  const FormButton* button = formButton(control);
  if (!button) return;
  switch (button->action) {
    case FormAction::Play: {
      const std::string path = toSjis(view_.text(button->field));
      if (!path.empty()) view_.play(path);
      break;
    }
    case FormAction::Browse:
      browse();
      break;
    case FormAction::AddName:
      addName();
      break;
    case FormAction::DeleteName:
      deleteName();
      break;
    case FormAction::Ok:
      close();
      break;
  }
}

void SettingsForm::browse() {
  const std::optional<std::string> file = view_.pickFile();
  // Cancelling leaves the target as it was, so a set path is never lost.
  if (!file || browseTarget_.empty()) return;
  const std::string target = browseTarget_;
  put(target, *file);
  edited(target, *file);
}

void SettingsForm::addName() {
  const NameEntryResult r = makeNameEntry(view_.text(kNameNumber), view_.text(kNameName));
  put(kNameNumber, r.number);
  put(kNameName, r.name);
  switch (r.outcome) {
    case NameEntryResult::RefusedDash:
      view_.showMessage(MessageKind::Warning, kNameEntryDashWarning);
      break;
    case NameEntryResult::Added:
      view_.addItem(kNameListBox, r.entry);
      edit([&](SettingsStore& s) { s.nameList.push_back(toSjis(r.entry)); });
      break;
    case NameEntryResult::Empty:
      break;
  }
}

void SettingsForm::deleteName() {
  const int row = view_.selectedItem(kNameListBox);
  if (row < 0) return;
  view_.removeItem(kNameListBox, row);
  edit([&](SettingsStore& s) {
    if (row < static_cast<int>(s.nameList.size())) s.nameList.erase(s.nameList.begin() + row);
  });
}

ApplicationList SettingsForm::appFields() const {
  ApplicationList apps;
  for (const FormField& field : settingsFormFields()) {
    if (field.kind == ControlKind::AppCommand) apps[appIndex(field)] = toSjis(view_.text(field.control));
  }
  return apps;
}

void SettingsForm::loadAppFields() {
  ApplicationList apps;
  try {
    apps = core_.loadApplications(core_.settings().appPageDestination);
  } catch (const std::exception& e) {
    view_.showMessage(MessageKind::Error, settingsFileTrouble(core_.files(), e.what()));
  }
  for (const FormField& field : settingsFormFields()) {
    if (field.kind == ControlKind::AppCommand) put(field.control, toUtf8(apps[appIndex(field)]));
  }
}

void SettingsForm::changeAppDestination(int index) {
  const int shown = core_.settings().appPageDestination;
  if (index == shown) return;
  const std::string error = core_.saveApplications(shown, appFields());
  if (!error.empty()) {
    // The typed command lines are not written anywhere yet: stay on them.
    quiet_ = true;
    view_.showEntry(kAppDestinationBox, shown);
    quiet_ = false;
    view_.showMessage(MessageKind::Error, error);
    return;
  }
  edit([&](SettingsStore& s) { s.appPageDestination = index; });
  loadAppFields();
}

void SettingsForm::open() {
  core_.Config();
  if (!view_.dialogShown()) loadAppFields();
  view_.showDialog();
}

// The fields whose setting the save may have put in place of what was
// typed (the interval's "5", a number out of range) show what was saved.
void SettingsForm::showSavedValues() {
  const SettingsStore& store = core_.settings();
  for (const FormField& field : settingsFormFields()) {
    if (field.kind != ControlKind::Text && field.kind != ControlKind::Number) continue;
    const SettingKey* key = settingKeyOf(field);
    if (!key) continue;
    const std::string value = shownValue(field, *key, store);
    if (view_.text(field.control) != value) put(field.control, value);
  }
}

CloseOutcome SettingsForm::close() {
  // Typing in the application page's box ends with the close.
  chosen(kAppDestinationBox, view_.text(kAppDestinationBox));
  view_.connectHintChanged(view_.text(kDefaultDestinationBox));
  // The script is taken as it stands (a toolkit may not tell each change
  // made by program).
  const std::string script = view_.text(kScriptArea);
  edit([&](SettingsStore& s) { s.script = scriptLines(toSjis(script)); });
  const std::string error = core_.ConfigClosed(core_.settings(), appFields());
  showSavedValues();
  if (!error.empty()) {
    // An interval that is not a number is mended in the dialog; a file that
    // cannot be written (a read-only settings folder) would refuse every
    // close, so the dialog closes after saying so.
    if (!settingTextToInt(core_.settings().option.TIME)) {
      view_.showMessage(MessageKind::Error, error);
      return CloseOutcome::KeptOpen;
    }
    view_.showMessage(MessageKind::Error, error + "\n" + texts::kSettingsNotSaved);
    view_.hideDialog();
    return CloseOutcome::ClosedUnsaved;
  }
  view_.hideDialog();
  return CloseOutcome::Saved;
}

}  // namespace tarvik::desktop
