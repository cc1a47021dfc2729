#pragma once
// Every key of Tarvik.ini that the store holds, written once: its section,
// name, type, the store field behind it, who writes it, and the range a
// hand-edited value must fall in. Load, save and printing all walk this
// table; the defaults are those of a default-constructed SettingsStore.

#include <span>
#include <string>
#include <string_view>

#include "engine/settings/inifile.h"
#include "engine/settings/settingsstore.h"

namespace tarvik {

enum class KeyType { kString, kPassword, kInteger, kBoolean };

// Which operation writes the key. The table lists the dialog's keys in the
// order the dialog save writes them: that order decides where keys missing
// from the file are added.
enum class KeyWriter {
  kDialogFirst,  // [Tarvik] keys, written before the interval check
  kDialog,       // the rest of the dialog save
  // Keys of this program's own ([NOTIFY], [TARIFF]): the dialog save writes them only
  // when the file has them or their value is not the default, so that a
  // file of the original program stays as it is until one is changed.
  kDialogAdded,
  kWindowState,  // written at every close of the main window
  kNone,         // read only ([Tarvik] PORT, set by hand)
};

struct SettingKey {
  std::string_view section;
  std::string_view key;
  KeyType type;
  KeyWriter writer;
  // The store field; which one is set follows the type.
  std::string& (*text)(SettingsStore&) = nullptr;
  int& (*number)(SettingsStore&) = nullptr;
  bool& (*flag)(SettingsStore&) = nullptr;
  // Integers outside min..max are taken as the default.
  int min = 0, max = 0;
  // A string that holds a decimal integer ([OPTION] TIME, [RD] 0): text
  // that is no such integer, or one outside min..max, is taken as the
  // default, like an integer key's.
  bool wholeNumber = false;
};

std::span<const SettingKey> settingKeys();

// The sections of the table, in the order the program prints them.
std::span<const std::string_view> settingSections();

const SettingsStore& defaultSettings();

// Fills the key's field from the file, with the default when the key is
// missing, not a number or out of range. The password is decoded. False
// when the file holds a value that was not taken (the default is in
// force instead).
bool readSetting(const IniFile& ini, const SettingKey& key, SettingsStore& store);
// The key's value as the file holds it (the password encoded).
std::string storedSetting(const SettingKey& key, const SettingsStore& store);
void writeSetting(IniFile& ini, const SettingKey& key, const SettingsStore& store);

}  // namespace tarvik
