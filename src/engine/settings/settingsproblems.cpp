#include "engine/settings/settingsproblems.h"

#include "engine/base/bytes.h"
#include "engine/base/sjis.h"

namespace tarvik {
namespace {

// Enough of a value or a line to know it again; a whole line could fill
// the status line many times over.
constexpr std::size_t kShownBytes = 40;
// How many problems the start's line names before it only counts.
constexpr std::size_t kNoticeLimit = 3;

std::string shown(std::string_view sjis) {
  std::string cut(sjisCut(sjis, kShownBytes));
  if (cut.size() < sjis.size()) cut += "...";
  return toUtf8(cut);
}

}  // namespace

SettingProblem valueProblem(const IniFile& ini, const SettingKey& key, const SettingsStore& store) {
  SettingProblem problem;
  problem.section = key.section;
  problem.key = key.key;
  problem.text = ini.value(key.section, key.key).value_or("");
  problem.used = storedSetting(key, store);
  return problem;
}

SettingProblem lineProblem(const IniFile::UnreadLine& line) {
  SettingProblem problem;
  problem.text = line.text;
  problem.line = line.number;
  return problem;
}

std::string settingProblemText(const SettingProblem& problem) {
  if (problem.key.empty()) return std::to_string(problem.line) + " 行目「" + shown(problem.text) + "」(無視)";
  return "[" + problem.section + "] " + problem.key + "=" + shown(problem.text) + " (" + shown(problem.used) +
         " を使用)";
}

std::vector<std::string> settingProblemTexts(const std::vector<SettingProblem>& problems, std::size_t limit) {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < problems.size() && i < limit; ++i)
    texts.push_back(settingProblemText(problems[i]));
  if (problems.size() > limit) texts.push_back("ほか " + std::to_string(problems.size() - limit) + " 件");
  return texts;
}

std::string settingProblemsNotice(const std::vector<SettingProblem>& problems) {
  if (problems.empty()) return {};
  std::string notice = "Tarvik.ini の読めない設定: ";
  const std::vector<std::string> texts = settingProblemTexts(problems, kNoticeLimit);
  for (std::size_t i = 0; i < texts.size(); ++i) notice += (i ? "、" : "") + texts[i];
  return notice + "。Tarvik.ini を直してください";
}

}  // namespace tarvik
