// Calls over time: dialling, connecting, the outcome messages, disconnects,
// incoming analogue calls, and the history they leave.

#include <gtest/gtest.h>

#include "clientcuts.h"
#include "sim/simharness.h"

namespace simtest {
namespace {

// The Shift-JIS output of one exchange.
std::string poll(const Sim& sim, const std::vector<std::string>& commands = {"sh s"}) {
  return converse(sim.console, loginBatch(commands)).bytes();
}

int minutes(const ChannelCut& c) { return std::stoi(c.time); }

TEST(SimCalls, DialConnectsAfterTheDelayAndTheLineLivesOn) {
  Sim sim({"--minute-ms", "100"});
  const std::string dialled = poll(sim, {"co 0", "sh s"});
  EXPECT_TRUE(contains(u8(dialled), "#0:Tarvik ISP へ接続中．"));
  EXPECT_FALSE(contains(dialled, sj("ルを接続し")));
  const ChannelCut dialling = cutB1(dialled);
  EXPECT_EQ(u8(dialling.status), "ダイヤル中");
  EXPECT_FALSE(dialling.idle);
  EXPECT_EQ(dialling.number, "0312345678");

  ASSERT_TRUE(waitForState(sim, " b1=connected:0:"));
  const std::string first = poll(sim);
  EXPECT_EQ(count(first, sj("ルを接続し")), 1) << "the connection is reported once, in the next output";
  EXPECT_TRUE(contains(u8(first), "B1チャネルを接続しました。"));
  const ChannelCut connected = cutB1(first);
  EXPECT_EQ(u8(connected.status), "通信中");
  EXPECT_EQ(count(connected.ip, "."), 3) << connected.ip;
  EXPECT_EQ(connected.mode, "PPP");
  EXPECT_EQ(connected.number, "0312345678");
  EXPECT_EQ(count(connected.usage, "/"), 2) << connected.usage;
  EXPECT_TRUE(cutB2(first).idle);

  // The simulated minutes pass: the connection time grows and the line
  // usage moves, and the connection is never reported again.
  std::set<std::string> usages = {connected.usage};
  std::string later;
  EXPECT_TRUE(waitUntil([&] {
    later = poll(sim);
    EXPECT_FALSE(contains(later, sj("ルを接続し")));
    usages.insert(cutB1(later).usage);
    return minutes(cutB1(later)) > minutes(connected) && usages.size() > 1;
  })) << "connection time and line usage stand still";
  EXPECT_EQ(cutB1(later).ip, connected.ip);

  const std::string dropped = u8(poll(sim, {"dis b1", "sh s"}));
  const std::size_t msg = dropped.find("B1チャネルを切断しました。\n\r接続時間 ");
  ASSERT_NE(msg, std::string::npos) << dropped;
  EXPECT_TRUE(cutB1(sj(dropped)).idle);

  const std::vector<std::string> history = lines(u8(poll(sim, {"sh h"})));
  std::vector<std::string> entries;
  for (const auto& l : history)
    if (l.size() > 2 && l[2] == '/') entries.push_back(l);
  ASSERT_GE(entries.size(), 2u);
  EXPECT_TRUE(contains(entries[entries.size() - 2], " B1 接続 #0:Tarvik ISP 0312345678"));
  EXPECT_TRUE(contains(entries.back(), " B1 切断 #0:Tarvik ISP 0312345678 "));
}

struct OutcomeCase {
  const char* name;
  const char* control;  // set-up request, or ""
  int destination;
  const char* notice;       // reported in the output after the delay
  const char* historyWord;  // ends the history entry
};

class SimCallOutcome : public testing::TestWithParam<OutcomeCase> {};

TEST_P(SimCallOutcome, IsReportedOnceInTheNextOutputAndLogged) {
  const OutcomeCase& c = GetParam();
  Sim sim;
  if (*c.control) {
    ASSERT_EQ(sim.control(c.control), "OK");
  }
  const std::string co = "co " + std::to_string(c.destination);
  EXPECT_TRUE(contains(u8(poll(sim, {co, "sh s"})), "へ接続中．"));
  ASSERT_TRUE(waitForState(sim, " b1=idle "));
  const std::string next = poll(sim);
  EXPECT_EQ(count(u8(next), c.notice), 1) << u8(next);
  EXPECT_FALSE(contains(next, sj("ルを接続し")));
  EXPECT_TRUE(cutB1(next).idle);
  EXPECT_FALSE(contains(u8(poll(sim)), c.notice)) << "reported once only";
  const std::string history = u8(poll(sim, {"sh h"}));
  EXPECT_TRUE(contains(history, std::string(c.historyWord) + "\n\r")) << history;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimCallOutcome,
    testing::Values(OutcomeCase{"Busy", "busy 2", 2, "#2:実家 接続できません（着ユーザビジー）", "相手話中"},
                    OutcomeCase{"Failing", "failing 4", 4, "#4:大学 接続に失敗しました（相手応答なし）",
                                "応答なし"},
                    OutcomeCase{"PerCallWithoutPassword", "", 1, "#1:会社 接続に失敗しました（認証エラー）",
                                "認証エラー"}),
    [](const auto& info) { return info.param.name; });

TEST(SimCalls, PerCallCredentialsAreTakenWhenTheCallIsPlaced) {
  Sim sim;
  // The client's chain: ID, password, dial, then the password cleared again.
  const std::string out = u8(poll(sim, {"rem 1 s i taro", "rem 1 s p pw", "co 1", "rem 1 s p"}));
  EXPECT_TRUE(contains(out, "#1:会社 へ接続中．"));
  EXPECT_TRUE(contains(out, "#1:会社 のパスワードを消去しました。"));
  ASSERT_TRUE(waitForState(sim, " b1=connected:1:"));
  const std::string next = u8(poll(sim, {"sh s", "show ppp"}));
  EXPECT_TRUE(contains(next, "B1チャネルを接続しました。")) << next;
  EXPECT_TRUE(contains(next, "ユーザID taro"));
}

TEST(SimCalls, TwoChannelsThenNoneFree) {
  Sim sim;
  const std::string out = u8(poll(sim, {"co 0", "co 2", "co 4"}));
  EXPECT_EQ(count(out, "へ接続中．"), 2);
  EXPECT_TRUE(contains(out, "空きチャネルがありません。"));
  ASSERT_TRUE(waitForState(sim, " b1=connected:0:"));
  ASSERT_TRUE(waitForState(sim, " b2=connected:2:"));
  const std::string both = poll(sim);
  EXPECT_EQ(count(u8(both), "チャネルを接続しました。"), 2);
  const ChannelCut b1 = cutB1(both), b2 = cutB2(both);
  EXPECT_EQ(b2.number, "0663334444");
  EXPECT_NE(b1.ip, b2.ip);
  EXPECT_EQ(count(b2.ip, "."), 3);
  EXPECT_NO_THROW(std::stoi(b2.time)) << "B2's time is found by its own marker: " << b2.time;
  const std::string dropped = u8(poll(sim, {"dis a"}));
  EXPECT_TRUE(contains(dropped, "B1チャネルを切断しました。\n\r接続時間 "));
  EXPECT_TRUE(contains(dropped, "B2チャネルを切断しました。\n\r接続時間 "));
}

TEST(SimCalls, DisconnectWhileDiallingCancelsTheCall) {
  Sim sim;
  // B2's call is placed right after B1's, with the same delay: once it is
  // up, B1's call has had its time too.
  const std::string out = u8(poll(sim, {"co 0", "co 2", "dis b1"}));
  EXPECT_TRUE(contains(out, "B1チャネルを切断しました。\n\r発信を中止しました\n\r"));
  ASSERT_TRUE(waitForState(sim, " b2=connected:2:"));
  const std::string next = poll(sim);
  EXPECT_FALSE(contains(u8(next), "B1チャネルを接続しました。")) << "the cancelled call never connects";
  EXPECT_TRUE(contains(u8(next), "B2チャネルを接続しました。"));
  EXPECT_TRUE(cutB1(next).idle);
  EXPECT_TRUE(contains(sim.control("state"), " b1=idle "));
}

TEST(SimCalls, TheNetworkDropsAConnectedLine) {
  Sim sim;
  poll(sim, {"co 0"});
  ASSERT_TRUE(waitForState(sim, " b1=connected:0:"));
  EXPECT_FALSE(cutB1(poll(sim)).idle);
  EXPECT_EQ(sim.control("hangup"), "OK 1");
  const std::string next = u8(poll(sim));
  EXPECT_TRUE(contains(next, "B1チャネルを切断しました。\n\r網側から切断されました 接続時間 ")) << next;
  EXPECT_TRUE(cutB1(sj(next)).idle);
  EXPECT_TRUE(contains(u8(poll(sim, {"sh h"})), " B1 切断(網側) #0:Tarvik ISP"));
}

TEST(SimCalls, IncomingAnalogueCallRingsOnB1) {
  Sim sim;
  EXPECT_EQ(sim.control("ring 0312345678"), "OK B1");
  const std::string ringing = poll(sim, {"sh s", "co 0", "sh s"});
  const ChannelCut b1 = cutB1(ringing);
  EXPECT_TRUE(contains(b1.status, sj("呼び出し中（着")));
  EXPECT_EQ(b1.number, "0312345678");
  EXPECT_TRUE(contains(b1.mode, sj("アナログ")));
  EXPECT_TRUE(contains(u8(ringing), "B2チャネル：ダイヤル中")) << "a dial takes the free channel";

  EXPECT_EQ(sim.control("stop-ring"), "OK");
  EXPECT_EQ(sim.control("stop-ring"), "ERR nothing is ringing");
  EXPECT_TRUE(cutB1(poll(sim)).idle);
  const std::string analog = u8(poll(sim, {"show history"}));
  EXPECT_TRUE(contains(analog, "アナログ1 着信 0312345678\n\r"));
  EXPECT_TRUE(contains(analog, "アナログ1 着信 0312345678 応答なし\n\r"));

  EXPECT_EQ(sim.control("ring 0452223333"), "OK B1");
  EXPECT_TRUE(contains(u8(poll(sim, {"dis b1"})), "B1チャネルを切断しました。\n\r着信を拒否しました"));
}

TEST(SimCalls, HistoryIsBoundedAndRollsOffItsOldestEntries) {
  Sim sim({"--history-size", "5"});
  for (int i = 1; i <= 7; ++i) ASSERT_EQ(sim.control("history 記録" + std::to_string(i)), "OK");
  std::vector<std::string> entries;
  for (const auto& l : lines(u8(poll(sim, {"sh h"}))))
    if (l.size() > 2 && l[2] == '/') entries.push_back(l);
  ASSERT_EQ(entries.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(contains(entries[i], " 記録" + std::to_string(i + 3))) << entries[i];
    EXPECT_EQ(entries[i][5], ' ');
  }
}

TEST(SimCalls, HistoryDatesFollowTheClockSetBySyT) {
  Sim sim;
  poll(sim, {"sy t 2026/12/10-9:07"});
  ASSERT_EQ(sim.control("history mark"), "OK");
  const std::string out = u8(poll(sim, {"sh h"}));
  EXPECT_TRUE(contains(out, "\n\r12/10 09:07:")) << out;
  EXPECT_TRUE(contains(sim.control("state"), " clock=2026/12/10-09:07:"));
}

}  // namespace
}  // namespace simtest
