#pragma once
// What a start-up load could not take from a hand-edited Tarvik.ini: values
// that are no value of their key (the default is used instead) and lines
// that are neither a section, a key nor a comment. They are told, never
// mended in the file: Tarvik.ini stays as the user wrote it until a save.

#include <cstddef>
#include <string>
#include <vector>

#include "engine/settings/inifile.h"
#include "engine/settings/settingskeys.h"

namespace tarvik {

struct SettingProblem {
  // A value: the key's section and name; empty for a line.
  std::string section, key;
  std::string text;      // Shift-JIS: the value, or the whole line
  std::string used;      // Shift-JIS: the value in force instead, as the file would hold it
  std::size_t line = 0;  // the line's number, for a line
};

// The key's value was not taken: what the file holds and what is used.
SettingProblem valueProblem(const IniFile& ini, const SettingKey& key, const SettingsStore& store);
SettingProblem lineProblem(const IniFile::UnreadLine& line);

// One problem in a few words (UTF-8), such as
// "[OPTION] TIME=abc (5 を使用)" or "3 行目「[Tarvik」(無視)".
std::string settingProblemText(const SettingProblem& problem);

// The problems, one text each, at most `limit` of them; more are summed up
// in a last text "ほか N 件".
std::vector<std::string> settingProblemTexts(const std::vector<SettingProblem>& problems, std::size_t limit);

// The start's one line about them (UTF-8), saying what to do; empty when
// there are none.
std::string settingProblemsNotice(const std::vector<SettingProblem>& problems);

}  // namespace tarvik
