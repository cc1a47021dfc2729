// The HTML manual (manual/manual.html, opened with F1 on Linux and Windows)
// against the program's own tables: every key of Tarvik.ini that the
// settings table holds, every caption of the three menus, every tab of the
// settings dialog and every option of `tarvik --help` is named in it. A
// key, menu item, tab or option added without a word in the manual fails
// here, as one list of what is missing.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/options.h"
#include "desktop/mainmenus.h"
#include "desktop/settingsformtable.h"
#include "engine/settings/settingskeys.h"

namespace tarvik {
namespace {

// The manual as a reader sees it: no tags, entities decoded, each run of
// blanks one space.
std::string readableText(const std::string& html) {
  std::string text = std::regex_replace(html, std::regex("<[^>]*>"), "");
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&nbsp;", " "}, {"&amp;", "&"}};
  for (const auto& [entity, character] : entities)
    text = std::regex_replace(text, std::regex(entity), character);
  return std::regex_replace(text, std::regex("\\s+"), " ");
}

std::string manualText() {
  std::ifstream file(TARVIK_MANUAL_HTML, std::ios::binary);
  EXPECT_TRUE(file) << TARVIK_MANUAL_HTML;
  std::ostringstream html;
  html << file.rdbuf();
  return readableText(html.str());
}

struct Name {
  std::string kind;  // where the name comes from
  std::string text;  // what the manual must contain
};

void addMenuCaptions(std::span<const MenuItem> items, std::vector<Name>& names) {
  for (const MenuItem& item : items) {
    std::string caption = item.caption;
    // Separators have none to name; destinations show the router's list.
    const bool named = item.act != MenuAct::Separator && item.act != MenuAct::Destination && !caption.empty();
    // 時限切断 carries the time of day it will act at: "時限切断 [7:58]".
    if (item.act == MenuAct::Jigen) caption = caption.substr(0, caption.find(" ["));
    if (named) names.push_back({"menu item " + std::string(item.name), caption});
    addMenuCaptions(item.children, names);
  }
}

std::vector<Name> namesTheManualMustHold() {
  std::vector<Name> names;
  for (const SettingKey& key : settingKeys()) {
    names.push_back({"INI key", "[" + std::string(key.section) + "] " + std::string(key.key)});
  }
  for (const auto items : {mainMenuItems(), popupMenu1Items(), popupMenu2Items()})
    addMenuCaptions(items, names);
  for (const desktop::FormPage& page : desktop::settingsFormPages())
    names.push_back({"settings tab " + std::string(page.name), std::string(page.caption)});
  const std::string help = app::helpText("tarvik");
  const std::regex option("--[a-z][a-z0-9-]*");
  for (auto it = std::sregex_iterator(help.begin(), help.end(), option); it != std::sregex_iterator(); ++it)
    names.push_back({"option of tarvik --help", it->str()});
  return names;
}

// What of the names the text does not hold, each once.
std::vector<std::string> missingFrom(const std::string& text, const std::vector<Name>& names) {
  std::vector<std::string> missing;
  std::set<std::string> seen;
  for (const Name& name : names) {
    if (text.find(name.text) == std::string::npos && seen.insert(name.text).second)
      missing.push_back(name.kind + ": \"" + name.text + "\"");
  }
  return missing;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

TEST(HtmlManual, NamesEveryKeyMenuCaptionSettingsTabAndOption) {
  const std::vector<Name> names = namesTheManualMustHold();
  ASSERT_GT(names.size(), 100u) << "the tables were read";
  const std::vector<std::string> missing = missingFrom(manualText(), names);
  EXPECT_TRUE(missing.empty()) << missing.size() << " missing from manual/manual.html:\n" << joined(missing);
}

// The check itself finds a gap of each kind, and reads the manual as a
// reader does (tags and entities do not hide a name).
TEST(HtmlManual, TheCheckReportsWhatIsMissing) {
  const std::vector<Name> names = {{"INI key", "[OPTION] CHECK17"},
                                   {"menu item Help1", "ﾍﾙﾌﾟ"},
                                   {"settings tab TabTariff", "料金"},
                                   {"option of tarvik --help", "--usage"}};
  const struct {
    const char* html;
    std::vector<std::string> missing;
  } cases[] = {
      {"<td><code>[OPTION] CHECK17</code></td> <b>ﾍﾙﾌﾟ</b> 料金 <code>--usage</code>", {}},
      {"<code>[OPTION]</code> の <code>CHECK17</code> ﾍﾙﾌﾟ 料金 --usage", {"INI key: \"[OPTION] CHECK17\""}},
      {"[OPTION] CHECK17 料金 <code>--use</code>",
       {"menu item Help1: \"ﾍﾙﾌﾟ\"", "option of tarvik --help: \"--usage\""}},
      {"[OPTION]&nbsp;CHECK17 ﾍﾙﾌﾟ --usage", {"settings tab TabTariff: \"料金\""}},
  };
  for (const auto& c : cases) EXPECT_EQ(missingFrom(readableText(c.html), names), c.missing) << c.html;
}

}  // namespace
}  // namespace tarvik
