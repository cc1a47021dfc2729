// The console conversation: the typed-ahead login batch, prompts, line
// ends, the close after "l", and the answer to each command.

#include <gtest/gtest.h>

#include <cctype>

#include "clientcuts.h"
#include "sim/simharness.h"

namespace simtest {
namespace {

bool isPromptLine(const std::string& line) { return contains(line, "% "); }

TEST(SimConsole, TypedAheadBatchIsAnsweredPromptByPromptAndClosedAfterLogout) {
  Sim sim;
  const Transcript t = converse(sim.console, loginBatch({"sh ver", "sh s"}));
  ASSERT_TRUE(t.closedByPeer) << "the console must close after \"l\"";
  const std::string out = t.bytes();

  // Every LF is followed by CR, and the output ends with the logout line's LF CR.
  for (std::size_t at = out.find('\n'); at != std::string::npos; at = out.find('\n', at + 1))
    ASSERT_TRUE(at + 1 < out.size() && out[at + 1] == '\r') << "LF without CR at byte " << at;
  ASSERT_GE(out.size(), 2u);
  EXPECT_EQ(out.substr(out.size() - 2), "\n\r");

  // One prompt line per line typed after the login, each with what was typed
  // after it, so that every prompt line ends with LF CR as well.
  std::vector<std::string> prompts;
  for (const std::string& line : lines(out))
    if (isPromptLine(line)) prompts.push_back(line);
  const std::vector<std::string> expected = {"MN128-SOHO% sys kc s", "MN128-SOHO% sh ver", "MN128-SOHO% sh s",
                                             "MN128-SOHO% ", "MN128-SOHO% l"};
  EXPECT_EQ(prompts, expected);
  EXPECT_EQ(lines(out).back(), "") << "nothing may follow the logout line";

  // The answers come between the prompts, in order.
  const std::string text = u8(out);
  const std::size_t ver = text.find("MN128-SOHO.F Ver 2.40");
  const std::size_t status = text.find("回線種別:");
  ASSERT_NE(ver, std::string::npos);
  ASSERT_NE(status, std::string::npos);
  EXPECT_LT(text.find("MN128-SOHO% sh ver"), ver);
  EXPECT_LT(ver, text.find("MN128-SOHO% sh s"));
  EXPECT_LT(text.find("MN128-SOHO% sh s"), status);
}

TEST(SimConsole, LoginLinesAreTheOnesAClientBlanks) {
  Sim sim({"--password", "pw"});
  const std::string out = converse(sim.console, loginBatch({}, "pw")).bytes();
  const std::vector<std::string> ls = lines(out);
  ASSERT_GE(ls.size(), 4u);
  EXPECT_EQ(ls[0], "Welcome to MN128-SOHO");
  int logins = 0, passwords = 0;
  for (const auto& l : ls) {
    logins += l.rfind("login:", 0) == 0;
    passwords += l.rfind(sj("パ"), 0) == 0;
  }
  EXPECT_EQ(logins, 2) << "the empty line and \"admin\" each answer a login prompt";
  EXPECT_EQ(passwords, 1);
  EXPECT_FALSE(contains(out, "pw\n")) << "the password is not echoed";
}

struct LoginCase {
  const char* name;
  std::vector<std::string> simArgs;
  std::string batchPassword;
  bool loggedIn;
  const char* refusal;  // UTF-8 text expected when refused
};

class SimLogin : public testing::TestWithParam<LoginCase> {};

TEST_P(SimLogin, AnswersLikeAConsoleAndAlwaysClosesAfterLogout) {
  const LoginCase& c = GetParam();
  Sim sim(c.simArgs);
  const Transcript t = converse(sim.console, loginBatch({"sh s"}, c.batchPassword));
  EXPECT_TRUE(t.closedByPeer);
  const std::string text = u8(t.bytes());
  EXPECT_EQ(contains(text, "回線種別:"), c.loggedIn) << text;
  EXPECT_EQ(contains(text, "MN128-SOHO% "), c.loggedIn);
  if (*c.refusal) {
    EXPECT_TRUE(contains(text, c.refusal)) << text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimLogin,
    testing::Values(
        LoginCase{"NoPasswordSet", {}, "", true, ""},
        LoginCase{"RightPassword", {"--password", "s3cret"}, "s3cret", true, ""},
        LoginCase{"WrongPassword", {"--password", "s3cret"}, "guess", false, "ログインできません。"},
        LoginCase{"PasswordMissingFromBatch", {"--password", "s3cret"}, "", false, "ログインできません。"}),
    [](const auto& info) { return info.param.name; });

// As the router's console: every user name is asked for a password, a
// wrong name or password gets the same refusal, and the third ends it.
TEST(SimConsole, ThreeFailedLoginsEndTheConnection) {
  Sim sim({"--password", "right"});
  const Transcript t = converse(sim.console, "\radmin\rw1\rguest\rright\radmin\rw3\rsh s\r");
  EXPECT_TRUE(t.closedByPeer);
  const std::string text = u8(t.bytes());
  EXPECT_EQ(count(text, "パスワード: "), 3);
  EXPECT_EQ(count(text, "ログインできません。"), 3);
  EXPECT_TRUE(contains(text, "Connection closed."));
  EXPECT_FALSE(contains(text, "回線種別:"));
}

// A password changed through the control port applies to the next login.
TEST(SimConsole, PasswordCanBeChangedForNewLogins) {
  Sim sim({"--password", "old"});
  EXPECT_EQ(sim.control("password new"), "OK");
  EXPECT_FALSE(contains(u8(converse(sim.console, loginBatch({"sh s"}, "old")).bytes()), "回線種別:"));
  EXPECT_TRUE(contains(u8(converse(sim.console, loginBatch({"sh s"}, "new")).bytes()), "回線種別:"));
  EXPECT_EQ(sim.control("password"), "OK");
  EXPECT_TRUE(contains(u8(converse(sim.console, loginBatch({"sh s"})).bytes()), "回線種別:"));
}

TEST(SimConsole, LineEndsAndTelnetCommandsInTheInputAreTolerated) {
  Sim sim;
  const std::string iacDoEcho = "\xFF\xFD\x01";
  const std::string iacSub("\xFF\xFA\x18\x00xterm\xFF\xF0", 11);
  for (const std::string& eol : std::vector<std::string>{"\r", "\n", "\r\n", std::string("\r\0", 2)}) {
    std::string batch =
        iacDoEcho + eol + "adm" + iacSub + "in" + eol + "sys kc s" + eol + "sh s" + eol + eol + "l" + eol;
    const Transcript t = converse(sim.console, batch);
    const std::string text = u8(t.bytes());
    EXPECT_TRUE(t.closedByPeer);
    EXPECT_TRUE(contains(text, "回線種別:")) << "line end " << testing::PrintToString(eol);
    EXPECT_EQ(count(text, "MN128-SOHO% "), 4) << "line end " << testing::PrintToString(eol);
  }
}

struct CommandCase {
  const char* command;
  std::vector<const char*> expected;  // UTF-8 texts the answer contains
};

class SimCommand : public testing::TestWithParam<CommandCase> {};

TEST_P(SimCommand, IsAnsweredBetweenItsPromptAndTheNext) {
  Sim sim;
  const CommandCase& c = GetParam();
  const std::string out = u8(converse(sim.console, loginBatch({c.command})).bytes());
  const std::string echo = std::string("MN128-SOHO% ") + c.command + "\n\r";
  const std::size_t from = out.find(echo);
  ASSERT_NE(from, std::string::npos) << out;
  const std::size_t to = out.find("MN128-SOHO% ", from + echo.size());
  ASSERT_NE(to, std::string::npos);
  const std::string answer = out.substr(from + echo.size(), to - from - echo.size());
  ASSERT_FALSE(answer.empty());
  for (const char* e : c.expected) EXPECT_TRUE(contains(answer, e)) << c.command << " answered:\n" << answer;

  // No answer may look like a prompt, a destination list or a call event
  // it is not.
  for (const std::string& line : lines(answer)) EXPECT_FALSE(contains(line, "% ")) << line;
  if (std::string(c.command) != "sh r l") {
    EXPECT_FALSE(contains(answer, "#0 ")) << answer;
  }
  EXPECT_FALSE(contains(answer, "ルを接続し"));
  EXPECT_FALSE(contains(answer, "切断しま"));
}

INSTANTIATE_TEST_SUITE_P(
    Vocabulary, SimCommand,
    testing::Values(CommandCase{"sh ver", {"MN128-SOHO.F Ver 2.40"}},
                    CommandCase{"sh r l", {"#0  Tarvik ISP", "#15 "}},
                    CommandCase{"sh s", {"回線種別:", "B1チャネル：空き", "B2チャネル：空き"}},
                    CommandCase{"sh h", {"接続・切断履歴", " B1 切断 #0:Tarvik ISP"}},
                    CommandCase{"show ch", {"通信料金情報", "#0:Tarvik ISP", "合計"}},
                    CommandCase{"show ppp", {"PPP情報", "B1: 未接続", "B2: 未接続"}},
                    CommandCase{"show history", {"アナログポート通信履歴", "アナログ1 着信"}},
                    CommandCase{"show mail", {"メール着信チェック情報", "新着メール"}},
                    CommandCase{"show pmail", {"Pメール受信情報"}},
                    CommandCase{"co 3", {"#3: 番号を設定してください"}},
                    CommandCase{"co 16", {"接続先番号が正しくありません"}},
                    CommandCase{"dis a", {"既に切断されています"}},
                    CommandCase{"dis b1", {"B1チャネルは既に切断されています"}},
                    CommandCase{"dis b2", {"B2チャネルは既に切断されています"}},
                    CommandCase{"rem 4 s i taro yamada", {"#4:大学 のユーザIDを設定しました。"}},
                    CommandCase{"rem 4 s p pass word", {"#4:大学 のパスワードを設定しました。"}},
                    CommandCase{"rem 4 s p", {"#4:大学 のパスワードを消去しました。"}},
                    CommandCase{"rem 4 x", {"使い方: rem"}},
                    CommandCase{"sy t 2026/12/10-9:07", {"時計を 2026/12/10 09:07 に設定しました。"}},
                    CommandCase{"sy t 2026/13/40-9:07", {"日時の指定が正しくありません"}},
                    CommandCase{"sys kc x", {"漢字コードの指定が正しくありません"}},
                    CommandCase{"help", {"コマンド一覧"}},
                    CommandCase{"format c:", {"コマンドが正しくありません: format c:"}}),
    [](const auto& info) {
      std::string name;
      for (char ch : std::string(info.param.command))
        name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
      return name + "_" + std::to_string(info.index);
    });

TEST(SimConsole, VariantSAnnouncesItselfWithItsOwnBanner) {
  Sim sim({"--variant", "S"});
  const std::string out = u8(converse(sim.console, loginBatch({"sh ver"})).bytes());
  EXPECT_TRUE(contains(out, "\n\r# MN128-SOHO-S Ver 1.10")) << out;
  EXPECT_FALSE(contains(out, "MN128-SOHO.F"));
  EXPECT_TRUE(contains(out, "MN128-SOHO-S% sh ver"));
}

TEST(SimConsole, DestinationListSurvivesTheClientsCut) {
  Sim sim;
  const std::string out = converse(sim.console, loginBatch({"sh r l"})).bytes();
  const std::vector<DestinationCut> rows = cutDestinationList(out);
  ASSERT_EQ(rows.size(), 16u);
  int empty = 0, perCall = 0;
  for (int i = 0; i < 16; ++i) {
    const DestinationCut& r = rows[i];
    EXPECT_EQ(r.number, std::to_string(i)) << "row " << i;
    EXPECT_FALSE(contains(r.entry, "\n")) << "row " << i << " runs into the next line";
    EXPECT_EQ(r.caption.rfind("#" + std::to_string(i), 0), 0u);
    empty += r.caption == "#" + std::to_string(i);
    perCall += contains(r.entry, " *");
  }
  EXPECT_EQ(u8(rows[0].caption), "#0  Tarvik ISP");
  EXPECT_EQ(u8(rows[1].caption), "#1  会社");
  EXPECT_TRUE(contains(rows[0].entry, "0312345678"));
  EXPECT_TRUE(contains(rows[1].entry, " *"));
  EXPECT_GE(empty, 2);
  EXPECT_GE(perCall, 1);
  // Every row is shorter than the 70 bytes the client takes from its start.
  const std::size_t first = out.find("#0 ");
  for (const std::string& line : lines(out.substr(first))) {
    if (line.rfind("#", 0) == 0) {
      EXPECT_LT(line.size() + 2, 70u) << line;
    }
  }
}

TEST(SimConsole, KanjiCodeLineSwitchesTheConsoleCode) {
  Sim sim;
  // The client's restore line switches to EUC-JP; the setting stays with the
  // router, so the next login before "sys kc s" speaks EUC-JP.
  converse(sim.console, loginBatch({}, "", "sys kc e"));
  EXPECT_TRUE(contains(sim.control("state"), " kanji=e "));
  const std::string raw = converse(sim.console, "\radmin\rsh s\rsys kc s\rsh s\rl\r").bytes();
  const std::string euc = "\xb2\xf3\xc0\xfe\xbc\xef\xca\xcc:";  // 回線種別: in EUC-JP
  const std::size_t eucAt = raw.find(euc);
  const std::size_t sjisAt = raw.find(sj("回線種別:"));
  ASSERT_NE(eucAt, std::string::npos);
  ASSERT_NE(sjisAt, std::string::npos);
  EXPECT_LT(eucAt, sjisAt);
}

}  // namespace
}  // namespace simtest
