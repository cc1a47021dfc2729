// The parser over whole answers: channel fields, messages and the order of
// the events they raise.

#include <gtest/gtest.h>

#include "engine/base/sjis.h"
#include "parserfixture.h"

namespace tarvik::test {
namespace {

using F = ChannelState;
using Events = std::vector<std::string>;

class ConsoleParserTest : public ParserFixture {};

TEST_F(ConsoleParserTest, ConnectedPollFillsEveryFieldOfB1AndIdleB2ShowsItsStatus) {
  feedTranscript("parser-poll-connected");

  EXPECT_FALSE(parser.channel(0).Idle);
  EXPECT_EQ(field(0, F::StatusText), "通信中（発信）");
  EXPECT_EQ(field(0, F::ConnectTime), "  12分間");
  EXPECT_EQ(field(0, F::IPAddress), "192.168.1.2");
  EXPECT_EQ(field(0, F::ConnectMode), "PPP 64K");
  EXPECT_EQ(field(0, F::PhoneNumber), "0312345001");
  EXPECT_EQ(field(0, F::LineUsage), "200/1/0");
  // The whole integer part of the rate: 200 x 64 bytes is 12.80 K.
  EXPECT_EQ(field(0, F::TransferRate), "U 12.80 D 0.06K/s");

  EXPECT_TRUE(parser.channel(1).Idle);
  for (const std::string& text : parser.channel(1).texts) EXPECT_EQ(utf8(text), "空き");

  // A poll exchange echoes nothing.
  EXPECT_TRUE(host.only({"echo", "banner"}).empty());
  EXPECT_EQ(host.only({"status", "bothIdle"}), (Events{"status:B1", "status:B2"}));
}

struct FieldCase {
  const char* name;
  std::string block;
  F::Field field;
  const char* expected;
};

class FieldCutting : public ParserFixture, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(FieldCutting, CutsTheValueOrFallsBackToTheStatus) {
  feed(GetParam().block);
  EXPECT_EQ(field(0, GetParam().field), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, FieldCutting,
    ::testing::Values(
        FieldCase{"StatusLongerThan19Bytes",
                  statusBlock("B1", "とても長い状態の説明文です", "1/2", "1.2.3.4", "", "", ""),
                  F::StatusText, ""},
        FieldCase{"AddressOf18Bytes", statusBlock("B1", "通信中", "1/2", "192.168.100.200.12", "", "", ""),
                  F::IPAddress, "192.168.100.200.12"},
        FieldCase{"AddressOf19BytesShowsStatus",
                  statusBlock("B1", "通信中", "1/2", "192.168.100.200.123", "", "", ""), F::IPAddress,
                  "通信中"},
        FieldCase{"TimeKeepsItsBlanks", statusBlock("B1", "通信中", "  12/  60", "", "", "", ""),
                  F::ConnectTime, "  12分間"},
        // Without its marker a field shows the status, never bytes from
        // some fixed place of the block.
        FieldCase{"AbsentMarkerShowsStatus",
                  statusBlock("B1", "通信中", "1/2", nullptr, "PPP", "0312", "1/1/1"), F::IPAddress,
                  "通信中"},
        FieldCase{"ValueWithoutTerminatorIsEmpty", "B1チャネル：通信中\n  IPアドレス[10.0.0.1\n",
                  F::IPAddress, ""},
        FieldCase{"FieldFoundInTheNextBlock",
                  statusBlock("B1", "通信中", "1/2", "1.2.3.4", "PPP", nullptr, "1/1/1") +
                      statusBlock("B2", "通信中", "3/4", "5.6.7.8", "MP", "0398765432", "2/2/2"),
                  F::PhoneNumber, "0398765432"},
        FieldCase{"UsageWithoutSlashShowsStatusAsRate", statusBlock("B1", "通信中", "1/2", "", "", "", "64K"),
                  F::TransferRate, "通信中"},
        FieldCase{"RateOf100Units", statusBlock("B1", "通信中", "1/2", "", "", "", "100/0/0"),
                  F::TransferRate, "U 6.40 D 0.00K/s"}),
    [](const auto& info) { return std::string(info.param.name); });

// A rate that does not convert falls back for that field alone: B2 and the
// messages later in the answer are still read.
class BadRate : public ParserFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(BadRate, FallsBackAndTheRestOfTheAnswerGoesOn) {
  host.command = false;
  feed(statusBlock("B1", "通信中", "1/2", "1.2.3.4", "PPP", "0312", GetParam()) +
       statusBlock("B2", "通信中", "3/4", "5.6.7.8", "MP", "0398", "10/1/0") + "#1へ接続中．\n");
  EXPECT_EQ(field(0, F::TransferRate), "通信中");
  EXPECT_EQ(field(1, F::TransferRate), "U 0.64 D 0.06K/s");
  EXPECT_EQ(field(1, F::IPAddress), "5.6.7.8");
  EXPECT_EQ(host.only({"status", "dial"}), (Events{"status:B1", "status:B2", "dial"}));
}

INSTANTIATE_TEST_SUITE_P(Values, BadRate, ::testing::Values("100/0", "1x/0/0", "10/ab/0", "-5/1/0", "/1/0"));

TEST_F(ConsoleParserTest, RaisesTheEventsOfOneAnswerInTheirFixedOrder) {
  parser.armLaunch();
  // The failure messages stand in another order than the one they are
  // reported in.
  std::string text =
      statusBlock("B1", "呼び出し中（着信）", "1/2", "10.0.0.1", "PPP", "0312345001", "1/1/1") +
      idleBlock("B2") + "B2チャネルを切断しました。\n  切断理由：相手切断\n" +
      "接続に失敗しました\n番号を設定してください\n既に切断されています\n" +
      "#1へ接続中．\n発信失敗（着ユーザビジー）\nB1チャネルを接続しました。\n";
  for (int i = 0; i < 16; ++i) text += "#" + std::to_string(i) + "  NAME\n";
  feed(text);

  EXPECT_EQ(
      host.events,
      (Events{"status:B1", "status:B2", "address", "tip", "disconnected:  切断理由：相手切断",
              "incoming:0312345001", "failed:接続に失敗しました", "failed:既に切断されています",
              "failed:番号を設定してください", "dial", "busy", "stopElapsed", "connected", "destinations"}));
  EXPECT_TRUE(parser.callEnded());
  EXPECT_TRUE(parser.launchArmed());  // re-armed by the connection after the address was taken
}

TEST_F(ConsoleParserTest, BothIdleChannelsStopTheElapsedDisplayBeforeTheTip) {
  feed(idleBlock("B1") + idleBlock("B2"));
  EXPECT_EQ(host.events, (Events{"status:B1", "status:B2", "bothIdle", "tip", "noIncoming"}));
  EXPECT_FALSE(parser.callEnded());
}

TEST_F(ConsoleParserTest, BusyLineCountsOnlyInThePoll) {
  for (bool command : {false, true}) {
    host.events.clear();
    host.command = command;
    feedTranscript("parser-busy");
    Events expected = command ? Events{} : Events{"busy", "stopElapsed"};
    EXPECT_EQ(host.only({"busy", "stopElapsed"}), expected) << "command exchange: " << command;
  }
}

TEST_F(ConsoleParserTest, AddressIsReportedOnceAfterEachConnection) {
  feedTranscript("parser-dial");
  EXPECT_EQ(host.only({"dial", "connected", "address"}), (Events{"dial", "connected"}));
  EXPECT_TRUE(parser.launchArmed());

  feedTranscript("parser-poll-connected");
  feedTranscript("parser-poll-connected");
  EXPECT_EQ(host.payloads("address").size(), 1u);
  EXPECT_FALSE(parser.launchArmed());
}

TEST_F(ConsoleParserTest, DisconnectionGivesTheLineAfterItsMessage) {
  feedTranscript("parser-disconnect");
  EXPECT_EQ(host.payloads("disconnected"), (Events{"  切断理由：ユーザ要求"}));
  EXPECT_EQ(host.only({"disconnected", "stopElapsed"}),
            (Events{"disconnected:  切断理由：ユーザ要求", "stopElapsed"}));
  EXPECT_FALSE(parser.callEnded());  // worked out anew for every answer

  host.events.clear();
  feed("B1チャネルを切断しました。");  // the message ends the answer: no line after it
  EXPECT_EQ(host.payloads("disconnected"), (Events{""}));
  EXPECT_TRUE(parser.callEnded());
}

TEST_F(ConsoleParserTest, RingingChannelIsReportedOnEveryAnswerUntilItStops) {
  feedTranscript("parser-incoming");
  // From the answer with the status block on: that one, "% l" and "Bye.".
  EXPECT_EQ(host.payloads("incoming"), (Events{"0398765432", "0398765432", "0398765432"}));

  // The stored status is tested: answers before the next status block
  // still report the ringing channel.
  host.events.clear();
  feedTranscript("parser-poll-connected");
  EXPECT_EQ(host.only({"status", "incoming", "noIncoming"}),
            (Events{"incoming:0398765432", "incoming:0398765432", "status:B1", "status:B2", "noIncoming",
                    "noIncoming", "noIncoming"}));
}

TEST_F(ConsoleParserTest, B1CallerWinsWhenBothRing) {
  std::string ringingB2 = statusBlock("B2", "呼び出し中（着信）", "", "", "", "0398765432", "");
  feed(idleBlock("B1") + ringingB2);
  EXPECT_EQ(host.payloads("incoming"), (Events{"0398765432"}));

  host.events.clear();
  feed(statusBlock("B1", "呼び出し中（着信）", "", "", "", "0312345001", "") + ringingB2);
  EXPECT_EQ(host.payloads("incoming"), (Events{"0312345001"}));
}

TEST_F(ConsoleParserTest, ConnectionAndDisconnectionInOneAnswerStopThenRestartTheDisplay) {
  feed("B1チャネルを切断しました。\n\nB1チャネルを接続しました。\n");
  EXPECT_EQ(host.only({"stopElapsed", "connected"}), (Events{"stopElapsed", "connected"}));
}

TEST_F(ConsoleParserTest, StartUpExchangeGivesBannerDestinationsAndEchoesOnlyWhatItShould) {
  host.command = true;
  feedTranscript("parser-startup");

  EXPECT_EQ(host.payloads("banner"), (Events{"MN128-SOHO.F Ver 2.10 (c) router firmware"}));
  EXPECT_EQ(utf8(parser.routerVersion()), "MN128-SOHO.F Ver 2.10 (c) router firmware");
  EXPECT_EQ(parser.routerPageBase(), 0);

  Events echoes = host.payloads("echo");
  ASSERT_GE(echoes.size(), 3u);
  // The login before the first prompt is not echoed; the banner is.
  EXPECT_EQ(echoes[0], "MN128-SOHO.F Ver 2.10 (c) router firmware");
  EXPECT_EQ(echoes[1], "");
  EXPECT_EQ(echoes[2], "#0  プロバイダ0              0312345000    PPP   ");
  EXPECT_EQ(echoes.back(), "Bye.");
  for (const std::string& line : echoes) {
    EXPECT_EQ(line.find("% "), std::string::npos) << line;        // prompts never
    EXPECT_EQ(line.find("チャネル"), std::string::npos) << line;  // the status block not
    EXPECT_EQ(line.find("回線種別"), std::string::npos) << line;
  }
  EXPECT_TRUE(parser.echoEnabled());

  // Columns 31 to 35 are left out of an entry; no line break or next line
  // gets into it.
  EXPECT_EQ(host.entries[0],
            "#0  プロバイダ0              0"
            "5000    PPP  ");
  EXPECT_EQ(host.entries[2],
            "#2  オフィス                 0"
            "5432    PPP  ");
  EXPECT_EQ(host.captions[0], "#0  プロバイダ0");
  EXPECT_EQ(host.captions[15], "#15");
  EXPECT_EQ(host.payloads("destinations").size(), 1u);
  // From the status block on, the stored states say both are idle.
  EXPECT_EQ(host.payloads("bothIdle").size(), 3u);
}

TEST_F(ConsoleParserTest, BannersSetTheVersionAndPageBaseOnlyInCommandExchanges) {
  struct Case {
    const char* line;
    int pageBase;
  };
  for (Case c : {Case{"MN128-SOHO.F Ver 2.10", 0}, Case{"# MN128-SOHO-S Ver 3.00", 100}}) {
    for (bool command : {false, true}) {
      RecordingHost h;
      h.command = command;
      ConsoleParser p(h);
      p.setEchoEnabled(true);
      p.AsyncSock1Receive(routerText(std::string(c.line) + "\n"));
      EXPECT_EQ(utf8(p.routerVersion()), command ? c.line : "") << c.line;
      EXPECT_EQ(p.routerPageBase(), command ? c.pageBase : 0) << c.line;
      EXPECT_EQ(h.payloads("banner").size(), command ? 1u : 0u) << c.line;
    }
  }
}

TEST_F(ConsoleParserTest, LoginLinesOfALaterExchangeAreEchoedBlank) {
  host.command = true;
  feedTranscript("parser-dial");
  host.events.clear();
  feedTranscript("parser-dial");  // echo is on from the last prompt of the first exchange
  Events echoes = host.payloads("echo");
  ASSERT_GE(echoes.size(), 6u);
  EXPECT_EQ(Events(echoes.begin(), echoes.begin() + 6),
            (Events{"", "", "", "", "", "プロバイダ1へ接続中．"}));
}

TEST_F(ConsoleParserTest, LinesAreTaggedWithEveryMatchingNameInListOrder) {
  host.command = true;
  host.names = {toSjis("0312345001:Office"), toSjis("no colon"), toSjis(":Nobody"), toSjis("0312:東京")};
  parser.setEchoEnabled(true);
  feed("  相手番号[0312345001]\nプロバイダ1へ接続中．\n");
  EXPECT_EQ(host.payloads("echo"), (Events{"  相手番号[0312345001] Office 東京", "プロバイダ1へ接続中．"}));
}

TEST_F(ConsoleParserTest, AnalogViewEchoesOnlyAnalogueLinesAndAutomaticFetchesNothing) {
  host.command = true;
  parser.setEchoEnabled(true);
  parser.setAnalogView(true);
  feed("アナログポート：通話中\nその他の行\n");
  EXPECT_EQ(host.payloads("echo"), (Events{"アナログポート：通話中"}));

  host.events.clear();
  parser.setAnalogView(false);
  parser.setAutomaticFetch(true);
  feed("アナログポート：通話中\nその他の行\n");
  EXPECT_TRUE(host.payloads("echo").empty());
}

TEST_F(ConsoleParserTest, TextAfterTheLastLineFeedIsALineOnlyWhenItIsAPrompt) {
  host.command = true;
  parser.setEchoEnabled(true);
  parser.AsyncSock1Receive(routerText("line\nプロバイダ1へ接続中．"));
  EXPECT_EQ(host.only({"echo", "dial"}), (Events{"echo:line", "dial"}));

  parser.setEchoEnabled(false);
  parser.AsyncSock1Receive(routerText("MN128-SOHO% "));
  EXPECT_TRUE(parser.echoEnabled());
  EXPECT_EQ(parser.capture().countdown(), -1);
}

TEST_F(ConsoleParserTest, OnlyACarriageReturnAfterALineFeedIsSkipped) {
  host.command = true;
  parser.setEchoEnabled(true);
  parser.AsyncSock1Receive("one\n\rtwo\nthree\n\n\rfour\r\n");
  EXPECT_EQ(host.payloads("echo"), (Events{"one", "two", "three", "", "four\r"}));
}

TEST_F(ConsoleParserTest, StatusBlockIsNotEchoedUntilTheNextPrompt) {
  host.command = true;
  parser.setEchoEnabled(true);
  feed("before\n回線種別: INS64\n" + idleBlock("B1") + "MN128-SOHO% sh h\nafter\n");
  EXPECT_EQ(host.payloads("echo"), (Events{"before", "after"}));
}

TEST_F(ConsoleParserTest, ArbitraryBytesNeverBreakTheParser) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 131 + 7) % 256);
  bytes += routerText("B1チャネル：");  // a marker right at the end
  parser.AsyncSock1Receive(bytes);
  EXPECT_EQ(field(0, F::StatusText), "");
  EXPECT_EQ(host.only({"status"}), (Events{"status:B1"}));
}

}  // namespace
}  // namespace tarvik::test
