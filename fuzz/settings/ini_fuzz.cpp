// Tarvik.ini as a user may have left it: any bytes. Reading must never fail,
// values stay within their limits, and a write changes only its own lines.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/base/bytes.h"
#include "engine/settings/inifile.h"
#include "engine/settings/linefile.h"
#include "engine/settings/settingskeys.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

std::vector<std::string_view> lineTexts(std::string_view bytes) {
  std::vector<std::string_view> lines;
  tarvik::forEachLine(bytes, [&](std::string_view line, std::string_view) { lines.push_back(line); });
  return lines;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// A value that reads back exactly as written: no line breaks or NUL, no
// blanks at either end, no surrounding quotes.
std::string plainValue(std::string_view bytes) {
  std::string value(bytes);
  for (char& c : value) {
    if (c == '\r' || c == '\n' || c == '\0') c = 'x';
  }
  while (!value.empty() && isBlank(value.back())) value.pop_back();
  while (!value.empty() && isBlank(value.front())) value.erase(0, 1);
  if (!value.empty() && (value.front() == '"' || value.front() == '\'')) value.front() = 'x';
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  tarvik::IniFile ini(input);
  check(ini.text() == input);

  tarvik::SettingsStore store;
  auto keys = tarvik::settingKeys();
  for (const tarvik::SettingKey& key : keys) {
    tarvik::readSetting(ini, key, store);
    if (key.type == tarvik::KeyType::kString)
      check(key.text(store).size() <= tarvik::IniFile::kMaxValueBytes);
    if (key.type == tarvik::KeyType::kInteger)
      check(key.number(store) >= key.min && key.number(store) <= key.max);
  }
  if (size == 0) return 0;

  const tarvik::SettingKey& key = keys[data[0] % keys.size()];
  std::string value = plainValue(input.substr(1, 40));
  tarvik::IniFile changed = ini;
  changed.writeString(key.section, key.key, value);
  std::string out = changed.text();
  tarvik::IniFile reread(out);
  check(reread.text() == out);
  check(reread.value(key.section, key.key) == value);

  // Only the key's line changes, or the key (and its section) is added.
  std::vector<std::string_view> before = lineTexts(input), after = lineTexts(out);
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  check(before.size() - prefix - suffix <= 1);
  check(after.size() - prefix - suffix <= 2);
  return 0;
}
