// Capturing the router's connection history into the log buffer: the merge
// with the saved file, the gap marker and the completion on the third prompt.

#include <gtest/gtest.h>

#include "engine/base/sjis.h"
#include "parserfixture.h"

namespace tarvik::test {
namespace {

using Lines = std::vector<std::string>;

const char* const kBreak = "*** ログ分断 ***";

std::string entry(const std::string& name) { return "12/05 10:20:01 B1 接続 " + name; }

// One "sh h" exchange whose history lists `names`.
std::string historyExchange(const Lines& names) {
  std::string text =
      "\nlogin: admin\nWelcome to MN128-SOHO console\nMN128-SOHO% sys kc s\nMN128-SOHO% sh h\n";
  for (const std::string& name : names) text += entry(name) + "\n";
  return text + "MN128-SOHO% l\nBye.\n";
}

class HistoryCaptureTest : public ParserFixture {
 protected:
  void SetUp() override { host.command = true; }

  // What the log fetch does before it sends "sh h": the saved file's lines
  // (UTF-8 here) become the buffer; a file not ending in the gap marker
  // must be met again before anything is appended.
  void arm(const Lines& file) {
    Lines lines;
    for (const std::string& line : file) lines.push_back(toSjis(line));
    parser.startCapture(lines, file.empty() || file.back() == kBreak);
    parser.setAnalogView(false);
  }

  Lines fetch(const Lines& file, const Lines& history) {
    arm(file);
    host.writtenLog.clear();
    feed(historyExchange(history));
    return host.writtenLog;
  }
};

Lines entries(const Lines& names) {
  Lines out;
  for (const std::string& name : names) out.push_back(entry(name));
  return out;
}

TEST_F(HistoryCaptureTest, MergesTheHistoryIntoTheSavedFile) {
  struct Case {
    const char* name;
    Lines file;
    Lines history;
    Lines written;
  };
  const Case cases[] = {
      {"NoFile", {}, {"A", "B", "C"}, entries({"A", "B", "C"})},
      {"Overlap", entries({"A", "B"}), {"B", "C", "D"}, entries({"A", "B", "C", "D"})},
      {"NothingNew", entries({"A", "B"}), {"A", "B"}, entries({"A", "B"})},
      {"RolledOff",
       entries({"A", "B"}),
       {"D", "E"},
       [] {
         Lines l = entries({"A", "B"});
         l.push_back(kBreak);
         return l;
       }()},
      {"AfterTheMarkerTakesEverything",
       [] {
         Lines l = entries({"A", "B"});
         l.push_back(kBreak);
         return l;
       }(),
       {"D", "E", "F"},
       [] {
         Lines l = entries({"A", "B"});
         l.push_back(kBreak);
         for (const std::string& e : entries({"D", "E", "F"})) l.push_back(e);
         return l;
       }()},
      {"EmptyHistoryKeepsTheFile", entries({"A"}), {}, entries({"A"})},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fetch(c.file, c.history), c.written) << c.name;
    EXPECT_EQ(parser.capture().countdown(), 0) << c.name;
    EXPECT_FALSE(parser.capture().historySeen()) << c.name;
  }
}

TEST_F(HistoryCaptureTest, RollOffThenNextFetchAppendsTheWholeHistory) {
  Lines first = fetch(entries({"A", "B"}), {"D", "E"});
  Lines second = fetch(first, {"D", "E", "F"});
  Lines expected = entries({"A", "B"});
  expected.push_back(kBreak);
  for (const std::string& e : entries({"D", "E", "F"})) expected.push_back(e);
  EXPECT_EQ(second, expected);
}

TEST_F(HistoryCaptureTest, CompletesOnTheThirdPromptOnceAndEchoesTheHistoryOfAUserFetch) {
  arm({});
  feed(historyExchange({"A"}));
  EXPECT_EQ(host.payloads("history").size(), 1u);
  // The completion comes with the prompt after the history, before "Bye.".
  Lines events = host.only({"history", "echo"});
  EXPECT_EQ(Lines(events.end() - 3, events.end()), (Lines{"echo:" + entry("A"), "history", "echo:Bye."}));

  // Later exchanges only count further down.
  feed(historyExchange({"B"}));
  EXPECT_EQ(host.payloads("history").size(), 1u);
  EXPECT_EQ(parser.capture().countdown(), -3);
}

TEST_F(HistoryCaptureTest, AutomaticFetchIsSilentAndEndsAutomatic) {
  parser.setAutomaticFetch(true);
  arm({});
  feed(historyExchange({"A", "B"}));
  EXPECT_EQ(host.writtenLog, entries({"A", "B"}));
  // Nothing of the exchange is echoed up to the completion; what the router
  // prints after the last prompt is echoed again.
  EXPECT_EQ(host.payloads("echo"), (Lines{"Bye."}));
  EXPECT_FALSE(parser.automaticFetch());
}

TEST_F(HistoryCaptureTest, TaggedEntriesAreCapturedAsTagged) {
  host.names = {toSjis("A:Office")};
  EXPECT_EQ(fetch({}, {"A"}), (Lines{entry("A") + " Office"}));
}

TEST_F(HistoryCaptureTest, PollExchangesCaptureNothing) {
  host.command = false;
  EXPECT_EQ(fetch({}, {"A", "B"}), Lines{});
  EXPECT_EQ(host.payloads("history").size(), 1u);  // still completes: the file is rewritten as loaded
}

}  // namespace
}  // namespace tarvik::test
