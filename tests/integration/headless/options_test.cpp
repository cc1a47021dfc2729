// Program options are taken out before the action words are handed on.
#include "app/options.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace tarvik::app {
namespace {

using Words = std::vector<std::string>;

struct OptionsCase {
  const char* name;
  Words args;
  bool headless;
  std::string configDir;
  int pollMs;
  Words actionWords;
};

class OptionsTable : public testing::TestWithParam<OptionsCase> {};

TEST_P(OptionsTable, SeparatesOptionsFromActionWords) {
  const OptionsCase& c = GetParam();
  ParsedOptions parsed = parseProgramOptions(c.args);
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.headless, c.headless);
  EXPECT_EQ(parsed.options.configDir, c.configDir);
  EXPECT_EQ(parsed.options.pollMs, c.pollMs);
  EXPECT_EQ(parsed.options.actionWords, c.actionWords);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OptionsTable,
    testing::Values(
        OptionsCase{"nothing", {}, false, "", 0, {}},
        OptionsCase{"words_only", {"co", "-CO", "b1b2"}, false, "", 0, {"co", "-CO", "b1b2"}},
        // The directory holds "co" and must not become a dial request.
        OptionsCase{"config_dir_value_is_not_a_word", {"--config-dir", "/tmp/conf", "b1"}, false, "/tmp/conf", 0, {"b1"}},
        OptionsCase{"equals_forms", {"--config-dir=/x/co", "--poll-ms=50", "--headless"}, true, "/x/co", 50, {}},
        OptionsCase{"options_between_words", {"co", "--headless", "--poll-ms", "200", "b2"}, true, "", 200, {"co", "b2"}},
        OptionsCase{"double_dash_ends_options", {"--headless", "--", "--co"}, true, "", 0, {"--co"}}),
    [](const testing::TestParamInfo<OptionsCase>& info) { return std::string(info.param.name); });

TEST(Options, FlagsAreRecognised) {
  ParsedOptions p = parseProgramOptions({"--print-settings", "--help", "--version"});
  ASSERT_EQ(p.error, "");
  EXPECT_TRUE(p.options.printSettings);
  EXPECT_TRUE(p.options.help);
  EXPECT_TRUE(p.options.version);
  EXPECT_FALSE(p.options.headless);
}

TEST(Options, UsageTakesAnOptionalMonth) {
  struct Case {
    Words args;
    std::string month;
    Words words;
  };
  const Case cases[] = {
      {{"--usage"}, "", {}},
      {{"--usage", "2026-12"}, "2026-12", {}},
      {{"--usage=2026-01"}, "2026-01", {}},
      {{"--usage", "--config-dir", "d"}, "", {}},
  };
  for (const Case& c : cases) {
    ParsedOptions p = parseProgramOptions(c.args);
    ASSERT_EQ(p.error, "") << c.args.size();
    EXPECT_TRUE(p.options.usage);
    EXPECT_EQ(p.options.usageMonth, c.month);
    EXPECT_EQ(p.options.actionWords, c.words);
  }
}

// A month that is not YYYY-MM is refused with the form, wherever it stands:
// never taken for an action word while this month is printed.
TEST(Options, UsageRefusesAWrongMonth) {
  const Words cases[] = {
      {"--usage", "2026-13"}, {"--usage", "foo"},      {"--usage", "2026-1"},   {"--usage=2026-13"},
      {"--usage=december"},   {"--usage="},            {"--usage", "2026-00"},  {"2026-12", "--usage"},
      {"--usage", "co"},      {"--usage", "--", "x"},  {"--usage", "20261-2"},
  };
  for (const Words& args : cases) {
    const std::string error = parseProgramOptions(args).error;
    EXPECT_NE(error.find("YYYY-MM"), std::string::npos) << args.back() << ": " << error;
  }
}

TEST(Options, RefusesWhatItDoesNotUnderstand) {
  const Words bad[] = {
      {"--connect"},               // would dial as a word: refused
      {"--config-dir"},            // value missing
      {"--config-dir="},           // empty value
      {"--poll-ms", "fast"},       // not a number
      {"--poll-ms", "5"},          // below the floor
      {"--poll-ms", "99999999"},   // above the ceiling
      {"--poll-ms", "100ms"},      // trailing junk
      {"--clock-start"},                            // value missing
      {"--clock-start", "2026-12-11"},              // no time of day
      {"--clock-start", "2026-12-11T10:29:58"},     // another form
      {"--clock-start", "2026-02-29 10:00:00"},     // no such day
      {"--clock-start", "2026-12-11 24:00:00"},     // no such hour
      {"--clock-start", "2026-12-11 10:60:00"},     // no such minute
      {"--headlessly"},
  };
  for (const Words& args : bad) {
    ParsedOptions p = parseProgramOptions(args);
    EXPECT_NE(p.error, "") << args[0];
  }
}

// The test clock's start: taken in both forms, beside action words, and
// left unset without the option.
TEST(Options, ClockStartIsALocalTime) {
  ParsedOptions p = parseProgramOptions({"co", "--clock-start", "2024-02-29 23:59:58", "b1"});
  ASSERT_EQ(p.error, "");
  ASSERT_TRUE(p.options.clockStart.has_value());
  const LocalTime& t = *p.options.clockStart;
  EXPECT_EQ((std::vector<int>{t.year, t.month, t.day, t.hour, t.minute, t.second}),
            (std::vector<int>{2024, 2, 29, 23, 59, 58}));
  EXPECT_EQ(p.options.actionWords, (Words{"co", "b1"}));

  p = parseProgramOptions({"--clock-start=2026-12-11 00:00:00"});
  ASSERT_EQ(p.error, "");
  ASSERT_TRUE(p.options.clockStart.has_value());
  EXPECT_EQ(p.options.clockStart->day, 11);
  EXPECT_FALSE(parseProgramOptions({"--headless"}).options.clockStart.has_value());

  const std::string error = parseProgramOptions({"--clock-start", "noon"}).error;
  EXPECT_NE(error.find("YYYY-MM-DD HH:MM:SS"), std::string::npos) << error;
}

TEST(Options, OnlyTheDesktopProgramNeedsWindows) {
  EXPECT_TRUE(needsWindows({}));
  EXPECT_TRUE(needsWindows({"co", "-platform", "offscreen"}));
  EXPECT_TRUE(needsWindows({"--", "--headless"}));
  EXPECT_TRUE(needsWindows({"--config-dir", "d"}));
  for (const char* flag : {"--headless", "--help", "--version", "--print-settings", "--usage", "--usage=2026-12"}) {
    EXPECT_FALSE(needsWindows({"co", flag})) << flag;
  }
}

// The other way round: every option the help shows, with a value of the
// kind its line names, is one the parser takes.
TEST(Options, EveryOptionTheHelpShowsIsTaken) {
  const std::map<std::string, std::string> sampleValue = {
      {"DIR", "some/dir"}, {"N", "500"}, {"\"YYYY-MM-DD", "2026-12-11 10:29:58"}};
  std::istringstream help(helpText("tarvik"));
  std::string line;
  int options = 0;
  while (std::getline(help, line)) {
    if (line.rfind("  --", 0) != 0) continue;
    std::istringstream words(line);
    std::string option, value;
    words >> option >> value;
    std::vector<std::string> arguments = {option};
    if (sampleValue.count(value)) arguments.push_back(sampleValue.at(value));
    ++options;
    EXPECT_EQ(parseProgramOptions(arguments).error, "") << line;
  }
  EXPECT_GE(options, 8) << "the help shows its options as \"  --name\" lines";
}

TEST(Options, HelpListsEveryOptionAndWord) {
  std::string help = helpText("tarvik");
  for (const char* item : {"--headless", "--config-dir", "--print-settings", "--help", "--version", "--poll-ms",
                           "--clock-start", "--usage", "  co ", "  b1 ", "  b2 "}) {
    EXPECT_NE(help.find(item), std::string::npos) << item;
  }
}

}  // namespace
}  // namespace tarvik::app
