#include "journal/callwatch.h"

#include <gtest/gtest.h>

#include "base/sjis.h"
#include "journal/journaltime.h"

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

TEST_F(CallWatchTest, AConnectionIsRecordedWhenItEndsWithItsStartedMinutes) {
  watch.dialled(4);
  watch.channelSeen(0, dialling("0223335555"), at(22, 58));
  EXPECT_TRUE(sink.notices.empty());  // no address yet
  watch.channelSeen(0, online("203.0.113.9", "0223335555"), at(22, 58, 30));
  ASSERT_EQ(sink.notices.size(), 1u);
  EXPECT_EQ(sink.notices[0].kind, NoticeKind::Connected);
  EXPECT_EQ(sink.notices[0].text, "大学 203.0.113.9");
  watch.channelSeen(0, online("203.0.113.9", "0223335555"), at(23, 30));
  watch.channelSeen(0, idle(), at(23, 30, 31));  // 32 minutes and a second: 33 started
  ASSERT_EQ(sink.records.size(), 1u);
  const JournalRecord& r = sink.records[0];
  EXPECT_EQ(r.event, JournalEvent::Outgoing);
  EXPECT_EQ(r.destination, "#4");
  EXPECT_EQ(r.name, "大学");
  EXPECT_EQ(r.number, "0223335555");
  EXPECT_EQ(r.ip, "203.0.113.9");
  EXPECT_EQ(r.minutes, 33);
  ASSERT_TRUE(r.end);
  EXPECT_EQ(formatJournalTime(*r.end), "2026-12-10 23:30:31");
  ASSERT_EQ(sink.notices.size(), 2u);
  EXPECT_EQ(sink.notices[1].kind, NoticeKind::Disconnected);
  EXPECT_EQ(sink.notices[1].text, "大学 接続時間 33分");
}

TEST_F(CallWatchTest, ADestinationTheListDoesNotHoldIsTheOneDialled) {
  watch.dialled(0);
  watch.channelSeen(1, online("10.0.0.2", "0399990000"), at(10, 0));
  watch.channelSeen(1, idle(), at(10, 0, 40));
  ASSERT_EQ(sink.records.size(), 1u);
  EXPECT_EQ(sink.records[0].destination, "#0");
  EXPECT_EQ(sink.records[0].name, "Tarvik ISP");
  EXPECT_EQ(sink.records[0].number, "0399990000");
  EXPECT_EQ(sink.records[0].minutes, 1);
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
  watch.routerBack(at(12, 4, 1));
  watch.routerBack(at(12, 5));  // already back
  ASSERT_EQ(sink.records.size(), 1u);
  EXPECT_EQ(sink.records[0].event, JournalEvent::Unreachable);
  EXPECT_EQ(formatJournalTime(sink.records[0].start), "2026-12-10 12:00:00");
  EXPECT_EQ(sink.records[0].minutes, 5);
  ASSERT_EQ(sink.notices.size(), 2u);
  EXPECT_EQ(sink.notices[0].kind, NoticeKind::RouterSilent);
  EXPECT_EQ(sink.notices[1].kind, NoticeKind::RouterBack);
}

}  // namespace
}  // namespace tarvik
