#include "engine/settings/settingskeys.h"

#include <array>
#include <climits>
#include <optional>
#include <type_traits>
#include <utility>

#include "engine/settings/password.h"

namespace tarvik {
namespace {

using S = SettingsStore;

template <auto Part, auto Field>
auto& fieldOf(SettingsStore& store) {
  return (store.*Part).*Field;
}

// One table row; the field's C++ type gives the key type (a password is
// marked apart, since it is a string on the store's side).
template <auto Part, auto Field>
constexpr SettingKey row(std::string_view section, std::string_view key, KeyWriter writer, int min = INT_MIN,
                         int max = INT_MAX) {
  SettingKey k{section, key, KeyType::kString, writer};
  using T = std::remove_reference_t<decltype(fieldOf<Part, Field>(std::declval<S&>()))>;
  if constexpr (std::is_same_v<T, std::string>) {
    k.text = &fieldOf<Part, Field>;
  } else if constexpr (std::is_same_v<T, bool>) {
    k.type = KeyType::kBoolean;
    k.flag = &fieldOf<Part, Field>;
  } else {
    static_assert(std::is_same_v<T, int>);
    k.type = KeyType::kInteger;
    k.number = &fieldOf<Part, Field>;
    k.min = min;
    k.max = max;
  }
  return k;
}

// A string key that holds a whole number from min to max.
template <auto Part, auto Field>
constexpr SettingKey wholeNumberRow(std::string_view section, std::string_view key, KeyWriter writer, int min,
                                    int max) {
  SettingKey k = row<Part, Field>(section, key, writer);
  k.wholeNumber = true;
  k.min = min;
  k.max = max;
  return k;
}

template <auto Part, auto Field>
constexpr SettingKey passwordRow(std::string_view section, std::string_view key, KeyWriter writer) {
  SettingKey k = row<Part, Field>(section, key, writer);
  k.type = KeyType::kPassword;
  return k;
}

constexpr KeyWriter kFirst = KeyWriter::kDialogFirst;
constexpr KeyWriter kDialog = KeyWriter::kDialog;
constexpr KeyWriter kWindow = KeyWriter::kWindowState;
constexpr KeyWriter kAdded = KeyWriter::kDialogAdded;
// Destination indexes: 0..15, and 16 for a destination box that matched none.
constexpr int kLastDestination = 16;
// Status items of the B1 and B2 fields: 0..6.
constexpr int kLastStatusItem = 6;

constexpr auto kKeys = std::to_array<SettingKey>({
    // The dialog save, in its order.
    row<&S::tarvik, &S::TarvikSection::SOHOIP>("Tarvik", "SOHOIP", kFirst),
    passwordRow<&S::tarvik, &S::TarvikSection::PASS>("Tarvik", "PASS", kFirst),
    row<&S::tarvik, &S::TarvikSection::DEFAULT>("Tarvik", "DEFAULT", kFirst, 0, kLastDestination),
    row<&S::tarvik, &S::TarvikSection::AUTO>("Tarvik", "AUTO", kFirst, 0, kLastDestination),
    row<&S::tarvik, &S::TarvikSection::REDIAL>("Tarvik", "REDIAL", kFirst, 0, kLastDestination),
    wholeNumberRow<&S::option, &S::OptionSection::TIME>("OPTION", "TIME", kDialog, kMinPollInterval,
                                                        kMaxPollInterval),
    row<&S::kanji, &S::KanjiSection::CODE>("KANJI", "CODE", kDialog),
    row<&S::sound, &S::SoundSection::s1>("SOUND", "1", kDialog),
    row<&S::sound, &S::SoundSection::s2>("SOUND", "2", kDialog),
    row<&S::sound, &S::SoundSection::s3>("SOUND", "3", kDialog),
    row<&S::sound, &S::SoundSection::s5>("SOUND", "5", kDialog),
    row<&S::sound, &S::SoundSection::s6>("SOUND", "6", kDialog),
    row<&S::sound, &S::SoundSection::s7>("SOUND", "7", kDialog),
    row<&S::sound, &S::SoundSection::s8>("SOUND", "8", kDialog),
    row<&S::sound, &S::SoundSection::NAMESOUND>("SOUND", "NAMESOUND", kDialog),
    row<&S::option, &S::OptionSection::LOG>("OPTION", "LOG", kDialog),
    row<&S::time, &S::TimeSection::ON>("TIME", "ON", kDialog),
    row<&S::time, &S::TimeSection::OFF>("TIME", "OFF", kDialog),
    row<&S::time, &S::TimeSection::WARNING>("TIME", "WARNING", kDialog),
    wholeNumberRow<&S::rd, &S::RdSection::count>("RD", "0", kDialog, 0, INT_MAX),
    row<&S::option, &S::OptionSection::SIZE>("OPTION", "SIZE", kDialog),
    row<&S::option, &S::OptionSection::ONSCREEN>("OPTION", "ONSCREEN", kDialog),
    row<&S::option, &S::OptionSection::NEXT>("OPTION", "NEXT", kDialog),
    row<&S::option, &S::OptionSection::restoreOnConnect>("OPTION", "CHECK4", kDialog),
    row<&S::option, &S::OptionSection::parkOnDisconnect>("OPTION", "CHECK5", kDialog),
    row<&S::option, &S::OptionSection::showConnectionTime>("OPTION", "CHECK6", kDialog),
    row<&S::option, &S::OptionSection::showIpAddress>("OPTION", "CHECK7", kDialog),
    row<&S::option, &S::OptionSection::showConnectionMode>("OPTION", "CHECK8", kDialog),
    row<&S::option, &S::OptionSection::showPhoneNumber>("OPTION", "CHECK9", kDialog),
    row<&S::option, &S::OptionSection::showChannelTrayIcons>("OPTION", "CHECK10", kDialog),
    row<&S::option, &S::OptionSection::monitoringOff>("OPTION", "CHECK11", kDialog),
    row<&S::option, &S::OptionSection::setRouterClock>("OPTION", "CHECK12", kDialog),
    row<&S::option, &S::OptionSection::startupConnect>("OPTION", "CHECK13", kDialog),
    row<&S::option, &S::OptionSection::showLineUsage>("OPTION", "CHECK14", kDialog),
    row<&S::option, &S::OptionSection::disconnectOnExit>("OPTION", "CHECK15", kDialog),
    row<&S::option, &S::OptionSection::askCredentialsEachCall>("OPTION", "CHECK16", kDialog),
    row<&S::option, &S::OptionSection::saveConnectionLog>("OPTION", "CHECK17", kDialog),
    row<&S::option, &S::OptionSection::runRouterScript>("OPTION", "CHECK18", kDialog),
    row<&S::option, &S::OptionSection::showTransferRate>("OPTION", "CHECK19", kDialog),
    row<&S::notify, &S::NotifySection::INCOMING>("NOTIFY", "INCOMING", kAdded),
    row<&S::notify, &S::NotifySection::CONNECTED>("NOTIFY", "CONNECTED", kAdded),
    row<&S::notify, &S::NotifySection::DISCONNECTED>("NOTIFY", "DISCONNECTED", kAdded),
    row<&S::notify, &S::NotifySection::FAILED>("NOTIFY", "FAILED", kAdded),
    row<&S::notify, &S::NotifySection::ROUTER>("NOTIFY", "ROUTER", kAdded),
    row<&S::tariff, &S::TariffSection::UNIT>("TARIFF", "UNIT", kAdded, kMinTariffUnit, kMaxTariffUnit),
    row<&S::tariff, &S::TariffSection::YEN>("TARIFF", "YEN", kAdded, kMinTariffYen, kMaxTariffYen),
    row<&S::tariff, &S::TariffSection::FLATFROM>("TARIFF", "FLATFROM", kAdded, kMinTariffHour,
                                                 kMaxTariffHour),
    row<&S::tariff, &S::TariffSection::FLATTO>("TARIFF", "FLATTO", kAdded, kMinTariffHour, kMaxTariffHour),
    row<&S::tariff, &S::TariffSection::FLATDEST>("TARIFF", "FLATDEST", kAdded),
    // The window state, in its order.
    row<&S::option, &S::OptionSection::left>("OPTION", "left", kWindow),
    row<&S::option, &S::OptionSection::top>("OPTION", "top", kWindow),
    row<&S::option, &S::OptionSection::left2>("OPTION", "left2", kWindow),
    row<&S::option, &S::OptionSection::top2>("OPTION", "top2", kWindow),
    row<&S::option, &S::OptionSection::Width2>("OPTION", "Width2", kWindow),
    row<&S::option, &S::OptionSection::Height2>("OPTION", "Height2", kWindow),
    row<&S::option, &S::OptionSection::B1>("OPTION", "B1", kWindow, 0, kLastStatusItem),
    row<&S::option, &S::OptionSection::B2>("OPTION", "B2", kWindow, 0, kLastStatusItem),
    row<&S::option, &S::OptionSection::LAST>("OPTION", "LAST", kWindow),
    // Set by hand only: a console on another port, such as a simulator's.
    row<&S::tarvik, &S::TarvikSection::PORT>("Tarvik", "PORT", KeyWriter::kNone, 1, 65535),
    // Written with PASS by the dialog save (see SettingsFiles).
    row<&S::secret, &S::SecretSection::KEYRING>("SECRET", "KEYRING", KeyWriter::kNone),
    // Set by hand only: kilobytes of call journal before it is put aside.
    row<&S::journal, &S::JournalSection::SIZE>("JOURNAL", "SIZE", KeyWriter::kNone, 1, 1024 * 1024),
});

constexpr auto kSections = std::to_array<std::string_view>(
    {"Tarvik", "OPTION", "SOUND", "KANJI", "TIME", "RD", "SECRET", "NOTIFY", "JOURNAL", "TARIFF"});

// The store's fields are reached through non-const accessors; reading
// through them never changes the store.
SettingsStore& readOnly(const SettingsStore& store) { return const_cast<SettingsStore&>(store); }

}  // namespace

std::span<const SettingKey> settingKeys() { return kKeys; }

std::span<const std::string_view> settingSections() { return kSections; }

const SettingsStore& defaultSettings() {
  static const SettingsStore defaults;
  return defaults;
}

bool readSetting(const IniFile& ini, const SettingKey& key, SettingsStore& store) {
  SettingsStore& defaults = readOnly(defaultSettings());
  const std::optional<std::string> found = ini.value(key.section, key.key);
  const auto inRange = [&key](int value) { return value >= key.min && value <= key.max; };
  int number = 0;
  switch (key.type) {
    case KeyType::kString: {
      const std::optional<int> whole = found && key.wholeNumber ? settingTextToInt(*found) : std::nullopt;
      if (found && (!key.wholeNumber || (whole && inRange(*whole)))) {
        key.text(store) = *found;
        return true;
      }
      key.text(store) = key.text(defaults);
      break;
    }
    case KeyType::kPassword:
      key.text(store) = found ? decodePassword(*found) : key.text(defaults);
      return true;
    case KeyType::kInteger:
      if (found && parseProfileInteger(*found, number) && inRange(number)) {
        key.number(store) = number;
        return true;
      }
      key.number(store) = key.number(defaults);
      break;
    case KeyType::kBoolean:
      // Any number is a flag: non-zero is true.
      if (found && parseProfileInteger(*found, number)) {
        key.flag(store) = number != 0;
        return true;
      }
      key.flag(store) = key.flag(defaults);
      break;
  }
  return !found;
}

std::string storedSetting(const SettingKey& key, const SettingsStore& store) {
  SettingsStore& s = readOnly(store);
  switch (key.type) {
    case KeyType::kString:
      return key.text(s);
    case KeyType::kPassword:
      return encodePassword(key.text(s));
    case KeyType::kInteger:
      return std::to_string(key.number(s));
    case KeyType::kBoolean:
      return key.flag(s) ? "1" : "0";
  }
  return {};
}

void writeSetting(IniFile& ini, const SettingKey& key, const SettingsStore& store) {
  ini.writeString(key.section, key.key, storedSetting(key, store));
}

}  // namespace tarvik
