// Exchanges that fail, through the core: a refused login, a router that
// cannot be reached, answers that cannot be read and sends that break are
// told once per streak (status line, channel boxes, tip, notice, journal),
// and once more when an exchange goes through again.

#include "corefixture.h"
#include "engine/core/linktexts.h"
#include "engine/journal/journalfile.h"
#include "fakes/transcript.h"

namespace tarvik::coretest {
namespace {

using Strings = std::vector<std::string>;

class RouterLink : public CoreTest {
 protected:
  // Started; the start-up exchange showed both channels free.
  void startIdle() {
    start();
    answer(lastSocket(), exchange({{"sh s", statusBlock()}}));
  }
  // A poll tick whose exchange the router answers with sjisOutput and closes.
  void pollAnswered(const std::string& sjisOutput) {
    tick();
    answer(lastSocket(), sjisOutput);
  }
  // What the user was told since `from`: the status line and the notices.
  Strings told(std::size_t from) const { return eventsSince(from, {"status", "notify"}); }
  Strings unreachableRecords() const {
    Strings results;
    for (const JournalRecord& r : readJournal(dir).records) {
      if (r.event == JournalEvent::Unreachable) results.push_back(r.result);
    }
    return results;
  }
  const std::string unknown = texts::kStateUnknown;
};

// A router's whole answer to one poll, named for the test's output.
struct NamedAnswer {
  const char* name;
  std::string answer;
  friend void PrintTo(const NamedAnswer& a, std::ostream* out) { *out << a.name; }
};

// --- a refused login ---

class RefusedLogin : public RouterLink, public testing::WithParamInterface<NamedAnswer> {};

TEST_P(RefusedLogin, IsToldOnceAsUnknownStateAndItsEndOnceMore) {
  startIdle();
  ASSERT_EQ(view.box[0], "空き");
  const std::string refused = texts::kLoginRefused;
  std::size_t before = events.size();
  for (int poll = 0; poll < 4; ++poll) pollAnswered(GetParam().answer);
  EXPECT_EQ(told(before), (Strings{"status " + refused, "notify link-failed ルーター: " + refused}));
  EXPECT_EQ(view.box, (std::array<std::string, 2>{unknown, unknown})) << "not 空き: nobody knows";
  EXPECT_EQ(view.tip, refused);
  EXPECT_TRUE(view.errors.empty()) << "no box to close at every poll";

  // The password mended: the next poll logs in.
  before = events.size();
  poll(statusBlock());
  EXPECT_EQ(told(before), (Strings{"status ルーターにログインできました",
                                   "notify link-back ルーター: ルーターにログインできました"}));
  EXPECT_EQ(view.box[0], "空き");
  EXPECT_EQ(view.tip, "B1 空き / B2 空き");
  EXPECT_EQ(unreachableRecords(), Strings{refused}) << "the time without a login, with its reason";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, RefusedLogin,
    testing::Values(
        // The simulator, answering as the router's console: refused twice.
        NamedAnswer{"Simulator", refusedLogin()},
        // The router's console itself, ending the connection.
        NamedAnswer{"RouterConsole", consoleFixture("net-wrong-password.sjis")},
        // The password prompt coming again, without a word of refusal.
        NamedAnswer{"PasswordAskedAgain",
                    routerText("\nlogin: admin\nパスワード: \nlogin: sys kc s\nパスワード: \nlogin: l\n")},
        // Something else altogether: no prompt, no status block.
        NamedAnswer{"NoPromptNoStatus", routerText("MN128-SOHO console busy, try later\n")}),
    [](const auto& info) { return info.param.name; });

// A router that asks for no password takes the typed-ahead password for a
// command and says so with it: the details never show it.
TEST_F(RouterLink, ThePasswordNeverShowsInARouterLine) {
  settings()->tarvik.PASS = "secret";
  start();
  answer(lastSocket(),
         exchange({{"secret", "コマンドが正しくありません: secret\n"}, {"sh s", statusBlock()}}));
  ASSERT_FALSE(view.details.empty());
  EXPECT_NE(std::find(view.details.begin(), view.details.end(), "コマンドが正しくありません: ****"),
            view.details.end());
  for (const std::string& line : view.details) EXPECT_EQ(line.find("secret"), std::string::npos) << line;
}

// A per-call password is masked in the answers of the exchange that sent it.
TEST_F(RouterLink, APerCallPasswordNeverShowsInItsAnswers) {
  settings()->option.askCredentialsEachCall = true;
  start();
  answer(lastSocket(), exchange({{"sh r l", destinationLines({"P0", "P1", "P2", "P3", "P4"})}}));
  core->ConnectFromMenu(4);
  core->CredentialsEntered("user1", "pw123");
  answer(lastSocket(), exchange({{"rem 4 s i user1", ""},
                                 {"rem 4 s p pw123", "値が長すぎます: pw123\n"},
                                 {"co 4", "#4 へ接続中．\n"}}));
  EXPECT_NE(std::find(view.details.begin(), view.details.end(), "値が長すぎます: ****"), view.details.end());
  for (const std::string& line : view.details) EXPECT_EQ(line.find("pw123"), std::string::npos) << line;
}

// --- a router that cannot be reached ---

struct Unreachable {
  ConnectFailure failure;
  const char* systemText;
  const char* status;
  friend void PrintTo(const Unreachable& u, std::ostream* out) { *out << u.systemText; }
};

class UnreachableRouter : public RouterLink, public testing::WithParamInterface<Unreachable> {};

TEST_P(UnreachableRouter, SaysWhyAtTheFirstFailedExchangeOnce) {
  const Unreachable& c = GetParam();
  settings()->tarvik.SOHOIP = "mn128";
  transport.failure = c.failure;
  transport.error = c.systemText;
  std::size_t before = events.size();
  start();
  core->AsyncSock1Close(lastSocket());  // the start-up exchange's connect failed
  for (int poll = 0; poll < 4; ++poll) {
    tick();
    core->AsyncSock1Close(lastSocket());
  }
  // Three polls without an answer do not hide the reason behind "ルーター応答なし".
  EXPECT_EQ(told(before), (Strings{"status 待機中", std::string("status ") + c.status,
                                   std::string("notify link-failed ルーター: ") + c.status}));
  EXPECT_EQ(view.tip, c.status);

  before = events.size();
  poll(statusBlock());
  EXPECT_EQ(told(before), (Strings{"status ルーターと再び通信できます",
                                   "notify link-back ルーター: ルーターと再び通信できます"}));
  EXPECT_EQ(view.box[1], "空き");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, UnreachableRouter,
    testing::Values(Unreachable{ConnectFailure::Refused, "connect Error Connection refused",
                                "接続を拒否されました (mn128:23)。ルーターのアドレスを確認してください"},
                    Unreachable{ConnectFailure::HostNotFound, "connect Error Name or service not known",
                                "ルーターのアドレス mn128 が見つかりません。設定を確認してください"},
                    Unreachable{ConnectFailure::Unreachable, "connect Error No route to host",
                                "ルーター (mn128:23) に届きません。ネットワークを確認してください"},
                    Unreachable{ConnectFailure::Other, "connect Error Too many open files",
                                "ルーター (mn128:23) に接続できません: connect Error Too many open files"}));

// A connect that never comes: the silent-router rule first, then the
// exchange's time-out says what it was.
TEST_F(RouterLink, AConnectThatTimesOutIsToldWhenItIsGivenUp) {
  startIdle();
  const std::size_t before = events.size();
  tick();                              // opens a poll that never connects
  for (int i = 0; i < 6; ++i) tick();  // 30 s: the exchange's time-out
  core->ExchangeWatchdogTimer();
  EXPECT_EQ(told(before),
            (Strings{"status ルーター応答なし",
                     "status ルーター (192.168.0.1:23) から応答がありません（タイムアウト）。"
                     "電源と配線を確認してください",
                     "notify link-failed ルーター: ルーター (192.168.0.1:23) から応答がありません"
                     "（タイムアウト）。電源と配線を確認してください"}));
}

// --- answers that cannot be read ---

class UnreadableAnswers : public RouterLink, public testing::WithParamInterface<NamedAnswer> {};

TEST_P(UnreadableAnswers, AreToldOncePerStreak) {
  startIdle();
  const std::string unreadable = texts::kUnreadable;
  std::size_t before = events.size();
  for (int poll = 0; poll < 3; ++poll) pollAnswered(GetParam().answer);
  EXPECT_EQ(told(before), (Strings{"status " + unreadable, "notify link-failed ルーター: " + unreadable}));

  before = events.size();
  poll(statusBlock());
  EXPECT_EQ(told(before), (Strings{"status ルーターと再び通信できます",
                                   "notify link-back ルーター: ルーターと再び通信できます"}));
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, UnreadableAnswers,
    testing::Values(
        // A flood: one line far longer than any answer, no prompt.
        NamedAnswer{"Flood", exchange({{"sh s", std::string(300 * 1024, 'x') + "\n"}})},
        // Random bytes instead of the status.
        NamedAnswer{"Garbage", exchange({{"sh s", std::string(2000, '\x1b') + "\n"}})},
        // The status cut off after B1.
        NamedAnswer{"Cut", exchange({{"sh s", statusBlock().substr(0, statusBlock().find("B2"))}})}),
    [](const auto& info) { return info.param.name; });

// A flood is told while it lasts, not when the exchange gives up.
TEST_F(RouterLink, AFloodIsToldAtOnce) {
  startIdle();
  const std::size_t before = events.size();
  tick();
  chainOf(lastSocket());
  core->AsyncSock1Receive(lastSocket(), std::string(70 * 1024, 'x'));
  EXPECT_EQ(eventsSince(before, {"status"}), Strings{std::string("status ") + texts::kUnreadable});
}

// --- the status line after a dial ---

TEST_F(RouterLink, TheStatusLineShowsHowADialEnded) {
  struct Case {
    const char* outcome;  // what the router printed (UTF-8)
    const char* status;
  } cases[] = {
      {"#1 P1 接続できません（着ユーザビジー）\n", "#1 P1 接続できません（着ユーザビジー）"},
      {"B1チャネル：発信失敗（着ユーザビジー）\n", "B1チャネル：発信失敗（着ユーザビジー）"},
      {"接続に失敗しました\n", "接続に失敗しました"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.outcome);
    startIdle();
    core->ConnectFromMenu(1);
    answer(lastSocket(), exchange({{"co 1", "#1 P1 へ接続中．\n"}, {"sh s", statusBlock()}}));
    ASSERT_EQ(view.status, "ダイアル開始 ");
    poll(statusBlock(), c.outcome);
    EXPECT_EQ(view.status, c.status);
  }
}

}  // namespace
}  // namespace tarvik::coretest
