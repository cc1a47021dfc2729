#include "engine/journal/callwatch.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "engine/base/sjis.h"
#include "engine/journal/callmessages.h"
#include "engine/journal/journaltime.h"
#include "engine/journal/monthsummary.h"
#include "engine/journal/tariff.h"

namespace tarvik {
namespace {

struct Recorded : CallWatch::Sink {
  std::vector<JournalRecord> records;
  std::vector<Notice> notices;
  void record(const JournalRecord& r) override { records.push_back(r); }
  void notice(const Notice& n) override { notices.push_back(n); }
};

ChannelState idle() {
  ChannelState s;
  s.Idle = true;
  for (auto& t : s.texts) t = toSjis("空き");
  return s;
}

ChannelState busyChannel(const std::string& status, const std::string& ip, const std::string& number) {
  ChannelState s;
  s.text(ChannelState::StatusText) = toSjis(status);
  s.text(ChannelState::IPAddress) = ip;
  s.text(ChannelState::PhoneNumber) = number;
  return s;
}

ChannelState ringing(const std::string& number) { return busyChannel("呼び出し中（着信）", "", number); }
ChannelState dialling(const std::string& number) { return busyChannel("ダイヤル中", "", number); }
ChannelState online(const std::string& ip, const std::string& number) {
  return busyChannel("通信中", ip, number);
}
// Online, the router counting minutes connected ("  25" before the "/").
ChannelState onlineFor(int minutes, const std::string& ip, const std::string& number) {
  ChannelState s = online(ip, number);
  s.text(ChannelState::ConnectTime) =
      (minutes < 10 ? "   " : "  ") + std::to_string(minutes) + toSjis("分間");
  return s;
}

// What the router prints when a channel's connection comes up and ends.
std::string connectedMessage(const char* channel) {
  return toSjis(std::string(channel) + "チャネルを接続しました。\n\r");
}
std::string endedMessage(const char* channel, const std::string& lineAfter) {
  return toSjis(std::string(channel) + "チャネルを切断しました。\n\r" + lineAfter + "\n\r");
}

std::string describe(const Notice& n) { return n.title + ": " + n.text; }

class CallWatchTest : public testing::Test {
 protected:
  LocalTime at(int hour, int minute, int second = 0) const { return {2026, 12, 10, hour, minute, second}; }

  std::vector<std::string> names{toSjis("0312341234:山田"), toSjis("0223335555:大学の友人")};
  std::vector<std::string> destinations = [] {
    std::vector<std::string> d(16);
    d[0] = toSjis("#0  Tarvik ISP      PPP       0312345678");
    d[4] = toSjis("#4  大学            PPP       0223335555");
    return d;
  }();
  Recorded sink;
  CallWatch watch{sink, names, destinations};
};

TEST_F(CallWatchTest, ARingThatStopsWithoutAConnectionIsAMissedCall) {
  watch.channelSeen(0, idle(), at(9, 0));
  watch.channelSeen(0, ringing("0312341234"), at(9, 1, 5));
  ASSERT_EQ(sink.notices.size(), 1u);
  EXPECT_EQ(sink.notices[0].kind, NoticeKind::IncomingCall);
  EXPECT_EQ(sink.notices[0].text, "山田 0312341234");
  watch.channelSeen(0, ringing("0312341234"), at(9, 1, 10));  // still the same call
  EXPECT_EQ(sink.notices.size(), 1u);
  EXPECT_TRUE(sink.records.empty());

  watch.channelSeen(0, idle(), at(9, 1, 20));
  ASSERT_EQ(sink.records.size(), 1u);
  const JournalRecord& r = sink.records[0];
  EXPECT_EQ(r.event, JournalEvent::Incoming);
  EXPECT_TRUE(r.missed());
  EXPECT_EQ(formatJournalTime(r.start), "2026-12-10 09:01:05");
  EXPECT_EQ(r.channel, "B1");
  EXPECT_EQ(r.number, "0312341234");
  EXPECT_EQ(r.name, "山田");
}

TEST_F(CallWatchTest, ARingThatBecomesAConnectionIsAnswered) {
  watch.channelSeen(1, ringing("0399999999"), at(9, 0));
  watch.channelSeen(1, busyChannel("通信中（着信）", "", "0399999999"), at(9, 0, 10));
  ASSERT_EQ(sink.records.size(), 1u);
  EXPECT_EQ(sink.records[0].result, kJournalAnswered);
  EXPECT_EQ(sink.records[0].channel, "B2");
  EXPECT_EQ(sink.records[0].name, "");  // not in the name list
  EXPECT_EQ(sink.notices[0].text, "0399999999");
  watch.channelSeen(1, idle(), at(9, 5));
  EXPECT_EQ(sink.records.size(), 1u);  // no connection of ours: no time online
}

TEST_F(CallWatchTest, AConnectionIsRecordedWhenItEndsWithItsWholeMinutes) {
  watch.dialled(4);
  watch.channelSeen(0, dialling("0223335555"), at(22, 58));
  EXPECT_TRUE(sink.notices.empty());  // no address yet
  watch.channelSeen(0, online("203.0.113.9", "0223335555"), at(22, 58, 30));
  ASSERT_EQ(sink.notices.size(), 1u);
  EXPECT_EQ(sink.notices[0].kind, NoticeKind::Connected);
  EXPECT_EQ(sink.notices[0].text, "大学 203.0.113.9");
  watch.channelSeen(0, online("203.0.113.9", "0223335555"), at(23, 30));
  watch.channelSeen(0, idle(), at(23, 30, 59));  // 32 minutes and 29 seconds: 32, as the status line counts
  ASSERT_EQ(sink.records.size(), 1u);
  const JournalRecord& r = sink.records[0];
  EXPECT_EQ(r.event, JournalEvent::Outgoing);
  EXPECT_EQ(r.destination, "#4");
  EXPECT_EQ(r.name, "大学");
  EXPECT_EQ(r.number, "0223335555");
  EXPECT_EQ(r.ip, "203.0.113.9");
  EXPECT_EQ(r.minutes, 32);
  ASSERT_TRUE(r.end);
  EXPECT_EQ(formatJournalTime(*r.end), "2026-12-10 23:30:59");
  ASSERT_EQ(sink.notices.size(), 2u);
  EXPECT_EQ(sink.notices[1].kind, NoticeKind::Disconnected);
  EXPECT_EQ(sink.notices[1].text, "大学 接続時間 32分");
}

TEST_F(CallWatchTest, ADestinationTheListDoesNotHoldIsTheOneDialled) {
  watch.dialled(0);
  watch.channelSeen(1, online("10.0.0.2", "0399990000"), at(10, 0));
  watch.channelSeen(1, idle(), at(10, 0, 40));
  ASSERT_EQ(sink.records.size(), 1u);
  EXPECT_EQ(sink.records[0].destination, "#0");
  EXPECT_EQ(sink.records[0].name, "Tarvik ISP");
  EXPECT_EQ(sink.records[0].number, "0399990000");
  EXPECT_EQ(sink.records[0].minutes, 0);
}

TEST_F(CallWatchTest, ADialThatNeverConnectedLeavesNoConnection) {
  watch.channelSeen(0, dialling("0312345678"), at(10, 0));
  watch.channelSeen(0, idle(), at(10, 1));
  EXPECT_TRUE(sink.records.empty());
  EXPECT_TRUE(sink.notices.empty());
}

TEST_F(CallWatchTest, FailedAndBusyDialsNameTheDestinationDialled) {
  watch.dialled(4);
  watch.dialFailed(toSjis("接続に失敗しました"), at(11, 0));
  watch.busy(at(11, 1));
  watch.dialFailed(toSjis("既に切断されています"), at(11, 2));  // a disconnect, not a dial
  ASSERT_EQ(sink.records.size(), 2u);
  EXPECT_EQ(sink.records[0].event, JournalEvent::Failed);
  EXPECT_EQ(sink.records[0].destination, "#4");
  EXPECT_EQ(sink.records[0].result, "接続に失敗しました");
  EXPECT_EQ(sink.records[1].event, JournalEvent::Busy);
  EXPECT_EQ(sink.records[1].name, "大学");
  ASSERT_EQ(sink.notices.size(), 2u);
  EXPECT_EQ(sink.notices[0].text, "大学 接続に失敗しました");
  EXPECT_EQ(sink.notices[1].title, "話中");
}

TEST_F(CallWatchTest, TheRouterSilenceIsOneRecordFromItsStartToItsEnd) {
  watch.routerSilent(at(12, 0));
  watch.routerSilent(at(12, 1));  // still silent
  watch.routerBack(at(12, 4, 59));
  watch.routerBack(at(12, 5, 30));  // already back
  ASSERT_EQ(sink.records.size(), 1u);
  EXPECT_EQ(sink.records[0].event, JournalEvent::Unreachable);
  EXPECT_EQ(formatJournalTime(sink.records[0].start), "2026-12-10 12:00:00");
  EXPECT_EQ(sink.records[0].minutes, 4);
  ASSERT_EQ(sink.notices.size(), 2u);
  EXPECT_EQ(sink.notices[0].kind, NoticeKind::RouterSilent);
  EXPECT_EQ(sink.notices[1].kind, NoticeKind::RouterBack);
}

TEST(CallMessages, AreFoundWithTheirChannelAndTheRoutersMinutesInOrder) {
  struct Case {
    const char* answer;  // UTF-8, LF CR line ends as the router prints them
    std::vector<std::string> expected;
  };
  auto text = [](const CallMessage& m) {
    return std::string(m.kind == CallMessage::Kind::Connected ? "up " : "down ") + std::to_string(m.channel) +
           (m.minutes ? " " + std::to_string(*m.minutes) : "");
  };
  const Case cases[] = {
      {"B1チャネルを接続しました。\n\r", {"up 0"}},
      {"B2チャネルを切断しました。\n\r接続時間 12分\n\r", {"down 1 12"}},
      {"B1チャネルを接続しました。\n\rB1チャネルを切断しました。\n\r網側から切断されました 接続時間 0分\n\r",
       {"up 0", "down 0 0"}},
      {"B1チャネルを切断しました。\n\r網側から切断されました 接続時間 3分\n\rB2チャネルを接続しました。\n\r",
       {"down 0 3", "up 1"}},
      {"B1チャネルを切断しました。\n\r発信を中止しました\n\r", {"down 0"}},  // a dial given up: no minutes
      {"B1チャネルを切断しました。\n\r", {"down 0"}},                        // the line after not come yet
      {"チャネルを切断しました。\n\r接続時間 2分\n\r", {"down -1 2"}},       // no channel named
      {"B2チャネルは既に切断されています\n\r既に切断されています\n\r", {}},
      {"B1チャネル：通信中\n\r  接続時間（分）[   2/  10]\n\r", {}},  // a status block is no message
  };
  for (const Case& c : cases) {
    std::vector<std::string> found;
    for (const CallMessage& m : findCallMessages(toSjis(c.answer))) found.push_back(text(m));
    EXPECT_EQ(found, c.expected) << c.answer;
  }
}

TEST(CallMessages, TheConnectionTimeFieldGivesItsWholeMinutes) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"   2分間", 2},    {"  25分間", 25},           {"1440分間", 1440},      {"空き", std::nullopt},
      {"", std::nullopt}, {"    分間", std::nullopt}, {"通信中", std::nullopt}};
  for (const auto& [field, minutes] : cases)
    EXPECT_EQ(connectionFieldMinutes(toSjis(field)), minutes) << field;
}

// A call that comes up and is dropped between two polls shows only in the
// router's messages (and perhaps one status block without its address):
// it is journaled and told all the same, with the router's minutes.
TEST_F(CallWatchTest, ACallShorterThanAPollIsJournaledAndToldFromTheRoutersMessages) {
  struct Case {
    const char* name;
    std::vector<std::string> answers;  // each before the idle status block
  };
  const std::string up = connectedMessage("B1");
  const std::string down = endedMessage("B1", "網側から切断されました 接続時間 0分");
  const Case cases[] = {
      {"both messages in one answer", {up + down}},
      {"one message in each answer", {up, down}},
      {"only the ending message", {down}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recorded seen;
    CallWatch w{seen, names, destinations};
    w.dialled(4);
    w.channelSeen(0, idle(), at(20, 0));
    w.channelSeen(0, dialling("0223335555"), at(20, 0, 5));
    for (const std::string& answer : c.answers) {
      w.answerSeen(answer, at(20, 0, 10));
      w.channelSeen(0, idle(), at(20, 0, 10));
    }
    w.channelSeen(0, idle(), at(20, 0, 15));
    ASSERT_EQ(seen.records.size(), 1u);
    const JournalRecord& r = seen.records[0];
    EXPECT_EQ(r.event, JournalEvent::Outgoing);
    EXPECT_EQ(r.channel, "B1");
    EXPECT_EQ(r.destination, "#4");
    EXPECT_EQ(r.name, "大学");
    EXPECT_EQ(r.minutes, 0);
    EXPECT_EQ(formatJournalTime(*r.end), "2026-12-10 20:00:10");
    std::vector<std::string> told;
    for (const Notice& n : seen.notices) told.push_back(describe(n));
    EXPECT_EQ(told, (std::vector<std::string>{"接続: 大学", "切断: 大学 接続時間 0分"}));
  }
}

// The minutes told and journaled are those the router counts (and the
// status line shows), not one more for a minute begun.
TEST_F(CallWatchTest, TheMinutesAreTheRoutersCount) {
  struct Case {
    const char* name;
    bool endingMessage;  // the router's message ends it, else an idle status block
    int expected;
  };
  const Case cases[] = {{"ended by the router's message", true, 2}, {"ended by the status block", false, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recorded seen;
    CallWatch w{seen, names, destinations};
    w.dialled(0);
    w.channelSeen(0, idle(), at(8, 0));
    w.answerSeen(connectedMessage("B1"), at(8, 0, 5));
    w.channelSeen(0, onlineFor(0, "203.0.113.9", "0312345678"), at(8, 0, 5));
    w.channelSeen(0, onlineFor(1, "203.0.113.9", "0312345678"), at(8, 1, 50));
    // Two minutes and 35 seconds: the status line shows 2分 35秒, the
    // router says 2分; the third minute is begun, not online.
    const LocalTime end = at(8, 2, 40);
    if (c.endingMessage) w.answerSeen(endedMessage("B1", "接続時間 2分"), end);
    w.channelSeen(0, idle(), end);
    ASSERT_EQ(seen.records.size(), 1u);
    EXPECT_EQ(seen.records[0].minutes, c.expected);
    ASSERT_EQ(seen.notices.size(), 2u);
    EXPECT_EQ(describe(seen.notices[1]), "切断: Tarvik ISP 接続時間 " + std::to_string(c.expected) + "分");
  }
}

// A connection that was up when the program started is no news: it is not
// announced, and it is journaled from the start the router's count gives.
// One the program dialled itself, seen up at the first look, is news.
TEST_F(CallWatchTest, AConnectionUpBeforeTheStartBeginsWhenTheRouterSaysAndIsNotAnnounced) {
  struct Case {
    const char* name;
    bool dialledFirst;
    std::vector<std::string> notices;
  };
  const Case cases[] = {
      {"up before the start", false, {"切断: Tarvik ISP 接続時間 31分"}},
      {"dialled by this program", true, {"接続: Tarvik ISP 203.0.113.9", "切断: Tarvik ISP 接続時間 31分"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recorded seen;
    CallWatch w{seen, names, destinations};
    if (c.dialledFirst) w.dialled(0);
    w.channelSeen(0, onlineFor(25, "203.0.113.9", "0312345678"), at(10, 0));
    w.channelSeen(0, onlineFor(26, "203.0.113.9", "0312345678"), at(10, 0, 40));  // 09:34:40 at the latest
    w.channelSeen(0, idle(), at(10, 5, 50));
    ASSERT_EQ(seen.records.size(), 1u);
    const JournalRecord& r = seen.records[0];
    EXPECT_EQ(formatJournalTime(r.start), "2026-12-10 09:34:40");
    EXPECT_EQ(r.destination, "#0");
    EXPECT_EQ(r.minutes, 31);
    std::vector<std::string> told;
    for (const Notice& n : seen.notices) told.push_back(describe(n));
    EXPECT_EQ(told, c.notices);
  }
}

// The status block printed before the router's ending message still shows
// the connection; it is not taken for a new one, and a message that comes
// after the status block has ended a connection is not a second one.
TEST_F(CallWatchTest, AConnectionEndsOnceWhicheverWayTheEndIsSeenFirst) {
  watch.dialled(0);
  watch.channelSeen(0, online("203.0.113.9", "0312345678"), at(9, 0));
  watch.answerSeen(endedMessage("B1", "接続時間 4分"), at(9, 4, 30));
  watch.channelSeen(0, online("203.0.113.9", "0312345678"), at(9, 4, 30));
  watch.channelSeen(0, idle(), at(9, 4, 35));
  ASSERT_EQ(sink.records.size(), 1u);
  EXPECT_EQ(sink.records[0].minutes, 4);

  watch.dialled(0);
  watch.channelSeen(0, online("203.0.113.10", "0312345678"), at(9, 10));
  watch.channelSeen(0, idle(), at(9, 12, 30));
  watch.answerSeen(endedMessage("B1", "接続時間 2分"), at(9, 12, 35));
  ASSERT_EQ(sink.records.size(), 2u);
  EXPECT_EQ(sink.records[1].ip, "203.0.113.10");
  EXPECT_EQ(sink.records[1].minutes, 2);
  std::size_t ended = 0;
  for (const Notice& n : sink.notices) ended += n.kind == NoticeKind::Disconnected;
  EXPECT_EQ(ended, 2u);
}

// The router's counts move a connection's start back only as far as what
// was seen of the channel allows, and no record is longer than the longest
// month: a count of 999999999 minutes journals no call from the year 125.
TEST_F(CallWatchTest, TheRoutersCountsGoNoFurtherBackThanWhatWasSeen) {
  const std::string absurd = "999999999";
  struct Case {
    const char* name;
    std::vector<ChannelState> before;  // the status blocks before the end, at 9:00 and 9:00:05
    bool endingMessage;  // the router's message with its count ends it at 9:10, else an idle status block
    const char* start;
    int minutes;
  };
  const ChannelState up = onlineFor(0, "203.0.113.9", "0312345678");
  ChannelState counted = up;
  counted.text(ChannelState::ConnectTime) = absurd + toSjis("分間");
  const Case cases[] = {
      {"the ending message on a channel seen idle", {idle()}, true, "2026-12-10 09:00:00", 10},
      {"the ending message on a channel not seen before", {}, true, "2026-12-10 09:10:00", 0},
      {"the status count on a channel seen idle", {idle(), counted}, false, "2026-12-10 09:00:00", 10},
      {"the ending message of a connection seen up", {idle(), up}, true, "2026-12-10 09:00:00", 10},
      {"the status count at the first look", {counted}, false, "2026-11-09 09:10:00", 44640},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recorded seen;
    CallWatch w{seen, names, destinations};
    LocalTime when = at(9, 0);
    for (const ChannelState& state : c.before) {
      w.channelSeen(0, state, when);
      when = at(9, 0, 5);
    }
    if (c.endingMessage) w.answerSeen(endedMessage("B1", "接続時間 " + absurd + "分"), at(9, 10));
    w.channelSeen(0, idle(), at(9, 10));
    ASSERT_EQ(seen.records.size(), 1u);
    const JournalRecord& r = seen.records[0];
    EXPECT_EQ(formatJournalTime(r.start), c.start);
    EXPECT_EQ(r.minutes, c.minutes);
    EXPECT_TRUE(plausibleRecord(r));
  }
}

// Every failed dial of an answer is journaled on its own, with the
// destination and name the router's line gives and the router's reason.
// The parser reports each kind of message once per answer; that report
// adds nothing to what the lines told.
TEST_F(CallWatchTest, EachFailedDialOfAnAnswerIsJournaledWithItsDestinationAndReason) {
  struct Case {
    const char* name;
    const char* answer;
    std::vector<std::string> expected;  // destination|name|result of each record
  };
  const Case cases[] = {
      {"two failures of one destination",
       "#1:会社 接続に失敗しました（認証エラー）\n\r#1:会社 接続に失敗しました（認証エラー）\n\r",
       {"#1|会社|接続に失敗しました（認証エラー）", "#1|会社|接続に失敗しました（認証エラー）"}},
      {"a destination the list names",
       "#4:大学 接続に失敗しました（相手応答なし）\n\r",
       {"#4|大学|接続に失敗しました（相手応答なし）"}},
      {"a destination without a number", "#3: 番号を設定してください\n\r", {"#3||番号を設定してください"}},
      {"a failure naming no destination", "接続に失敗しました\n\r", {"#0|Tarvik ISP|接続に失敗しました"}},
      {"a disconnect on a free line", "既に切断されています\n\r", {}},
      {"a failure the history tells again", "12/10 20:00:30 B1 #2:本社 接続に失敗しました\n\r", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recorded seen;
    CallWatch w{seen, names, destinations};
    w.dialled(0);
    const std::string answer = toSjis(c.answer);
    w.answerSeen(answer, at(11, 0));
    for (const char* message : {"接続に失敗しました", "既に切断されています", "番号を設定してください"})
      if (answer.find(toSjis(message)) != std::string::npos) w.dialFailed(toSjis(message), at(11, 0));
    std::vector<std::string> journaled;
    for (const JournalRecord& r : seen.records) {
      EXPECT_EQ(r.event, JournalEvent::Failed);
      journaled.push_back(r.destination + "|" + r.name + "|" + r.result);
    }
    EXPECT_EQ(journaled, c.expected);
    EXPECT_EQ(seen.notices.size(), c.expected.size());
  }
  // Before the destination list is known the router's line names it alone.
  Recorded seen;
  const std::vector<std::string> noList;
  CallWatch w{seen, names, noList};
  w.answerSeen(toSjis("#1:会社 接続に失敗しました（認証エラー）\n\r"), at(11, 0));
  ASSERT_EQ(seen.records.size(), 1u);
  EXPECT_EQ(seen.records[0].destination + "|" + seen.records[0].name, "#1|会社");
}

// A connection the status blocks never showed is named from what the
// router told of it: its history (with the number), or the dial it
// reported begun. So a flat-rate destination costs nothing at night.
TEST_F(CallWatchTest, AConnectionSeenOnlyInTheRoutersMessagesIsNamedFromWhatTheRouterTold) {
  const std::string history = toSjis(
      "12/10 20:00:00 B1 接続 #4:大学 0223335555\n\r"
      "12/10 20:30:00 B1 切断 #4:大学 0223335555 30分\n\r"
      "12/10 23:00:08 B2 接続 #4:大学 0223335555\n\r"
      "12/10 23:00:08 B1 接続 #0:Tarvik ISP 0312345678\n\r");
  struct Case {
    const char* name;
    std::vector<std::string> answers;  // between the channel's idle status and the ending message
    const char* number;
  };
  const Case cases[] = {
      {"the history fetched while it was up", {connectedMessage("B1"), history}, "0312345678"},
      {"the dial the router reported", {toSjis("#0:Tarvik ISP へ接続中．\n\r") + connectedMessage("B1")}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recorded seen;
    CallWatch w{seen, names, destinations};
    w.channelSeen(0, idle(), at(23, 0));
    for (const std::string& answer : c.answers) w.answerSeen(answer, at(23, 0, 10));
    w.answerSeen(endedMessage("B1", "網側から切断されました 接続時間 26分"), at(23, 26, 20));
    ASSERT_EQ(seen.records.size(), 1u);
    const JournalRecord& r = seen.records[0];
    EXPECT_EQ(r.destination, "#0");
    EXPECT_EQ(r.name, "Tarvik ISP");
    EXPECT_EQ(r.number, c.number);
    EXPECT_EQ(r.minutes, 26);

    Tariff flatForZero;  // [TARIFF] FLATDEST=0, the night from 23:00
    flatForZero.flatDestinations = parseFlatDestinations("0");
    const MonthSummary month = summarizeMonth(seen.records, 2026, 12, flatForZero);
    EXPECT_EQ(month.flatMinutes, 26);
    EXPECT_EQ(month.yen, 0);
  }
}

}  // namespace
}  // namespace tarvik
