#include "engine/journal/routerlines.h"

#include <gtest/gtest.h>

#include "engine/base/sjis.h"

namespace tarvik {
namespace {

std::string shown(const RouterDestination& d) {
  return std::to_string(d.index) + "|" + toUtf8(d.name) + "|" + toUtf8(d.number);
}

TEST(RouterLines, DestinationsAreReadAsTheRouterNamesThem) {
  const std::pair<const char*, const char*> cases[] = {
      {"#0:Tarvik ISP 0312345678", "0|Tarvik ISP|0312345678"},
      {"#1:会社", "1|会社|"},
      {"  #15:本社 第二 0612345678 ", "15|本社 第二|0612345678"},
      {"#3:", "3||"},
      {"#16:多すぎる", "-1||"},
      {"#123:x", "-1||"},
      {"会社 0312345678", "-1||"},
      {"", "-1||"},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(shown(parseRouterDestination(toSjis(text))), expected) << text;
}

TEST(RouterLines, DialsBegunAndFailedAreFoundLineByLine) {
  const std::string answer = toSjis(
      "#4:大学 へ接続中．\n\r#1:会社 接続に失敗しました（認証エラー）\n\r"
      "#1:会社 接続に失敗しました（認証エラー）\n\r#3: 番号を設定してください\n\r接続に失敗しました\n\r"
      // The history tells of the past again at every fetch: no new dials.
      "12/10 20:00:00 #2:本社 へ接続中．\n\r12/10 20:00:30 #2:本社 接続に失敗しました\n\r");
  EXPECT_EQ(findDialStarts(answer), std::vector<int>{4});
  std::vector<std::string> failures;
  for (const DialFailure& f : findDialFailures(answer))
    failures.push_back(shown(f.destination) + "|" + toUtf8(f.reason) + (f.past ? " (past)" : ""));
  EXPECT_EQ(failures,
            (std::vector<std::string>{
                "1|会社||接続に失敗しました（認証エラー）", "1|会社||接続に失敗しました（認証エラー）",
                "3|||番号を設定してください", "-1|||接続に失敗しました", "-1|||接続に失敗しました (past)"}));
}

TEST(RouterLines, TheNewestHistoryLineOfAChannelTellsWhatIsUpOnIt) {
  const std::string history = toSjis(
      "12/10 20:00:00 B1 接続 #4:大学 0223335555\n\r"
      "12/10 20:30:00 B2 接続 #0:Tarvik ISP 0312345678\n\r"
      "12/10 20:31:00 B1 切断 #4:大学 0223335555 31分\n\r"
      "12/10 21:00:00 アナログ1 発信 0663334444 通話 12分\n\r");
  const std::array<ChannelHistory, 2> news = findChannelHistory(history);
  EXPECT_TRUE(news[0].mentioned);
  EXPECT_FALSE(news[0].connectedTo);  // ended
  ASSERT_TRUE(news[1].connectedTo);
  EXPECT_EQ(shown(*news[1].connectedTo), "0|Tarvik ISP|0312345678");

  const std::array<ChannelHistory, 2> none = findChannelHistory(toSjis("B1チャネルを接続しました。\n\r"));
  EXPECT_FALSE(none[0].mentioned);
  EXPECT_FALSE(none[1].mentioned);
}

}  // namespace
}  // namespace tarvik
