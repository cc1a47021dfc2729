// The call journal and the notices, through the core: what the router
// shows becomes Tarvik-journal.csv lines and View notices, as [NOTIFY] lets
// them through.

#include "corefixture.h"
#include "engine/journal/journalfile.h"
#include "engine/journal/journaltime.h"

namespace tarvik::coretest {
namespace {

using Strings = std::vector<std::string>;

class CallJournalCore : public CoreTest {
 protected:
  void startIdle() {
    settings()->nameList = {toSjis("0312341234:山田")};
    start();
    answer(lastSocket(), exchange({{"sh ver", ""},
                                   {"sh r l", destinationLines({"Tarvik ISP", "大学"})},
                                   {"sh s", statusBlock()}}));
  }
  Strings journalEvents() const {
    Strings lines;
    for (const JournalRecord& r : readJournal(dir).records)
      lines.push_back(std::string(journalEventName(r.event)) + " " + r.channel + " " + r.destination + " " +
                      r.name + " " + r.number + " " + r.ip + " " + std::to_string(r.minutes) + " " +
                      r.result);
    return lines;
  }
};

TEST_F(CallJournalCore, ACallAMissedCallABusyDialAndASilentRouterAreJournalled) {
  settings()->notify.CONNECTED = true;
  settings()->notify.DISCONNECTED = true;
  settings()->notify.ROUTER = true;
  startIdle();
  const std::size_t before = events.size();

  // A dial to #1 that connects, stays up three minutes and ends.
  core->ConnectFromMenu(1);
  answer(lastSocket(), exchange({{"co 1", "大学へ接続中．\n"}, {"sh s", statusBlock()}}));
  Chan up = connected("203.0.113.9", "0312345001");
  up.time = "   0";
  poll(statusBlock(up), "B1チャネルを接続しました。\n");
  clock.advance(3 * 60 * 1000);
  poll(statusBlock(), "B1チャネルを切断しました。\n");
  // A call that rings and stops.
  poll(statusBlock({}, ringingFrom("0312341234")));
  poll(statusBlock());
  // A busy line seen by a poll, and a dial the router refuses.
  poll(statusBlock(), "#1 大学 接続できません（着ユーザビジー）\n");
  core->ConnectFromMenu(0);
  answer(lastSocket(), exchange({{"co 0", "接続に失敗しました\n"}, {"sh s", statusBlock()}}));
  // A poll that never gets its answer, three more ticks, then the answer.
  for (int i = 0; i < 4; ++i) core->Timer1Timer();
  clock.advance(60 * 1000);
  SocketId s = lastSocket();
  chainOf(s);
  core->AsyncSock1Receive(s, exchange({{"sh s", statusBlock()}}));

  EXPECT_EQ(journalEvents(), (Strings{
                                 "outgoing B1 #1 大学 0312345001 203.0.113.9 3 ",
                                 "incoming B2  山田 0312341234  0 missed",
                                 "busy  #1 大学   0 ",
                                 "failed  #0 Tarvik ISP   0 接続に失敗しました",
                                 "unreachable      1 ",
                             }));
  EXPECT_EQ(eventsSince(before, {"notify"}),
            (Strings{
                "notify connected 接続: 大学 203.0.113.9",
                "notify disconnected 切断: 大学 接続時間 3分",
                "notify incoming 着信: 山田 0312341234",
                "notify failed 話中: 大学",
                "notify failed 接続失敗: Tarvik ISP 接続に失敗しました",
                "notify router-silent ルーター: ルーターから応答がありません",
                "notify router-back ルーター: ルーターが再び応答しています",
            }));
}

TEST_F(CallJournalCore, NoticesFollowTheirSwitchesAndTheDefaults) {
  struct Case {
    void (*set)(SettingsStore&);
    Strings expected;
  };
  const Case cases[] = {
      {[](SettingsStore&) {},  // calls and failures on, the rest off
       {"notify incoming 着信: 山田 0312341234", "notify failed 話中: 大学"}},
      {[](SettingsStore& s) { s.notify.INCOMING = false; }, {"notify failed 話中: 大学"}},
      {[](SettingsStore& s) { s.notify.FAILED = false; }, {"notify incoming 着信: 山田 0312341234"}},
  };
  for (const Case& c : cases) {
    {
      SettingsEdit edit = settings();
      edit->notify = SettingsStore::NotifySection{};
      c.set(*edit);
    }
    startIdle();
    core->ConnectFromMenu(1);
    answer(lastSocket(), exchange({{"co 1", "大学へ接続中．\n"}, {"sh s", statusBlock()}}));
    const std::size_t before = events.size();
    poll(statusBlock(connected("203.0.113.9", "0312345001")));
    poll(statusBlock());
    poll(statusBlock(ringingFrom("0312341234")));
    poll(statusBlock(), "#1 大学 接続できません（着ユーザビジー）\n");
    EXPECT_EQ(eventsSince(before, {"notify"}), c.expected);
  }
}


// Dialled, up and dropped by the network between two polls: the poll after
// it shows an idle channel, and only the router's messages tell the call.
TEST_F(CallJournalCore, ACallShorterThanAPollIsJournaledAndNotified) {
  settings()->notify.CONNECTED = true;
  settings()->notify.DISCONNECTED = true;
  startIdle();
  core->ConnectFromMenu(1);
  answer(lastSocket(), exchange({{"co 1", "大学へ接続中．\n"}, {"sh s", statusBlock()}}));
  const std::size_t before = events.size();
  poll(statusBlock(),
       "B1チャネルを接続しました。\nB1チャネルを切断しました。\n網側から切断されました 接続時間 0分\n");
  poll(statusBlock());
  EXPECT_EQ(journalEvents(), (Strings{"outgoing B1 #1 大学   0 "}));
  EXPECT_EQ(eventsSince(before, {"notify"}),
            (Strings{"notify connected 接続: 大学", "notify disconnected 切断: 大学 接続時間 0分"}));
  EXPECT_EQ(view.status, "網側から切断されました 接続時間 0分");
}

// A connection that was up before the program started: the first status
// block shows it with the router's 25 minutes. It is no news, and the
// journal counts it from when the router says it began.
TEST_F(CallJournalCore, AConnectionUpBeforeTheStartIsJournaledFromItsRealStartAndNotAnnounced) {
  settings()->notify.CONNECTED = true;
  settings()->notify.DISCONNECTED = true;
  settings()->nameList = {toSjis("0312345001:大学")};  // named by its number: no dial tells it
  start();
  const std::size_t before = events.size();
  Chan up = connected("203.0.113.9", "0312345001");
  up.time = "  25";
  answer(lastSocket(), exchange({{"sh ver", ""},
                                 {"sh r l", destinationLines({"Tarvik ISP", "大学"})},
                                 {"sh s", statusBlock(up)}}));
  const LocalTime firstLook = clock.now();
  up.time = "  26";
  clock.advance(60 * 1000);
  poll(statusBlock(up));
  clock.advance(60 * 1000);
  poll(statusBlock(), "B1チャネルを切断しました。\n接続時間 27分\n");

  EXPECT_EQ(eventsSince(before, {"notify"}), (Strings{"notify disconnected 切断: 大学 接続時間 27分"}));
  const std::vector<JournalRecord> records = readJournal(dir).records;
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].minutes, 27);
  EXPECT_EQ(records[0].name, "大学");
  EXPECT_LE(journalSeconds(records[0].start), journalSeconds(firstLook) - 25 * 60);
  EXPECT_GT(journalSeconds(records[0].start), journalSeconds(firstLook) - 26 * 60);
}

// A journal that cannot be written is told once when it fails (status line
// and notice), not at every event of the streak, and once when it works
// again.
TEST_F(CallJournalCore, AJournalThatCannotBeWrittenIsToldOnceAndAgainWhenItWorks) {
  std::filesystem::create_directory(path(kJournalFileName));  // a folder in the file's place
  startIdle();
  const std::string failed = "Tarvik-journal.csv に書き込めません（同じ名前のフォルダーがあります）";
  const std::string again = "Tarvik-journal.csv に再び書き込めます";
  const std::size_t before = events.size();
  for (int i = 0; i < 3; ++i) poll(statusBlock(), "#1 大学 接続できません（着ユーザビジー）\n");
  EXPECT_EQ(eventsSince(before, {"status " + failed, "notify journal"}),
            (Strings{"notify journal-failed 通話記録: " + failed, "status " + failed}));

  std::filesystem::remove(path(kJournalFileName));
  const std::size_t mended = events.size();
  for (int i = 0; i < 2; ++i) poll(statusBlock(), "#1 大学 接続できません（着ユーザビジー）\n");
  EXPECT_EQ(eventsSince(mended, {"status " + again, "notify journal"}),
            (Strings{"notify journal-back 通話記録: " + again, "status " + again}));
  EXPECT_EQ(journalEvents(), (Strings{"busy      0 ", "busy      0 "}));
}

// The record lost at a disconnection: the router's line after the message
// does not hide the journal's failure on the status line.
TEST_F(CallJournalCore, AJournalFailureAtADisconnectionStaysOnTheStatusLine) {
  std::filesystem::create_directory(path(kJournalFileName));
  startIdle();
  core->ConnectFromMenu(1);
  answer(lastSocket(), exchange({{"co 1", "大学へ接続中．\n"}, {"sh s", statusBlock()}}));
  poll(statusBlock(connected("203.0.113.9", "0312345001")), "B1チャネルを接続しました。\n");
  poll(statusBlock(), "B1チャネルを切断しました。\n網側から切断されました 接続時間 12分\n");
  EXPECT_EQ(view.status, "Tarvik-journal.csv に書き込めません（同じ名前のフォルダーがあります）");
}

}  // namespace
}  // namespace tarvik::coretest
