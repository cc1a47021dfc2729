#include "engine/settings/settingsprint.h"

#include <exception>

#include "engine/base/sjis.h"
#include "engine/settings/settingsfiles.h"
#include "engine/settings/settingskeys.h"

namespace tarvik {
namespace {

// [AP0] to [AP16]: sixteen destinations and the "no match" index.
constexpr int kApplicationSections = 17;
// Parts of Tarvik.ini not taken that --print-settings names one by one.
constexpr std::size_t kPrintedProblems = 20;

void printSection(std::string& out, std::string_view section) {
  if (!out.empty()) out += '\n';
  out += '[';
  out += section;
  out += "]\n";
}

void printKey(std::string& out, std::string_view key, std::string_view sjisValue) {
  out += key;
  out += '=';
  out += toUtf8(sjisValue);
  out += '\n';
}

std::string printKeys(const SettingsStore& store) {
  std::string out;
  for (std::string_view section : settingSections()) {
    printSection(out, section);
    for (const SettingKey& key : settingKeys()) {
      if (key.section == section) printKey(out, key.key, storedSetting(key, store));
    }
  }
  return out;
}

void printLines(std::string& out, std::string_view file, const std::vector<std::string>& lines) {
  out += "\n; ";
  out += file;
  out += ": " + std::to_string(lines.size()) + (lines.size() == 1 ? " line\n" : " lines\n");
  for (const std::string& line : lines) {
    out += "; ";
    out += toUtf8(line);
    out += '\n';
  }
}

std::string withTrailer(std::string out, const SettingsStore& store) {
  printLines(out, "Tarvik.lst", store.nameList);
  printLines(out, "Tarvik.spt", store.script);
  return out;
}

}  // namespace

std::string printSettings(const SettingsStore& store) { return withTrailer(printKeys(store), store); }

std::string printSettings(const SettingsStore& store, const IniFile& ini) {
  std::string out = printKeys(store);
  for (int destination = 0; destination < kApplicationSections; ++destination) {
    ApplicationList apps = applicationsIn(ini, destination);
    bool any = false;
    for (const std::string& app : apps) any = any || !app.empty();
    if (!any) continue;
    printSection(out, "AP" + std::to_string(destination));
    for (std::size_t i = 0; i < apps.size(); ++i) printKey(out, std::to_string(i + 1), apps[i]);
  }
  return withTrailer(std::move(out), store);
}

PrintedSettings printSettingsIn(const std::filesystem::path& configDir) {
  SettingsStore store;
  SettingsFiles files(configDir);
  IniFile ini;
  try {
    const std::vector<SettingProblem> problems = files.loadAll(store, &ini);
    return {printSettings(store, ini), {}, settingProblemTexts(problems, kPrintedProblems)};
  } catch (const std::exception& e) {
    return {{}, e.what(), {}};
  }
}

}  // namespace tarvik
