#include "engine/settings/settingsstore.h"

#include <cstdint>

#include "engine/base/bytes.h"
#include "engine/base/sjis.h"

namespace tarvik {
namespace {

// The default sound paths, converted to Shift-JIS once.
struct SoundDefaults {
  std::string s1 = toSjis("wav\\接続.wav");
  std::string s2 = toSjis("wav\\完了.wav");
  std::string s3 = toSjis("wav\\切断.wav");
  std::string s5 = toSjis("wav\\話中.wav");
  std::string s7 = toSjis("wav\\警告.wav");
  std::string s8 = toSjis("wav\\着信.wav");
};

const SoundDefaults& soundDefaults() {
  static const SoundDefaults defaults;
  return defaults;
}

}  // namespace

SettingsStore::SettingsStore() {
  const SoundDefaults& d = soundDefaults();
  sound.s1 = d.s1;
  sound.s2 = d.s2;
  sound.s3 = d.s3;
  sound.s5 = d.s5;
  sound.s7 = d.s7;
  sound.s8 = d.s8;
  sound.NAMESOUND = "NameSound\\";
}

std::optional<int> settingTextToInt(std::string_view text) {
  long long value = 0;
  if (!parseDecimal(text, value) || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int>(value);
}

int pollIntervalSeconds(const SettingsStore& store) {
  std::optional<int> seconds = settingTextToInt(store.option.TIME);
  return seconds && *seconds >= kMinPollInterval && *seconds <= kMaxPollInterval ? *seconds
                                                                                 : kDefaultPollInterval;
}

}  // namespace tarvik
