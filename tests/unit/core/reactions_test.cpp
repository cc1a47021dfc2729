// Sounds, caller names, launched programs, the connection log, the details
// window's reports, the router's pages and the unreachable router, through
// the core.

#include <fstream>
#include <functional>
#include <iterator>

#include "corefixture.h"
#include "engine/base/pathtext.h"
#include "engine/reactions/connectionlog.h"

namespace tarvik::coretest {
namespace {

using Strings = std::vector<std::string>;

const std::string kConnected = "B1チャネルを接続しました。\n";
const std::string kDisconnected = "B1チャネルを切断しました。\n  切断理由：相手切断\n";

class Reactions : public CoreTest {
 protected:
  bool shownInDetails(const std::string& line) const {
    return std::find(view.details.begin(), view.details.end(), line) != view.details.end();
  }
  void startIdle() {
    start();
    answer(lastSocket(), exchange({{"sh s", statusBlock()}}));
  }
};

// A program that cannot be started is told on the status line, with the
// line as it was tried, once the other slots have started.
TEST_F(Reactions, ProgramThatCannotStartIsReportedOnTheStatusLine) {
  writeFile("Tarvik.ini", "[AP0]\r\n1=missing/My Apps/run $IP\r\n2=  \r\n4=keep\r\n");
  startIdle();
  core->ConnectFromMenu(0);
  std::size_t before = events.size();
  answer(lastSocket(), exchange({{"sh s", statusBlock(connected("10.0.0.7")) + kConnected}}));
  EXPECT_EQ(eventsSince(before, {"launch", "status"}),
            (Strings{"launch [missing/My Apps/run 10.0.0.7]", "launch [keep]",
                     "status 起動できません: missing/My Apps/run 10.0.0.7"}));
  EXPECT_EQ(view.status, "起動できません: missing/My Apps/run 10.0.0.7");
}

TEST_F(Reactions, LaunchWaitsForAnAddressAndEndsOnlySlotsOneToThree) {
  writeFile("Tarvik.ini", "[AP2]\r\n1=viewer \"$IP\" --all\r\n3=ping -c1 $IP\r\n5=keep\r\n");
  startIdle();
  core->ConnectFromMenu(2);
  std::size_t before = events.size();
  // Connected, but the router shows no well-formed address yet.
  answer(lastSocket(), exchange({{"sh s", statusBlock(connected("1.2.3")) + kConnected}}));
  poll(statusBlock(connected("$(reboot)")));
  EXPECT_TRUE(eventsSince(before, {"launch"}).empty());
  // B1 carries none, B2 does: B2's is used.
  poll(statusBlock(Chan{"通信中（発信）", "", "PPP", "", "", ""}, connected("10.0.0.7")));
  EXPECT_EQ(eventsSince(before, {"launch"}),
            (Strings{"launch [viewer \"10.0.0.7\" --all]", "launch [ping -c1 10.0.0.7]", "launch [keep]"}));
  poll(statusBlock(connected("10.0.0.8")));  // launched once per connection
  EXPECT_EQ(eventsSince(before, {"launch"}).size(), 3u);

  before = events.size();
  poll(statusBlock(), kDisconnected);
  EXPECT_EQ(eventsSince(before, {"end", "sound"}), (Strings{"sound disconnected.wav", "end 100", "end 101"}));
  poll(statusBlock(), kDisconnected);  // ended once: nothing left to end
  EXPECT_EQ(eventsSince(before, {"end"}).size(), 2u);
}

TEST_F(Reactions, EverySoundAtItsEventAndNoneForEmptyNames) {
  startIdle();
  std::size_t before = events.size();
  core->ConnectFromMenu(0);
  answer(lastSocket(), exchange({{"co 0", "プロバイダ0へ接続中．\n" + kConnected}, {"sh s", statusBlock()}}));
  EXPECT_EQ(eventsSince(before, {"sound"}), (Strings{"sound dial.wav", "sound connected.wav"}));
  settings()->sound.s1.clear();
  settings()->sound.s2.clear();
  before = events.size();
  core->ConnectFromMenu(0);
  answer(lastSocket(), exchange({{"co 0", "プロバイダ0へ接続中．\n" + kConnected}, {"sh s", statusBlock()}}));
  EXPECT_TRUE(eventsSince(before, {"sound"}).empty());
  settings()->sound.s5 = toSjis("wav\\話中.wav");
  poll(statusBlock(), "B1チャネル：発信失敗（着ユーザビジー）\n");
  EXPECT_EQ(eventsSince(before, {"sound", "details リ"}),
            (Strings{"details リダイアル", "sound wav/話中.wav"}));
}

// The default sound names are relative: not in the current directory, they
// are found in the config directory, then in the installed data folders.
TEST_F(Reactions, RelativeSoundsAreFoundInTheConfigThenTheDataFolders) {
  const std::filesystem::path data = dir / "share";
  // Names in UTF-8 as the engine gives them to the player.
  auto in = [](const std::filesystem::path& folder, const char* name) { return utf8Of(folder / pathFromUtf8(name)); };
  for (const char* folder : {"wav", "share/wav", "share/names"}) std::filesystem::create_directories(dir / folder);
  for (const char* file : {"wav/接続.wav", "share/wav/接続.wav", "share/wav/完了.wav", "share/names/0398765432.wav"}) {
    std::ofstream(dir / pathFromUtf8(file)) << "RIFF";
  }
  settings()->sound.s1 = toSjis("wav\\接続.wav");
  settings()->sound.s2 = toSjis("wav\\完了.wav");
  settings()->sound.s3 = toSjis("wav\\切断.wav");  // nowhere: the player's default sound
  settings()->sound.NAMESOUND = "names\\";
  core->setDataDirectories({dir / "elsewhere", data});
  startIdle();
  std::size_t before = events.size();
  core->ConnectFromMenu(0);
  answer(lastSocket(), exchange({{"co 0", "プロバイダ0へ接続中．\n" + kConnected}, {"sh s", statusBlock()}}));
  poll(statusBlock(), kDisconnected);
  poll(statusBlock(ringingFrom("0398765432")));
  EXPECT_EQ(eventsSince(before, {"sound"}),
            (Strings{"sound " + in(dir, "wav/接続.wav"), "sound " + in(data, "wav/完了.wav"), "sound wav/切断.wav",
                     "sound " + in(data, "names/0398765432.wav")}));
  EXPECT_EQ(core->soundFile(toSjis("wav\\完了.wav")), in(data, "wav/完了.wav"));
  EXPECT_EQ(core->soundFile(""), "");
}

TEST_F(Reactions, FlatRateSoundOncePerNight) {
  clock.set(22, 59, 55);
  startIdle();
  std::size_t before = events.size();
  for (int i = 0; i < 30; ++i) tick();
  EXPECT_EQ(eventsSince(before, {"sound"}), Strings{"sound night.wav"});
}

TEST_F(Reactions, CallerNameShownOnceWithItsSound) {
  settings()->nameList = {"0398765432:Office", "0312:Other"};
  settings()->sound.NAMESOUND = (dir / "names").string() + "\\";
  std::filesystem::create_directories(dir / "names");
  std::ofstream(dir / "names" / "0398765432.wav") << "RIFF";
  startIdle();
  const Chan ringing = ringingFrom("0398765432");
  std::size_t before = events.size();
  poll(statusBlock(ringing));
  EXPECT_TRUE(view.callerShown);
  EXPECT_EQ(view.callerName, "Office");
  EXPECT_EQ(view.callerNumber, "0398765432");
  poll(statusBlock(ringing));
  EXPECT_EQ(eventsSince(before, {"sound"}), Strings{"sound " + (dir / "names" / "0398765432.wav").generic_string()});
  poll(statusBlock());
  EXPECT_FALSE(view.callerShown);
  // An unlisted caller without a name sound: the general sound.
  before = events.size();
  poll(statusBlock({}, ringingFrom("0455555555")));
  EXPECT_EQ(eventsSince(before, {"sound"}), Strings{"sound ring.wav"});
}

// The name display and the destination label show the ringing caller: its
// listed name, else its number, never a name an earlier call left there.
TEST_F(Reactions, RingingCallerShownByNameElseByNumber) {
  settings()->nameList = {"0398765432:Office", "0312:Other"};
  startIdle();
  const Chan otherOnB2 = connected("10.0.0.7", "0312345001");
  struct Case {
    const char* why;
    Chan b1, b2;
    std::string shown;
  } const cases[] = {
      {"listed", ringingFrom("0398765432"), {}, "Office"},
      {"unlisted, after a listed one", {}, ringingFrom("0455555555"), "0455555555"},
      {"listed, while B2 is on a listed number", ringingFrom("0398765432"), otherOnB2, "Office"},
      {"unlisted, while B2 is on a listed number", ringingFrom("0455555555"), otherOnB2, "0455555555"},
      {"no number sent", ringingFrom(""), {}, "着信"},
  };
  for (const Case& c : cases) {
    poll(statusBlock());
    poll(statusBlock(c.b1, c.b2));
    EXPECT_TRUE(view.callerShown) << c.why;
    EXPECT_EQ(view.callerName, c.shown) << c.why;
    EXPECT_EQ(view.dest, c.shown) << c.why;
  }
}

// Japanese file names in the settings (Shift-JIS) name the user's files
// on every platform: each sound is played from the file the setting names.
TEST_F(Reactions, JapaneseSoundNamesReachTheirFiles) {
  namespace fs = std::filesystem;
  const std::string absoluteFolder = toSjis(utf8Of(dir / u8"着信音")) + "\\";
  const std::function<void()> dial = [this] {
    core->ConnectFromMenu(0);
    answer(lastSocket(), exchange({{"co 0", "プロバイダ0へ接続中．\n"}, {"sh s", statusBlock()}}));
  };
  const std::function<void()> ring = [this] { poll(statusBlock(ringingFrom("0398765432"))); };
  const struct Case {
    const char* what;
    const char8_t* file;  // under the config folder
    std::function<void(SettingsStore&)> set;
    std::function<void()> trigger;
  } cases[] = {
      {"dial sound", u8"効果音/接続.wav", [](SettingsStore& s) { s.sound.s1 = toSjis("効果音\\接続.wav"); }, dial},
      {"name sound, relative folder", u8"ネームサウンド/0398765432.wav",
       [](SettingsStore& s) { s.sound.NAMESOUND = toSjis("ネームサウンド\\"); }, ring},
      {"name sound, absolute folder", u8"着信音/0398765432.wav",
       [&](SettingsStore& s) { s.sound.NAMESOUND = absoluteFolder; }, ring},
  };
  startIdle();
  for (const Case& c : cases) {
    const fs::path file = dir / c.file;
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "RIFF";
    c.set(*settings());
    sound.played.clear();
    c.trigger();
    ASSERT_FALSE(sound.played.empty()) << c.what;
    std::error_code error;
    EXPECT_TRUE(fs::equivalent(pathFromUtf8(sound.played.front()), file, error))
        << c.what << ": played " << sound.played.front();
    poll(statusBlock());  // the caller has gone
  }
}

// The connection log named in Japanese is the user's file, read and extended.
TEST_F(Reactions, JapaneseLogNameExtendsTheUsersLog) {
  const std::string A = "12/01 10:00:00 B1 接続 0312345001", B = "12/01 11:00:00 B1 切断 0312345001";
  const std::filesystem::path log = dir / u8"接続ログ.log";
  std::ofstream(log, std::ios::binary) << toSjis(A + "\r\n");
  settings()->option.saveConnectionLog = true;
  settings()->option.LOG = toSjis(utf8Of(log));
  startIdle();
  core->ReportButtonClick(ReportButton::ConnectionLog);
  answer(lastSocket(), exchange({{"sh h", A + "\n" + B + "\n"}}));
  std::ifstream in(log, std::ios::binary);
  const std::string written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(toUtf8(written), A + "\r\n" + B + "\r\n");
  Strings logs;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() == ".log") logs.push_back(utf8Of(entry.path().filename()));
  }
  EXPECT_EQ(logs, Strings{"接続ログ.log"});
  EXPECT_EQ(view.status, "ログ書き出し完了");
}

TEST_F(Reactions, ChannelBoxesRotateTipsAndIcons) {
  settings()->option.showChannelTrayIcons = true;
  settings()->option.showConnectionTime = false;  // connection time skipped
  startIdle();
  const Chan b1 = connected("192.168.1.2");
  Strings shown;
  for (int i = 0; i < 7; ++i) {
    poll(statusBlock(b1));
    shown.push_back(view.box[0]);
  }
  // The start-up status showed field 2; on from there, field 1 skipped.
  EXPECT_EQ(shown, (Strings{"PPP 64K", "0312345001", "200/1/0", "U 12.80 D 0.06K/s", "通信中（発信）",
                            "192.168.1.2", "PPP 64K"}));
  EXPECT_EQ(view.tip, "B1 PPP 64K / B2 空き");
  EXPECT_EQ(view.channelTip[0], "192.168.1.2");
  EXPECT_TRUE(view.icon[0]);
  EXPECT_FALSE(view.icon[1]);
  // NEXT: a new status block keeps the field; a click still moves it on.
  settings()->option.NEXT = true;
  poll(statusBlock(b1));
  EXPECT_EQ(view.box[0], "PPP 64K");
  core->Edit1Click();
  EXPECT_EQ(view.box[0], "0312345001");
  EXPECT_TRUE(core->FormCloseQuery(placement()));
  EXPECT_EQ(settings()->option.B1, 4);
}

TEST_F(Reactions, UnreachableRouterShownAfterThreePollsAndCleared) {
  start();  // the start-up exchange never gets an answer
  core->Timer1Timer();
  core->Timer1Timer();
  EXPECT_EQ(view.status, "待機中");
  core->Timer1Timer();
  EXPECT_EQ(view.status, "ルーター応答なし");
  EXPECT_EQ(view.tip, "ルーター応答なし");
  core->Timer2Timer();  // no elapsed time over it
  EXPECT_EQ(view.status, "ルーター応答なし");
  // The first answer clears it.
  SocketId s = lastSocket();
  chainOf(s);
  core->AsyncSock1Receive(s, exchange({{"sh s", statusBlock()}}));
  EXPECT_EQ(view.status, "待機中");
  EXPECT_EQ(view.tip, "B1 空き / B2 空き");
  // A hung exchange: output arrived once, then silence.
  core->Timer1Timer();
  core->Timer1Timer();
  core->Timer1Timer();
  EXPECT_NE(view.status, "ルーター応答なし");
  core->Timer1Timer();
  EXPECT_EQ(view.status, "ルーター応答なし");
}

// When the router answers again the status line shows the state as it is
// now, not what it said before the silence (a dial long over, an elapsed
// time that has run on or whose call has ended).
struct SilenceCase {
  const char* what;
  bool connect;            // a call is connected before the silence
  bool endBefore;          // and ends before it, its end seen
  std::string afterwards;  // the router's status when it answers again
  std::string status;
};

void PrintTo(const SilenceCase& c, std::ostream* out) { *out << c.what; }

class StatusAfterSilence : public Reactions, public testing::WithParamInterface<SilenceCase> {};

TEST_P(StatusAfterSilence, ShowsTheCurrentState) {
  const SilenceCase& c = GetParam();
  startIdle();
  core->ConnectFromMenu(0);
  if (c.connect) {
    answer(lastSocket(), exchange({{"co 0", "プロバイダ0へ接続中．\n" + kConnected},
                                   {"sh s", statusBlock(connected("10.0.0.7"))}}));
    clock.advance(5000);
    core->Timer2Timer();
    ASSERT_EQ(view.status, "0分 5秒 ");
    if (c.endBefore) poll(statusBlock(), kDisconnected);
  } else {
    answer(lastSocket(), exchange({{"co 0", "プロバイダ0へ接続中．\n"}, {"sh s", statusBlock()}}));
    ASSERT_EQ(view.status.rfind("ダイアル開始", 0), 0u) << view.status;
  }
  const std::string before = view.status;
  // The polls go unanswered until the router counts as silent.
  for (int i = 0; i < 4; ++i) tick();
  ASSERT_EQ(view.status, "ルーター応答なし");
  clock.advance(5000);
  const SocketId s = lastSocket();
  chainOf(s);
  core->AsyncSock1Receive(s, exchange({{"sh s", c.afterwards}}));
  core->AsyncSock1Close(s);
  EXPECT_EQ(view.status, c.status) << "before the silence: " << before;
  if (timers.isActive(TimerId::Timer2)) core->Timer2Timer();
  EXPECT_EQ(view.status, c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Reactions, StatusAfterSilence,
    testing::Values(SilenceCase{"dial message, idle", false, false, statusBlock(), "待機中"},
                    SilenceCase{"after a call's end, idle", true, true, statusBlock(), "待機中"},
                    SilenceCase{"call still running", true, false, statusBlock(connected("10.0.0.7")), "0分 30秒 "},
                    SilenceCase{"call ended while silent", true, false, statusBlock(), "待機中"}));

// The log merge cases, end to end: the button loads the file, the router's
// history arrives, the file is written.
TEST_F(Reactions, ConnectionLogMergeAcrossFetches) {
  settings()->option.saveConnectionLog = true;
  startIdle();
  const std::string marker = toUtf8(logBreakMarker());
  auto fetch = [&](const Strings& history) {
    core->ReportButtonClick(ReportButton::ConnectionLog);
    std::string output;
    for (const std::string& h : history) output += h + "\n";
    EXPECT_EQ(chainOf(lastSocket()), "sh h");
    answer(lastSocket(), exchange({{"sh h", output}}));
    Strings lines;
    for (const std::string& l : splitLogLines(readFile("mn128soho.log"))) lines.push_back(toUtf8(l));
    return lines;
  };
  const std::string A = "12/01 10:00:00 B1 接続 0312345001", B = "12/01 11:00:00 B1 切断 0312345001",
                    C = "12/02 09:00:00 B1 接続 0312345001", D = "12/02 10:00:00 B1 切断 0312345001",
                    E = "12/03 09:00:00 B2 着信 0398765432", F = "12/03 09:30:00 B2 切断 0398765432";
  EXPECT_EQ(fetch({A, B}), (Strings{A, B}));
  EXPECT_EQ(view.status, "ログ書き出し完了");
  EXPECT_EQ(fetch({B, C, D}), (Strings{A, B, C, D}));
  EXPECT_EQ(fetch({}), (Strings{A, B, C, D}));
  // D has rolled off: the file and the history no longer overlap.
  EXPECT_EQ(fetch({E, F}), (Strings{A, B, C, D, marker}));
  EXPECT_EQ(fetch({E, F, A}), (Strings{A, B, C, D, marker, E, F, A}));
}

// A relative log name lies in the config folder, whatever the current
// folder; the log an earlier version wrote into the current folder is taken
// in at the first fetch.
TEST_F(Reactions, RelativeLogLiesInTheConfigFolderAndTakesInTheOldOne) {
  struct CurrentFolder {
    std::filesystem::path saved = std::filesystem::current_path();
    explicit CurrentFolder(const std::filesystem::path& to) { std::filesystem::current_path(to); }
    ~CurrentFolder() { std::filesystem::current_path(saved); }
  };
  const std::filesystem::path home = dir / "home";  // where a program started from a menu runs
  std::filesystem::create_directories(home);
  std::ofstream(home / "mn128soho.log", std::ios::binary) << toSjis("11/30 08:00:00 B1 接続\r\n");
  CurrentFolder cwd(home);
  settings()->option.saveConnectionLog = true;
  settings()->option.LOG = "mn128soho.log";
  startIdle();
  core->ReportButtonClick(ReportButton::ConnectionLog);
  answer(lastSocket(), exchange({{"sh h", "11/30 08:00:00 B1 接続\n12/01 11:00:00 B1 切断\n"}}));
  EXPECT_EQ(view.status, "ログ書き出し完了");
  EXPECT_EQ(toUtf8(readFile("mn128soho.log")), "11/30 08:00:00 B1 接続\r\n12/01 11:00:00 B1 切断\r\n");
  EXPECT_FALSE(std::filesystem::exists(home / "mn128soho.log"));
}

TEST_F(Reactions, AutomaticFetchesStayOutOfTheDetails) {
  settings()->option.saveConnectionLog = true;
  writeFile("mn128soho.log", toSjis("12/01 10:00:00 B1 接続\r\n"));
  startIdle();
  // The disconnection shows while its exchange is still open: the fetch
  // follows once it has ended, through the log-fetch timer.
  poll(statusBlock(), kDisconnected);
  EXPECT_TRUE(timers.isActive(TimerId::TIMEMAN));
  EXPECT_TRUE(timers.timers[TimerId::TIMEMAN].singleShot);
  EXPECT_EQ(timers.timers[TimerId::TIMEMAN].intervalMs, 2500);
  core->TIMEMANTimer();
  EXPECT_FALSE(timers.isActive(TimerId::TIMEMAN));
  EXPECT_EQ(chainOf(lastSocket()), "sh h");
  view.details.clear();
  answer(lastSocket(), exchange({{"sh h", "12/01 10:00:00 B1 接続\n12/01 11:00:00 B1 切断\n"}}));
  EXPECT_TRUE(view.details.empty());
  EXPECT_EQ(toUtf8(readFile("mn128soho.log")), "12/01 10:00:00 B1 接続\r\n12/01 11:00:00 B1 切断\r\n");
  // Connection and failure start the timer too.
  for (const std::string& event : {kConnected, std::string("接続に失敗しました\n")}) {
    poll(statusBlock(), event);
    EXPECT_TRUE(timers.isActive(TimerId::TIMEMAN)) << event;
    timers.stop(TimerId::TIMEMAN);
  }
}

// A log that cannot be written is told once when the streak begins and once
// when it ends, as the journal's failure is; what the failed fetches merged
// is kept, so the entries the router dropped from its history meanwhile
// reach the file once it can be written.
TEST_F(Reactions, ALogThatCannotBeWrittenIsToldOnceAndKeepsItsEntries) {
  writeFile("blocker", "");  // a file where the log's folder belongs
  const std::filesystem::path log = path("blocker") / "mn128soho.log";
  settings()->option.saveConnectionLog = true;
  settings()->option.LOG = log.string();
  startIdle();
  // The file as the program names it: with / between folders on Windows too.
  const std::string named = log.generic_string();
  const std::string failed =
      named + " に書き込めません（ディスクの空きと書き込み権限を確かめてください。書けるまで記録を保持します）";
  const std::string again = named + " に再び書き込めます";
  const std::string A = "12/01 10:00:00 B1 接続", B = "12/01 11:00:00 B1 切断", C = "12/02 09:00:00 B1 接続",
                    D = "12/02 10:00:00 B1 切断";
  auto fetch = [&](const Strings& history) {
    const std::size_t before = events.size();
    core->ReportButtonClick(ReportButton::ConnectionLog);
    std::string output;
    for (const std::string& h : history) output += h + "\n";
    answer(lastSocket(), exchange({{"sh h", output}}));
    return eventsSince(before, {"status " + failed, "status " + again, "status ログ", "notify log"});
  };
  EXPECT_EQ(fetch({A, B}), (Strings{"notify log-failed 接続ログ: " + failed, "status " + failed}));
  EXPECT_EQ(view.status, failed);
  EXPECT_TRUE(view.errors.empty());
  EXPECT_EQ(fetch({B, C}), Strings{});  // A has rolled off the router's history

  std::filesystem::remove(path("blocker"));
  EXPECT_EQ(fetch({C, D}),
            (Strings{"status ログ書き出し完了", "notify log-back 接続ログ: " + again, "status " + again}));
  Strings lines;
  for (const std::string& l : splitLogLines(readFile("blocker/mn128soho.log"))) lines.push_back(toUtf8(l));
  EXPECT_EQ(lines, (Strings{A, B, C, D}));
  EXPECT_EQ(fetch({D}), Strings{"status ログ書き出し完了"});
}

TEST_F(Reactions, LogOptionOffWritesNothing) {
  startIdle();
  core->ReportButtonClick(ReportButton::ConnectionLog);
  answer(lastSocket(), exchange({{"sh h", "12/01 10:00:00 B1\n"}}));
  EXPECT_FALSE(std::filesystem::exists(path("mn128soho.log")));
  EXPECT_TRUE(shownInDetails("12/01 10:00:00 B1"));
  poll(statusBlock(), kConnected);
  EXPECT_FALSE(timers.isActive(TimerId::TIMEMAN));
}

TEST_F(Reactions, UnreadableLogStopsTheFetchWithAMessage) {
  settings()->option.saveConnectionLog = true;
  std::filesystem::create_directories(path("mn128soho.log"));
  startIdle();
  std::size_t before = transport.opened.size();
  core->TIMEMANTimer();
  EXPECT_EQ(transport.opened.size(), before);
  EXPECT_EQ(view.errors.size(), 1u);
  // The echo is not left muted.
  core->ReportButtonClick(ReportButton::Charges);
  answer(lastSocket(), exchange({{"show ch", "charge 120\n"}}));
  EXPECT_TRUE(shownInDetails("charge 120"));
}

TEST_F(Reactions, ReportButtonsSendTheirCommandOnlyWhenIdle) {
  startIdle();
  struct Case {
    ReportButton button;
    std::string chain;
  } cases[] = {{ReportButton::Charges, "show ch"},     {ReportButton::Ppp, "show ppp"},
               {ReportButton::Analog, "show history"}, {ReportButton::Mail, "show mail"},
               {ReportButton::PhsMail, "show pmail"},  {ReportButton::ConnectionLog, "sh h"}};
  for (const Case& c : cases) {
    core->ReportButtonClick(c.button);
    EXPECT_EQ(chainOf(lastSocket()), c.chain);
    std::size_t before = transport.opened.size();
    core->ReportButtonClick(c.button);  // an exchange is running
    EXPECT_EQ(transport.opened.size(), before);
    view.details.clear();
    answer(lastSocket(), exchange({{c.chain, "アナログ 1\nother 2\n"}}));
    EXPECT_TRUE(shownInDetails("アナログ 1"));
    EXPECT_EQ(shownInDetails("other 2"), c.button != ReportButton::Analog);
  }
}

TEST_F(Reactions, RouterPagesFollowTheBanner) {
  start();
  Strings paths;
  for (int page = 1; page <= 11; ++page) paths.push_back(core->routerPageAddress(page));
  EXPECT_EQ(paths, (Strings{"http://192.168.0.1/disconnect", "http://192.168.0.1/config-rlist",
                            "http://192.168.0.1/config-body", "http://192.168.0.1/config-ip",
                            "http://192.168.0.1/config-isdn", "http://192.168.0.1/config-analog",
                            "http://192.168.0.1/erase-config", "http://192.168.0.1/show-config",
                            "http://192.168.0.1/show-ip-route", "http://192.168.0.1/show-history",
                            "http://192.168.0.1/show-charge"}));
  EXPECT_EQ(core->routerPageAddress(0), "");
  EXPECT_EQ(core->routerPageAddress(12), "");
  answer(lastSocket(), exchange({{"sh ver", "# MN128-SOHO-S Ver 1.00\n"}}));
  EXPECT_EQ(core->routerPageBase(), 100);
  settings()->tarvik.SOHOIP = "router.lan";  // edited in the dialog: used at once
  core->ExecWWW(3);
  core->ExecWWW(6);
  core->ExecWWW(99);
  EXPECT_EQ(browser.opened,
            (Strings{"http://router.lan/config-sys.cgi", "http://router.lan/config-analog-port.cgi"}));
}

}  // namespace
}  // namespace tarvik::coretest
